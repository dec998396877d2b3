// The start-up integrity check over small installations laid beside the test executable. The
// expected checksums are computed here from the fixture's own bytes and texts with the core
// checksum functions, so a fault in how the check reads or joins its input shows up.
#include <doctest/doctest.h>
#include "app/Configuration.h"
#include "app/IntegrityCheck.h"
#include "core/Checksum.h"
#include "diag/DebugTrace.h"
#include "tests/inproc/ProgramTree.h"
#include "tests/inproc/SeamRecorder.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

namespace {
const wchar_t kFileError[] = L"File error, please reinstall!";
const size_t kKeyCount = 7;
const char* const kKeys[kKeyCount] = {"Version", "Help", "Update", "Copyright", "SWText", "Software", "AboutText"};

using Texts = std::vector<std::string>;  // the seven values, in joining order

// Small values of uneven lengths, so that value boundaries fall at different remainders
// modulo 4. Joined they are 53 units long.
Texts SampleTexts() {
    return {"3.0.1", "help.htm", "update.htm", "(c) 2026", "Panel", "Telvarion", "About it"};
}

std::string Hex(uint32_t value) {
    char text[16];
    std::snprintf(text, sizeof text, "%x", unsigned(value));
    return text;
}

// Only the first 307200 bytes of the picture are read.
uint32_t PictureSum(const std::string& bytes) {
    const size_t read = std::min<size_t>(bytes.size(), 307200);
    return checksum::ComputeFileChecksum(reinterpret_cast<const unsigned char*>(bytes.data()), read);
}

uint32_t TextSum(const Texts& texts) {
    std::u16string joined;
    for (const std::string& value : texts) joined.append(value.begin(), value.end());
    return checksum::ComputeTextChecksum(joined.data(), joined.size());
}

// Changes the unit at `position` of the joined text, inside whichever value holds it.
Texts ChangeJoinedUnit(Texts texts, size_t position) {
    for (std::string& value : texts) {
        if (position < value.size()) {
            value[position] = value[position] == 'Z' ? 'Y' : 'Z';
            return texts;
        }
        position -= value.size();
    }
    FAIL("position beyond the joined text");
    return texts;
}

std::string Picture(size_t size) {
    std::string bytes(size, '\0');
    for (size_t i = 0; i < size; ++i) bytes[i] = char(i * 7 + 3);
    return bytes;
}

std::string ChangeByte(std::string bytes, size_t at) {
    bytes[at] = char(bytes[at] ^ 0x5A);
    return bytes;
}

using Key = std::optional<std::string>;  // a checksum key's value; nullopt leaves the key out

// Writes Resource\Custom.ini and Resource\bk.bmp beside the test executable and prepares the
// configuration as start-up does.
void Lay(const ProgramTree& tree, const std::string& picture, const Texts& texts, const Key& checkout,
         const Key& serial) {
    std::string ini = "[SoftInfo]\r\nSoftware=Telvarion\r\nVersion=3.0.1\r\n"
                      "[Company]\r\nCompany=Telvarion\r\n[Telvarion]\r\n";
    for (size_t i = 0; i < kKeyCount; ++i) ini += std::string(kKeys[i]) + "=" + texts[i] + "\r\n";
    if (checkout) ini += "checkout=" + *checkout + "\r\n";
    if (serial) ini += "SerialNO=" + *serial + "\r\n";
    tree.WriteInstallIni(ini);
    REQUIRE(WriteBinaryFile(tree.Dir() + L"\\Resource\\bk.bmp", picture.data(), picture.size()));
    PrepareConfiguration();
}

// A picture and texts as sealed, then possibly changed on disk.
void LaySealed(const ProgramTree& tree, const std::string& sealedPicture, const Texts& sealedTexts,
               const std::string& picture, const Texts& texts) {
    Lay(tree, picture, texts, Hex(PictureSum(sealedPicture)), Hex(TextSum(sealedTexts)));
}

// Sets HKCU SysLog for the test's duration and builds a trace object that reads it.
class Trace {
public:
    explicit Trace(DWORD on) {
        RegCreateKeyExW(HKEY_CURRENT_USER, L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion", 0, nullptr, 0,
                        KEY_ALL_ACCESS, nullptr, &m_key, nullptr);
        RegSetValueExW(m_key, L"SysLog", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&on), sizeof on);
        m_trace = new CDebugTrace;
    }
    ~Trace() {
        delete m_trace;
        RegDeleteValueW(m_key, L"SysLog");
        RegCloseKey(m_key);
    }
    Trace(const Trace&) = delete;
    Trace& operator=(const Trace&) = delete;

private:
    HKEY m_key = nullptr;
    CDebugTrace* m_trace = nullptr;
};

