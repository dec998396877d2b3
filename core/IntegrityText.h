// The configuration texts that the integrity check covers, shared by the program's start-up
// check and the sealing tool so that both join the same values in the same order.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace checksum {

constexpr size_t kTextValueCount = 7;

// The keys of the application section whose values are joined, in joining order.
inline constexpr const char16_t* kTextKeys[kTextValueCount] = {
    u"Version", u"Help", u"Update", u"Copyright", u"SWText", u"Software", u"AboutText"};
// The same names for the platform's wide-character profile functions.
inline constexpr const wchar_t* kTextKeysW[kTextValueCount] = {
    L"Version", L"Help", L"Update", L"Copyright", L"SWText", L"Software", L"AboutText"};

// The values joined without separators; each value is taken as given (the profile reader has
// already cut it to 259 units).
std::u16string JoinTextValues(const std::u16string_view (&values)[kTextValueCount]);

// The checksum over the whole joined text, never cut to a fixed buffer, so no edit goes unseen.
uint32_t ComputeTextValuesChecksum(const std::u16string_view (&values)[kTextValueCount]);
#ifdef _WIN32
// The same for values read with the wide-character profile functions.
uint32_t ComputeTextValuesChecksum(const std::wstring_view (&values)[kTextValueCount]);
#endif

}  // namespace checksum
