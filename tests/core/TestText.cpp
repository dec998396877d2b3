#include "tests/core/TestText.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace doctest {

String StringMaker<std::u16string>::convert(const std::u16string& text) {
    std::string shown = "u\"";
    for (char16_t unit : text) {
        if (unit >= 0x20 && unit < 0x7F && unit != u'\\' && unit != u'"') {
            shown += char(unit);
        } else {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\u%04x", unsigned(unit));
            shown += escape;
        }
    }
    shown += '"';
    return String(shown.c_str());
}

String StringMaker<std::optional<std::u16string>>::convert(const std::optional<std::u16string>& text) {
    return text ? StringMaker<std::u16string>::convert(*text) : String("nullopt");
}

}  // namespace doctest

namespace testing {

TempFolder::TempFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "telvarion-test-XXXXXX").string();
    if (!mkdtemp(pattern.data())) throw std::runtime_error("cannot create a temporary folder");
    path_ = pattern;
}

TempFolder::~TempFolder() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
}

void WriteFile(const std::filesystem::path& path, std::string_view bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), std::streamsize(bytes.size()));
    if (!out) throw std::runtime_error("cannot write " + path.string());
}

std::string ReadFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw std::runtime_error("cannot read " + path.string());
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string Utf16LeFile(std::u16string_view text) {
    std::string bytes = "\xFF\xFE";
    for (char16_t unit : text) {
        bytes += char(unit & 0xFF);
        bytes += char(unit >> 8);
    }
    return bytes;
}

}  // namespace testing