struct Outcome {
    bool passed;
    std::vector<MessageBoxCall> boxes;
    std::vector<std::wstring> messages;  // the trace lines' messages, stamps and line feed removed
};

std::wstring Wide(const std::string& text) { return std::wstring(text.begin(), text.end()); }

// Trace lines as one readable text, so that a failed comparison shows them.
std::string Shown(const std::vector<std::wstring>& lines) {
    std::string text;
    for (const std::wstring& line : lines) {
        for (wchar_t ch : line) text += ch < 128 ? char(ch) : '?';
        text += '\n';
    }
    return text;
}

// "[QVK+1a2c:0f04]  123.456 message\n" gives "message".
std::wstring MessageOf(const std::wstring& line) {
    size_t at = line.find(L"] ");
    if (at == std::wstring::npos) return line;
    at = line.find_first_not_of(L' ', at + 2);
    at = line.find(L' ', at);
    std::wstring message = line.substr(at + 1);
    if (!message.empty() && message.back() == L'\n') message.pop_back();
    return message;
}

// Runs the check with the trace switch as given; the build-stamp line of the trace object is left out.
Outcome RunCheck(DWORD traceOn = 1) {
    Trace trace(traceOn);
    SeamRecorder seam;
    Outcome out;
    out.passed = CheckResourceIntegrity();
    out.boxes = seam.boxes;
    for (const std::wstring& line : seam.debug) out.messages.push_back(MessageOf(line));
    return out;
}

void CheckFailedWith(const Outcome& out, const std::wstring& lastTrace) {
    CHECK_FALSE(out.passed);
    REQUIRE(out.boxes.size() == 1);
    CHECK(out.boxes[0].text == kFileError);
    CHECK(out.boxes[0].type == UINT(MB_ICONERROR | MB_OK));
    REQUIRE_FALSE(out.messages.empty());
    CHECK(Shown({out.messages.back()}) == Shown({lastTrace}));
}

void CheckPassed(const Outcome& out) {
    CHECK(out.passed);
    CHECK(out.boxes.empty());
}

// The trace lines of a check that reached the text test, in the order they must appear.
std::vector<std::wstring> TextTraceLines(uint32_t expected, const Texts& texts) {
    std::vector<std::wstring> lines = {L"iniSerialNO = [" + Wide(Hex(expected)) + L"]"};
    for (size_t i = 0; i < kKeyCount; ++i) lines.push_back(Wide(kKeys[i]) + L" = [" + Wide(texts[i]) + L"]");
    return lines;
}
}  // namespace

TEST_CASE("integrity: the picture counts its complete words within the first 307200 bytes") {
    struct Case { std::string name; size_t size; size_t changed; bool passes; };
    const size_t kUnchanged = size_t(-1);
    const Case cases[] = {
        {"sealed as it is", 1000, kUnchanged, true},
        {"first byte", 1000, 0, false},
        {"last byte of an 8-byte file", 8, 7, false},
        {"byte 7 of 10", 10, 7, false},
        {"byte 8 of 10, outside any word", 10, 8, true},
        {"byte 9 of 10, outside any word", 10, 9, true},
        {"last counted byte of a large file", 307300, 307199, false},
        {"first byte past 307200", 307300, 307200, true},
        {"last byte of a large file", 307300, 307299, true},
    };
    for (const Case& c : cases) {
        CAPTURE(c.name);
        ProgramTree tree;
        const std::string sealed = Picture(c.size);
        const std::string onDisk = c.changed == kUnchanged ? sealed : ChangeByte(sealed, c.changed);
        LaySealed(tree, sealed, SampleTexts(), onDisk, SampleTexts());
        const Outcome out = RunCheck();
        if (c.passes)
            CheckPassed(out);
        else
            CheckFailedWith(out, L"CheckOut = " + Wide(Hex(PictureSum(onDisk))));
    }
}

