#include <doctest/doctest.h>

#include <optional>
#include <string>

#include "tests/core/TestText.h"
#include "tools/seal/IniText.h"

using seal::GetProfileValue;

namespace {

std::optional<std::u16string> Read(std::u16string_view text, std::u16string_view section, std::u16string_view key) {
    std::optional<seal::ProfileValue> value = GetProfileValue(text, section, key);
    return value ? std::optional<std::u16string>(value->text) : std::nullopt;
}

}  // namespace

// The expected values are what GetPrivateProfileStringW returns for the same file.
TEST_CASE("values are found the way the profile reader finds them") {
    const std::u16string file =
        u"top=outside any section\r\n"
        u" [ Sec One ] trailing text\r\n"
        u"  Key A  =   value a  \r\n"
        u"q1=\"quoted\"\r\n"
        u"q2=\"unbalanced\r\n"
        u"q3='single'\r\n"
        u"q4=\"mixed'\r\n"
        u"q5=\"\r\n"
        u"q6=\"\"\r\n"
        u"q7= \" spaced \" \r\n"
        u"tabs\t=\tv\t\u001a\r\n"
        u"a=b=c\r\n"
        u"noeq\r\n"
        u"noeq=shadowed by the line before\r\n"
        u"dup=first\r\n"
        u"DUP=second\r\n"
        u"[sec one]\r\n"
        u"later=in a repeated section\r\n"
        u"[a]b]\r\n"
        u"k=ab\r\n"
        u";c=no comment\r\n"
        u"[Three\r\n";
    struct {
        const char16_t* section;
        const char16_t* key;
        std::optional<std::u16string> expected;
    } const cases[] = {
        {u"Sec One", u"key a", u"value a"},
        {u"SEC ONE", u"Q1", u"quoted"},
        {u"Sec One", u"q2", u"\"unbalanced"},
        {u"Sec One", u"q3", u"single"},
        {u"Sec One", u"q4", u"\"mixed'"},
        {u"Sec One", u"q5", u"\""},
        {u"Sec One", u"q6", u""},
        {u"Sec One", u"q7", u" spaced "},
        {u"Sec One", u"tabs", u"v"},
        {u"Sec One", u"a", u"b=c"},
        {u"Sec One", u"noeq", std::nullopt},
        {u"Sec One", u"dup", u"first"},
        {u"Sec One", u"top", std::nullopt},
        {u"Sec One", u"later", std::nullopt},
        {u"a]b", u"k", u"ab"},
        {u"a]b", u";c", u"no comment"},
        {u"a]b", u"[Three", std::nullopt},
        {u"Three", u"k", std::nullopt},
        {u"Missing", u"k", std::nullopt},
    };
    for (const auto& c : cases) {
        INFO("[", std::u16string(c.section), "] ", std::u16string(c.key));
        CHECK(Read(file, c.section, c.key) == c.expected);
    }
}

TEST_CASE("lines end at CR LF, CR or LF alike") {
    for (const char16_t* file : {u"[A]\r\nk=v\r\n[B]\r\nk=w", u"[A]\rk=v\r[B]\rk=w\r", u"[A]\nk=v\n\n[B]\nk=w\n"}) {
        INFO(std::u16string(file));
        CHECK(Read(file, u"A", u"k") == u"v");
        CHECK(Read(file, u"B", u"k") == u"w");
    }
}

TEST_CASE("a value yields at most 259 units, counted after its quotes are gone") {
    const std::u16string exact(259, u'e'), longer(300, u'l');
    const std::u16string file =
        u"[S]\r\nexact=" + exact + u"\r\nlonger=" + longer + u"\r\nquoted=\"" + longer + u"\"\r\n";
    struct {
        const char16_t* key;
        bool truncated;
        char16_t fill;
    } const cases[] = {{u"exact", false, u'e'}, {u"longer", true, u'l'}, {u"quoted", true, u'l'}};
    for (const auto& c : cases) {
        INFO(std::u16string(c.key));
        std::optional<seal::ProfileValue> value = GetProfileValue(file, u"S", c.key);
        REQUIRE(value);
        CHECK(value->truncated == c.truncated);
        CHECK(value->text == std::u16string(259, c.fill));
    }
}

