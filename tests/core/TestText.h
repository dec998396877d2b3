// Shared helpers of the native tests: readable UTF-16 in failure messages and small files.
#pragma once
#include <doctest/doctest.h>

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace doctest {
// UTF-16 text shown as ASCII with \uXXXX escapes, so that a failed comparison says what differs.
template <>
struct StringMaker<std::u16string> {
    static String convert(const std::u16string& text);
};
template <>
struct StringMaker<std::optional<std::u16string>> {
    static String convert(const std::optional<std::u16string>& text);
};
}  // namespace doctest

namespace testing {

// A fresh folder under the system's temporary directory, removed with everything in it.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
};

void WriteFile(const std::filesystem::path& path, std::string_view bytes);
std::string ReadFile(const std::filesystem::path& path);
// "FF FE" and the units, little-endian.
std::string Utf16LeFile(std::u16string_view text);

}  // namespace testing
