#include "tools/seal/IniText.h"

#include <cstdint>
#include <vector>

namespace seal {
namespace {

// Windows-1252 for the bytes 0x80 to 0x9F. The five bytes the code page leaves undefined map to
// the control character of the same number, as Windows maps them, so every byte round-trips.
constexpr char16_t kCp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

// The profile reader also drops Ctrl-Z, a leftover end-of-file mark of old editors.
bool IsBlank(char16_t c) { return c == u' ' || (c >= 0x09 && c <= 0x0D) || c == 0x1A; }

bool IsBreak(char16_t c) { return c == u'\r' || c == u'\n'; }

// Only ASCII letters fold: the profile reader of Wine folds no others, that of Windows folds more,
// and ASCII names are the ones both read alike.
char16_t AsciiUpper(char16_t c) { return c >= u'a' && c <= u'z' ? char16_t(c - 0x20) : c; }

bool SameName(std::u16string_view a, std::u16string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (AsciiUpper(a[i]) != AsciiUpper(b[i])) return false;
    return true;
}

struct Line {
    enum class Kind { Blank, Section, Entry };
    Kind kind = Kind::Blank;
    size_t begin = 0, end = 0;  // the content, without the line break
    size_t next = 0;            // where the next line starts
    std::u16string_view name;   // the section name or the key, trimmed
    size_t nameEnd = 0;
    bool hasValue = false;  // an entry with '='
    size_t valueBegin = 0, valueEnd = 0;  // trimmed, quotes still on
};

// Trims [begin, end) of `text` in place.
void Trim(std::u16string_view text, size_t& begin, size_t& end) {
    while (begin < end && IsBlank(text[begin])) ++begin;
    while (end > begin && IsBlank(text[end - 1])) --end;
}

Line ParseLine(std::u16string_view text, size_t begin, size_t end) {
    Line line;
    line.begin = begin;
    line.end = end;
    size_t b = begin, e = end;
    Trim(text, b, e);
    if (b == e) return line;

    if (text[b] == u'[') {
        // The name runs to the line's last ']'; anything after it is ignored.
        size_t close = text.substr(0, e).rfind(u']');
        if (close != std::u16string_view::npos && close > b) {
            size_t nb = b + 1, ne = close;
            Trim(text, nb, ne);
            line.kind = Line::Kind::Section;
            line.name = text.substr(nb, ne - nb);
            return line;
        }
    }

    line.kind = Line::Kind::Entry;
    size_t equals = text.substr(0, e).find(u'=', b);
    size_t kb = b, ke = equals == std::u16string_view::npos ? e : equals;
    Trim(text, kb, ke);
    line.name = text.substr(kb, ke - kb);
    line.nameEnd = ke;
    if (equals != std::u16string_view::npos) {
        size_t vb = equals + 1, ve = e;
        Trim(text, vb, ve);
        line.hasValue = true;
        line.valueBegin = vb;
        line.valueEnd = ve;
    }
    return line;
}

// Lines end at "\r\n", "\r" or "\n", as the profile reader splits them.
std::vector<Line> SplitLines(std::u16string_view text) {
    std::vector<Line> lines;
    size_t pos = 0;
    while (pos < text.size()) {
        size_t end = pos;
        while (end < text.size() && !IsBreak(text[end])) ++end;
        size_t next = end;
        if (next < text.size()) {
            const bool crlf = text[next] == u'\r' && next + 1 < text.size() && text[next + 1] == u'\n';
            next += crlf ? 2 : 1;
        }
        Line line = ParseLine(text, pos, end);
        line.next = next;
        lines.push_back(line);
        pos = next;
    }
    return lines;
}

constexpr size_t kNone = size_t(-1);

// The index of the section's header line, or kNone.
size_t FindSection(const std::vector<Line>& lines, std::u16string_view section) {
    for (size_t i = 0; i < lines.size(); ++i)
        if (lines[i].kind == Line::Kind::Section && SameName(lines[i].name, section)) return i;
    return kNone;
}

// The index of the line after the section's last line.
size_t SectionEnd(const std::vector<Line>& lines, size_t header) {
    size_t i = header + 1;
    while (i < lines.size() && lines[i].kind != Line::Kind::Section) ++i;
    return i;
}

size_t FindKey(const std::vector<Line>& lines, size_t header, std::u16string_view key) {
    for (size_t i = header + 1, end = SectionEnd(lines, header); i < end; ++i)
        if (lines[i].kind == Line::Kind::Entry && SameName(lines[i].name, key)) return i;
    return kNone;
}

std::u16string LineBreakOf(std::u16string_view text) {
    size_t at = text.find_first_of(u"\r\n");
    if (at == std::u16string_view::npos) return u"\r\n";
    if (text[at] == u'\n') return u"\n";
    return at + 1 < text.size() && text[at + 1] == u'\n' ? u"\r\n" : u"\r";
}

}  // namespace

std::optional<IniFile> DecodeIni(std::string_view bytes, std::string& error) {
    auto startsWith = [&](std::string_view mark) { return bytes.substr(0, mark.size()) == mark; };
    IniFile file;
    if (startsWith("\xFF\xFE")) {
        if (bytes.size() % 2 != 0) {
            error = "UTF-16 text with an odd number of bytes";
            return std::nullopt;
        }
        file.encoding = IniEncoding::Utf16Le;
        for (size_t i = 2; i < bytes.size(); i += 2)
            file.text += char16_t(uint8_t(bytes[i]) | uint8_t(bytes[i + 1]) << 8);
        return file;
    }
    if (startsWith("\xEF\xBB\xBF")) {
        error = "UTF-8 byte-order mark, which the profile functions of Windows read as ANSI text; "
                "save the file as ANSI or as UTF-16 LE with its byte-order mark";
        return std::nullopt;
    }
    if (startsWith("\xFE\xFF")) {
        error = "big-endian UTF-16; save the file as UTF-16 LE with its byte-order mark";
        return std::nullopt;
    }
    if (bytes.find('\0') != std::string_view::npos) {
        error = "NUL bytes in ANSI text (UTF-16 without its byte-order mark?)";
        return std::nullopt;
    }
    file.encoding = IniEncoding::Ansi;
    for (char byte : bytes) {
        uint8_t b = uint8_t(byte);
        file.text += b >= 0x80 && b < 0xA0 ? kCp1252High[b - 0x80] : char16_t(b);
    }
    return file;
}

std::optional<std::string> EncodeIni(const IniFile& file) {
    std::string bytes;
    if (file.encoding == IniEncoding::Utf16Le) {
        bytes = "\xFF\xFE";
        for (char16_t unit : file.text) {
            bytes += char(unit & 0xFF);
            bytes += char(unit >> 8);
        }
        return bytes;
    }
    for (char16_t unit : file.text) {
        if (unit < 0x80 || (unit >= 0xA0 && unit <= 0xFF)) {
            bytes += char(unit);
            continue;
        }
        size_t i = 0;
        while (i < 32 && kCp1252High[i] != unit) ++i;
        if (i == 32) return std::nullopt;
        bytes += char(0x80 + i);
    }
    return bytes;
}

std::optional<ProfileValue> GetProfileValue(std::u16string_view text, std::u16string_view section,
                                            std::u16string_view key) {
    const std::vector<Line> lines = SplitLines(text);
    size_t header = FindSection(lines, section);
    if (header == kNone) return std::nullopt;
    size_t at = FindKey(lines, header, key);
    if (at == kNone || !lines[at].hasValue) return std::nullopt;

    std::u16string_view value = text.substr(lines[at].valueBegin, lines[at].valueEnd - lines[at].valueBegin);
    if (value.size() >= 2 && (value.front() == u'"' || value.front() == u'\'') && value.back() == value.front())
        value = value.substr(1, value.size() - 2);
    ProfileValue result;
    result.truncated = value.size() > kProfileValueMax;
    result.text = value.substr(0, kProfileValueMax);
    return result;
}

void SetProfileValue(std::u16string& text, std::u16string_view section, std::u16string_view key,
                     std::u16string_view value) {
    const std::vector<Line> lines = SplitLines(text);
    const std::u16string lineBreak = LineBreakOf(text);
    std::u16string entry = std::u16string(key) + u'=' + std::u16string(value);

    size_t header = FindSection(lines, section);
    if (header == kNone) {
        if (!text.empty() && !IsBreak(text.back())) text += lineBreak;
        text += u'[' + std::u16string(section) + u']' + lineBreak + entry + lineBreak;
        return;
    }
    size_t at = FindKey(lines, header, key);
    if (at != kNone) {
        const Line& line = lines[at];
        if (line.hasValue)
            text.replace(line.valueBegin, line.valueEnd - line.valueBegin, value);
        else
            text.insert(line.nameEnd, u'=' + std::u16string(value));
        return;
    }
    size_t last = header;
    for (size_t i = header + 1, end = SectionEnd(lines, header); i < end; ++i)
        if (lines[i].kind != Line::Kind::Blank) last = i;
    if (lines[last].next == lines[last].end)  // the file's last line, without a break
        text.insert(lines[last].end, lineBreak + entry);
    else
        text.insert(lines[last].next, entry + lineBreak);
}

}  // namespace seal