TEST_CASE("ANSI files read as Windows-1252 and write back byte for byte") {
    std::string error;
    std::optional<seal::IniFile> ini = seal::DecodeIni("[S]\r\nk=\x80\x81\x9F\xE9", error);
    REQUIRE(ini);
    CHECK(ini->encoding == seal::IniEncoding::Ansi);
    CHECK(Read(ini->text, u"S", u"k") == u"\u20ac\u0081\u0178\u00e9");

    std::string everyByte;
    for (int b = 1; b < 256; ++b) everyByte += char(b);
    ini = seal::DecodeIni(everyByte, error);
    REQUIRE(ini);
    CHECK(seal::EncodeIni(*ini) == everyByte);

    ini->text += u'\u4e2d';
    CHECK_FALSE(seal::EncodeIni(*ini));
}

TEST_CASE("UTF-16 LE files with their byte-order mark read and write back unchanged") {
    const std::u16string text = u"[S]\r\nk=\u4e2d\u00e9\r\n";
    const std::string bytes = testing::Utf16LeFile(text);
    std::string error;
    std::optional<seal::IniFile> ini = seal::DecodeIni(bytes, error);
    REQUIRE(ini);
    CHECK(ini->encoding == seal::IniEncoding::Utf16Le);
    CHECK(ini->text == text);
    CHECK(Read(ini->text, u"s", u"K") == u"\u4e2d\u00e9");
    CHECK(seal::EncodeIni(*ini) == bytes);
}

TEST_CASE("encodings that Windows systems do not all read alike are refused") {
    const std::string cases[] = {
        "\xEF\xBB\xBF[S]\r\nk=v\r\n",                // UTF-8 with its mark
        std::string("\xFE\xFF\0[\0S\0]", 8),        // big-endian UTF-16
        std::string("[\0S\0]\0", 6),                 // UTF-16 without its mark
        std::string("\xFF\xFE[\0S\0]", 7),           // an odd byte count
    };
    for (const std::string& bytes : cases) {
        std::string error;
        CHECK_FALSE(seal::DecodeIni(bytes, error));
        CHECK_FALSE(error.empty());
    }
}

TEST_CASE("setting a value touches only what the reader will find") {
    struct {
        const char16_t* before;
        const char16_t* after;
    } const cases[] = {
        // The first key of the name keeps its spelling and its blanks; only the value changes.
        {u"[S]\r\na=1\r\nCheckOut = \"0x12\"  \r\nz=2\r\ncheckout=9\r\n",
         u"[S]\r\na=1\r\nCheckOut = 1a2b  \r\nz=2\r\ncheckout=9\r\n"},
        {u"[S]\r\ncheckout=\r\n", u"[S]\r\ncheckout=1a2b\r\n"},
        {u"[S]\r\n checkout \r\n", u"[S]\r\n checkout=1a2b \r\n"},
        // A new key follows the section's last line, before the blank lines that part sections.
        {u"[T]\r\nx=1\r\n[S]\r\na=1\r\n\r\n[T2]\r\n", u"[T]\r\nx=1\r\n[S]\r\na=1\r\ncheckout=1a2b\r\n\r\n[T2]\r\n"},
        {u"[S]", u"[S]\r\ncheckout=1a2b"},
        {u"[S]\ra=1\r", u"[S]\ra=1\rcheckout=1a2b\r"},
        // A repeated section is never read, so its key does not count.
        {u"[S]\r\na=1\r\n[s]\r\ncheckout=5\r\n", u"[S]\r\na=1\r\ncheckout=1a2b\r\n[s]\r\ncheckout=5\r\n"},
        // A missing section goes at the end, in the file's own line breaks.
        {u"[T]\nx=1", u"[T]\nx=1\n[S]\ncheckout=1a2b\n"},
        {u"", u"[S]\r\ncheckout=1a2b\r\n"},
    };
    for (const auto& c : cases) {
        std::u16string text = c.before;
        INFO(std::u16string(c.before));
        seal::SetProfileValue(text, u"S", u"checkout", u"1a2b");
        CHECK(text == c.after);
        CHECK(Read(text, u"S", u"checkout") == u"1a2b");
    }
}
