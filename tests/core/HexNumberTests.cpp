#include <doctest/doctest.h>

#include <cstdint>
#include <string>

#include "core/HexNumber.h"

// The expected values are those of the Windows runtime's wcstoul with base 16, which the
// configuration's checksum keys have always been read with.
TEST_CASE("ParseHex32 reads text as the Windows runtime's wcstoul with base 16") {
    struct {
        const char16_t* text;
        uint32_t expected;
    } const cases[] = {
        {u"0x1A2b", 0x1A2B},
        {u"1a2b", 0x1A2B},
        {u"  +ff", 0xFF},
        {u"\t\n\v\f\r 7", 7},
        {u"-1", 0xFFFFFFFF},
        {u"-0x10", 0xFFFFFFF0},
        {u"-FFFFFFFF", 1},
        {u"0x", 0},
        {u"0X0x5", 0},  // the second "0x" is no prefix: the number is the first 0
        {u"xyz", 0},
        {u"", 0},
        {u"- 1", 0},
        {u"+-1", 0},
        {u"FFFFFFFF", 0xFFFFFFFF},
        {u"000000000000000abc", 0xABC},  // leading zeros are no overflow
        {u"100000000", 0xFFFFFFFF},
        {u"ffffffffffff", 0xFFFFFFFF},
        {u"-100000000", 1},  // the runtime clamps the magnitude first, then negates it
        {u"12g4", 0x12},
        {u"1a2b\u00003", 0x1A2B},
        // Unicode blanks and decimal digits count as the runtime's own tables say.
        {u"\u00a0\u30005", 5},
        {u"\uff11\uff10", 0x10},
        {u"\u0660x1f", 0x1F},
        {u"\uff21", 0},  // a full-width letter is no hexadecimal digit
    };
    for (const auto& c : cases) {
        CHECK_MESSAGE(ParseHex32(c.text) == c.expected, "case index ", &c - cases);
    }
}

TEST_CASE("ParseHex32 reads the platform's wide strings and null alike") {
    CHECK(ParseHex32(L"  0x1A2b") == 0x1A2B);
    CHECK(ParseHex32(L"-1") == 0xFFFFFFFF);
    CHECK(ParseHex32(static_cast<const char16_t*>(nullptr)) == 0);
    CHECK(ParseHex32(static_cast<const wchar_t*>(nullptr)) == 0);
}