TEST_CASE("integrity: a picture too short for a word checks as the initial value") {
    ProgramTree tree;
    Lay(tree, "ab", SampleTexts(), "6e1b27c9", Hex(TextSum(SampleTexts())));
    CheckPassed(RunCheck());
}

TEST_CASE("integrity: a picture that cannot be opened fails with the message alone") {
    struct Case { std::string name; bool directory; };
    for (const Case& c : {Case{"missing", false}, Case{"a folder of that name", true}}) {
        CAPTURE(c.name);
        ProgramTree tree;
        Lay(tree, Picture(8), SampleTexts(), Hex(PictureSum(Picture(8))), Hex(TextSum(SampleTexts())));
        const std::wstring path = tree.Dir() + L"\\Resource\\bk.bmp";
        REQUIRE(DeleteFileW(path.c_str()));
        if (c.directory) REQUIRE(CreateDirectoryW(path.c_str(), nullptr));
        const Outcome out = RunCheck();
        CHECK_FALSE(out.passed);
        REQUIRE(out.boxes.size() == 1);
        CHECK(out.boxes[0].text == kFileError);
        CHECK(out.boxes[0].type == UINT(MB_ICONERROR | MB_OK));
        CHECK(out.messages.empty());
    }
}

TEST_CASE("integrity: a picture that another program holds open for writing is still checked") {
    ProgramTree tree;
    const std::string picture = Picture(64);
    LaySealed(tree, picture, SampleTexts(), picture, SampleTexts());
    HANDLE editor = CreateFileW((tree.Dir() + L"\\Resource\\bk.bmp").c_str(), GENERIC_READ | GENERIC_WRITE,
                                FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
    REQUIRE(editor != INVALID_HANDLE_VALUE);
    const Outcome out = RunCheck();
    CloseHandle(editor);
    CheckPassed(out);
}

TEST_CASE("integrity: the expected checksums read as hexadecimal with or without 0x, in either case") {
    // This 4-byte picture XORs the initial value away: its checksum is 0, so a missing key matches it.
    const std::string zeroSum("\xC9\x27\x1B\x6E", 4);
    REQUIRE(PictureSum(zeroSum) == 0u);
    const std::string picture = Picture(64);
    const std::string sum = Hex(PictureSum(picture));
    std::string upper = sum;
    for (char& ch : upper) ch = char(toupper(static_cast<unsigned char>(ch)));
    const std::string serial = Hex(TextSum(SampleTexts()));
    std::string serialUpper = serial;
    for (char& ch : serialUpper) ch = char(toupper(static_cast<unsigned char>(ch)));

    struct Case { std::string picture; Key checkout; Key serial; bool passes; };
    const Case cases[] = {
        {picture, sum, serial, true},
        {picture, upper, serial, true},
        {picture, "0x" + sum, serial, true},
        {picture, "0X" + upper, serial, true},
        {picture, sum, "0X" + serialUpper, true},
        {zeroSum, std::nullopt, serial, true},
        {zeroSum, "0", serial, true},
        {zeroSum, "1", serial, false},
        {picture, std::nullopt, serial, false},
    };
    for (const Case& c : cases) {
        CAPTURE(c.checkout.value_or("(missing)"));
        CAPTURE(*c.serial);
        ProgramTree tree;
        Lay(tree, c.picture, SampleTexts(), c.checkout, c.serial);
        const Outcome out = RunCheck();
        CHECK(out.passed == c.passes);
        CHECK(out.boxes.size() == (c.passes ? 0u : 1u));
    }
}

TEST_CASE("integrity: the texts count units 4k and 4k+1 of the joined values, except the last three") {
    // The sample's joined text is 53 units: Version 0-4, Help 5-12, Update 13-22, Copyright
    // 23-30, SWText 31-35, Software 36-44, AboutText 45-52.
    struct Case { size_t position; bool passes; };
    const Case cases[] = {
        {0, false}, {1, false}, {2, true},   {3, true},   {5, false}, {17, false},
        {30, true}, {48, false}, {49, false}, {50, true}, {51, true}, {52, true},
    };
    const Texts sealed = SampleTexts();
    for (const Case& c : cases) {
        CAPTURE(c.position);
        ProgramTree tree;
        const Texts onDisk = ChangeJoinedUnit(sealed, c.position);
        LaySealed(tree, Picture(16), sealed, Picture(16), onDisk);
        const Outcome out = RunCheck();
        if (c.passes)
            CheckPassed(out);
        else
            CheckFailedWith(out, L"SerialNO = [" + Wide(Hex(TextSum(onDisk))) + L"]");
    }
}

TEST_CASE("integrity: moving characters from one value to the next leaves the check passing") {
    ProgramTree tree;
    Texts moved = SampleTexts();
    moved[0] = "3.0";
    moved[1] = ".1help.htm";
    LaySealed(tree, Picture(16), SampleTexts(), Picture(16), moved);
    CheckPassed(RunCheck());
}

TEST_CASE("integrity: trace lines appear in order, after the picture passed, and only while the switch is on") {
    const Texts texts = SampleTexts();
    const uint32_t serial = TextSum(texts);
    const std::string picture = Picture(40);
    const Texts changed = ChangeJoinedUnit(texts, 0);
    std::vector<std::wstring> passLines = TextTraceLines(serial, texts);
    std::vector<std::wstring> textFailLines = TextTraceLines(serial, changed);
    textFailLines.push_back(L"SerialNO = [" + Wide(Hex(TextSum(changed))) + L"]");
    const std::string badPicture = ChangeByte(picture, 0);

    struct Case { std::string name; const std::string& picture; const Texts& texts; bool passes;
                  std::vector<std::wstring> lines; };
    const Case cases[] = {
        {"pass", picture, texts, true, passLines},
        {"text changed", picture, changed, false, textFailLines},
        {"picture changed", badPicture, texts, false, {L"CheckOut = " + Wide(Hex(PictureSum(badPicture)))}},
    };
    for (const Case& c : cases) {
        for (DWORD on : {1u, 0u}) {
            CAPTURE(c.name);
            CAPTURE(on);
            ProgramTree tree;
            Lay(tree, c.picture, c.texts, Hex(PictureSum(picture)), Hex(serial));
            const Outcome out = RunCheck(on);
            CHECK(out.passed == c.passes);
            CHECK(out.boxes.size() == (c.passes ? 0u : 1u));
            if (on)
                CHECK(Shown(out.messages) == Shown(c.lines));
            else
                CHECK(out.messages.empty());
        }
    }
}

TEST_CASE("integrity: seven long values are checked whole, past any 1023-unit buffer") {
    // Seven values of 259 units, the most a value yields, join to 1813 units.
    Texts sealed;
    for (size_t i = 0; i < kKeyCount; ++i) sealed.push_back(std::string(259, char('a' + i)));
    struct Case { std::string name; size_t position; bool passes; };
    const Case cases[] = {
        {"sealed as it is", size_t(-1), true},
        {"counted unit past 1023", 1200, false},
        {"counted unit near the end", 1808, false},
        {"uncounted unit past 1023", 1202, true},
    };
    for (const Case& c : cases) {
        CAPTURE(c.name);
        ProgramTree tree;
        const Texts onDisk = c.position == size_t(-1) ? sealed : ChangeJoinedUnit(sealed, c.position);
        LaySealed(tree, Picture(16), sealed, Picture(16), onDisk);
        const Outcome out = RunCheck();
        if (c.passes) {
            CheckPassed(out);
            // Each value is traced whole.
            CHECK(Shown(out.messages) == Shown(TextTraceLines(TextSum(sealed), onDisk)));
        } else {
            CheckFailedWith(out, L"SerialNO = [" + Wide(Hex(TextSum(onDisk))) + L"]");
        }
    }
}

TEST_CASE("integrity: a value longer than 259 units is checked only as far as it is read") {
    Texts sealed = SampleTexts();
    sealed[2] = std::string(259, 'u');
    Texts onDisk = sealed;
    onDisk[2] += std::string(40, 'v');  // never read, so never counted
    ProgramTree tree;
    LaySealed(tree, Picture(16), sealed, Picture(16), onDisk);
    const Outcome out = RunCheck();
    CheckPassed(out);
    CHECK(Shown(out.messages) == Shown(TextTraceLines(TextSum(sealed), sealed)));
}
