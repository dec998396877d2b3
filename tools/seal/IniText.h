// Custom.ini as the program's profile reader sees it: the file's bytes decoded to UTF-16 code
// units, values looked up the way GetPrivateProfileStringW finds them, and the two checksum
// keys written back without disturbing any other byte of the file.
#pragma once
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace seal {

// The program reads every value into a buffer of 260 units, terminator included.
constexpr size_t kProfileValueMax = 259;

enum class IniEncoding {
    // No byte-order mark: one byte per unit through the Windows-1252 table, the code page of
    // the systems the product targets. Other code pages would read non-ASCII bytes differently.
    Ansi,
    // "FF FE" followed by little-endian units.
    Utf16Le,
};

struct IniFile {
    IniEncoding encoding = IniEncoding::Ansi;
    std::u16string text;  // without the byte-order mark
};

// Fails, with the reason in `error`, for encodings the profile reader does not read the same way
// on every system: a UTF-8 or big-endian byte-order mark, NUL bytes in an ANSI file (UTF-16
// without its mark), an odd count of UTF-16 bytes.
std::optional<IniFile> DecodeIni(std::string_view bytes, std::string& error);

// The file's bytes again. Every unit that DecodeIni produced, and any ASCII, maps back to the
// byte it came from; nullopt for a unit that ANSI cannot hold.
std::optional<std::string> EncodeIni(const IniFile& file);

struct ProfileValue {
    std::u16string text;     // what a 260-unit buffer receives
    bool truncated = false;  // the file's value was longer than kProfileValueMax
};

// The value of `key` in `section`, or nullopt where the profile reader falls back to its default:
// no such section, no such key, or a key line without '='. Names match ignoring the case of
// ASCII letters; the first section and the first key of a name win; blanks around names and
// values are dropped, then one pair of matching quotes around the value.
std::optional<ProfileValue> GetProfileValue(std::u16string_view text, std::u16string_view section,
                                            std::u16string_view key);

// Makes GetProfileValue(section, key) yield `value`: replaces the value of the key line that the
// reader finds, or adds "key=value" after the section's last non-blank line, or adds the section
// at the end of the text. New lines use the text's first line break ("\r\n" when it has none).
// `value` must survive the reader unchanged: no surrounding blanks or quotes, no line break.
void SetProfileValue(std::u16string& text, std::u16string_view section, std::u16string_view key,
                     std::u16string_view value);

}  // namespace seal
