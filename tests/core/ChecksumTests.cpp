#include <doctest/doctest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "core/Checksum.h"
#include "core/IntegrityText.h"
#include "tests/core/TestText.h"

using checksum::kInitialValue;

TEST_CASE("the file checksum takes complete little-endian words only") {
    struct {
        std::vector<unsigned char> bytes;
        uint32_t expected;
    } const cases[] = {
        {{}, kInitialValue},
        {{0x01}, kInitialValue},
        {{0x01, 0x02, 0x03}, kInitialValue},
        {{0x01, 0x02, 0x03, 0x04}, kInitialValue ^ 0x04030201},
        {{0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07}, kInitialValue ^ 0x04030201},
        {{0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07, 0x08, 0x09, 0x0A}, kInitialValue ^ 0x04030201 ^ 0x08070605},
        // Bytes 8 and 9 of a 10-byte file are no word: changing them changes nothing.
        {{0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07, 0x08, 0xEE, 0xFF}, kInitialValue ^ 0x04030201 ^ 0x08070605},
        {{0xC9, 0x27, 0x1B, 0x6E}, 0},
    };
    for (const auto& c : cases) {
        INFO(c.bytes.size(), " bytes");
        CHECK(checksum::ComputeFileChecksum(c.bytes.data(), c.bytes.size()) == c.expected);
    }
}

TEST_CASE("the text checksum takes units 4k and 4k+1 of every group of four that more units follow") {
    CHECK(checksum::ComputeTextChecksum(u"", 0) == kInitialValue);
    CHECK(checksum::ComputeTextChecksum(u"ABCD", 4) == kInitialValue);
    CHECK(checksum::ComputeTextChecksum(u"ABCDE", 5) == (kInitialValue ^ (0x42u << 16 | 0x41u)));
    // 13 units: the words of units 0-1, 4-5 and 8-9.
    const char16_t* thirteen = u"\u0001\u0002xx\u0010\u0020xx\u0100\u0200xxx";
    CHECK(checksum::ComputeTextChecksum(thirteen, 13) == (kInitialValue ^ 0x00020001 ^ 0x00200010 ^ 0x02000100));

    for (size_t length = 1; length <= 16; ++length) {
        const std::u16string text(length, u'a');
        const uint32_t original = checksum::ComputeTextChecksum(text.data(), length);
        for (size_t at = 0; at < length; ++at) {
            std::u16string changed = text;
            changed[at] = u'b';
            // A group's word counts only when some unit follows the group's four.
            const bool counts = at % 4 < 2 && at - at % 4 + 4 < length;
            INFO("length ", length, ", unit ", at);
            CHECK((checksum::ComputeTextChecksum(changed.data(), length) != original) == counts);
        }
    }
}

namespace {
using Values = std::u16string_view[checksum::kTextValueCount];
}

TEST_CASE("the seven values join in the given order without separators") {
    const Values values = {u"1", u"23", u"", u"4", u"56", u"7", u"89"};
    CHECK(checksum::JoinTextValues(values) == u"123456789");
}

TEST_CASE("the text checksum of the values depends on the joined text only") {
    const Values empty = {};
    CHECK(checksum::ComputeTextValuesChecksum(empty) == kInitialValue);

    const Values values = {u"3.0.1", u"http://help", u"http://update", u"(c) Maker", u"Title", u"Prod", u"About"};
    const Values moved = {u"3.0.1h", u"ttp://help", u"", u"http://update(c) M", u"akerTitleP", u"rod", u"About"};
    const uint32_t sum = checksum::ComputeTextValuesChecksum(values);
    CHECK(sum == checksum::ComputeTextValuesChecksum(moved));
    const std::u16string joined = u"3.0.1http://helphttp://update(c) MakerTitleProdAbout";
    CHECK(sum == checksum::ComputeTextChecksum(joined.data(), joined.size()));
}

TEST_CASE("a joined text longer than 1023 units is checksummed whole") {
    const std::u16string longest(259, u'x');
    std::u16string edited = longest;
    edited[232] = u'y';  // unit 1268 of the joined text: 4 * 317, a counted unit beyond 1023
    const Values values = {longest, longest, longest, longest, longest, longest, longest};
    const Values changed = {longest, longest, longest, longest, edited, longest, longest};
    CHECK(checksum::ComputeTextValuesChecksum(values) != checksum::ComputeTextValuesChecksum(changed));
}
