#include "core/IntegrityText.h"

#include "core/Checksum.h"

namespace checksum {
namespace {

constexpr bool SameName(const char16_t* a, const wchar_t* b) {
    for (; *a || *b; ++a, ++b)
        if (char32_t(*a) != char32_t(*b)) return false;
    return true;
}

constexpr bool SameKeys() {
    for (size_t i = 0; i < kTextValueCount; ++i)
        if (!SameName(kTextKeys[i], kTextKeysW[i])) return false;
    return true;
}
static_assert(SameKeys(), "the two spellings of the checksummed keys must agree");

}  // namespace

std::u16string JoinTextValues(const std::u16string_view (&values)[kTextValueCount]) {
    std::u16string joined;
    for (std::u16string_view value : values) joined += value;
    return joined;
}

uint32_t ComputeTextValuesChecksum(const std::u16string_view (&values)[kTextValueCount]) {
    const std::u16string joined = JoinTextValues(values);
    return ComputeTextChecksum(joined.data(), joined.size());
}

#ifdef _WIN32
uint32_t ComputeTextValuesChecksum(const std::wstring_view (&values)[kTextValueCount]) {
    std::u16string joined;
    for (std::wstring_view value : values) joined.append(value.begin(), value.end());
    return ComputeTextChecksum(joined.data(), joined.size());
}
#endif

}  // namespace checksum
