#include <doctest/doctest.h>

#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "core/Checksum.h"
#include "tests/core/TestText.h"
#include "tools/seal/SealCommand.h"

namespace fs = std::filesystem;
using testing::ReadFile;
using testing::WriteFile;

namespace {

// The texts of the fixture's application section, in the order the check joins them.
const std::u16string kJoinedTexts =
    u"3.0.1" u"http://help.example/" u"http://update.example/"
    u"(c) Maker" u"Telvarion Panel" u"Telvarion" u"About text";

const char* const kCustomIni =
    "; deployment settings\r\n"
    "[SoftInfo]\r\n"
    "Software=TelvarionUser\r\n"
    "Version=3\r\n"
    "\r\n"
    "[Company]\r\n"
    "Company = Telvarion \r\n"
    "\r\n"
    "[telvarion]\r\n"
    "AboutText=\"About text\"\r\n"
    "SWText=Telvarion Panel\r\n"
    "software=Telvarion\r\n"
    "Version=3.0.1\r\n"
    "Help=http://help.example/\r\n"
    "Update=http://update.example/\r\n"
    "Copyright=(c) Maker\r\n"
    "checkout=0\r\n"
    "Q7RExeName=Q7R.exe\r\n"
    "\r\n"
    "[Device]\r\n"
    "iSpkVolume=100\r\n";

// Ten bytes: the words at bytes 0 and 4 count, bytes 8 and 9 do not.
const std::string kPicture = "BM01234567";

std::string Hex(uint32_t value) {
    std::ostringstream text;
    text << std::hex << value;
    return text.str();
}

std::u16string Hex16(uint32_t value) {
    const std::string hex = Hex(value);
    return std::u16string(hex.begin(), hex.end());
}

uint32_t FileChecksum(const std::string& bytes) {
    return checksum::ComputeFileChecksum(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size());
}

uint32_t TextChecksum(const std::u16string& text) { return checksum::ComputeTextChecksum(text.data(), text.size()); }

struct Run {
    int exitCode;
    std::string out, err;
};

// An installation folder with Resource/Custom.ini and Resource/bk.bmp.
struct Installation {
    testing::TempFolder folder;
    fs::path ini = folder.path() / "Resource" / "Custom.ini";
    fs::path picture = folder.path() / "Resource" / "bk.bmp";

    explicit Installation(const std::string& iniBytes = kCustomIni, const std::string& pictureBytes = kPicture) {
        fs::create_directory(folder.path() / "Resource");
        WriteFile(ini, iniBytes);
        WriteFile(picture, pictureBytes);
    }

    Run Tool(std::vector<fs::path> args) const {
        std::ostringstream out, err;
        int exitCode = seal::RunSealCommand(args, out, err);
        return {exitCode, out.str(), err.str()};
    }
    Run Seal() const { return Tool({folder.path()}); }
    Run Check() const { return Tool({"--check", folder.path()}); }

    void ChangeByte(const fs::path& path, size_t at) const {
        std::string bytes = ReadFile(path);
        bytes.at(at) ^= 0x20;
        WriteFile(path, bytes);
    }
};

}  // namespace

TEST_CASE("sealing writes both checksums and keeps every other byte of Custom.ini") {
    Installation install;
    const Run sealed = install.Seal();
    CHECK(sealed.exitCode == seal::kExitOk);
    CHECK(sealed.err.empty());

    std::string expected = kCustomIni;
    const std::string checkout = "checkout=" + Hex(FileChecksum(kPicture));
    const std::string serial = "SerialNO=" + Hex(TextChecksum(kJoinedTexts));
    expected.replace(expected.find("checkout=0"), 10, checkout);
    expected.insert(expected.find("\r\n\r\n[Device]") + 2, serial + "\r\n");
    CHECK(ReadFile(install.ini) == expected);
    CHECK_FALSE(fs::exists(install.ini.string() + ".seal-tmp"));

    const Run checked = install.Check();
    CHECK(checked.exitCode == seal::kExitOk);
    CHECK(checked.err.empty());

    const Run again = install.Seal();
    CHECK(again.exitCode == seal::kExitOk);
    CHECK(again.out.find("already sealed") != std::string::npos);
    CHECK(ReadFile(install.ini) == expected);
}

TEST_CASE("the check names the checksum that a change breaks, and only changes of counted data break it") {
    // In the joined text "3.0.1http..." unit 0 counts; unit 2 ('0') has remainder 2 and does not.
    const std::string version = "Version=3.0.1";
    const size_t versionAt = std::string(kCustomIni).find(version) + 8;
    const size_t otherAt = std::string(kCustomIni).find("Q7R.exe");
    struct {
        const char* change;
        std::function<void(const Installation&)> apply;
        int exitCode;
        const char* message;
    } const cases[] = {
        {"first byte of the picture", [](auto& i) { i.ChangeByte(i.picture, 0); }, seal::kExitMismatch,
         "checkout differs: expected "},
        {"last counted byte of the picture", [](auto& i) { i.ChangeByte(i.picture, 7); }, seal::kExitMismatch,
         "checkout differs: expected "},
        {"byte 8 of the picture", [](auto& i) { i.ChangeByte(i.picture, 8); }, seal::kExitOk, nullptr},
        {"byte 9 of the picture", [](auto& i) { i.ChangeByte(i.picture, 9); }, seal::kExitOk, nullptr},
        {"a counted unit of the texts", [&](auto& i) { i.ChangeByte(i.ini, versionAt); }, seal::kExitMismatch,
         "SerialNO differs: expected "},
        {"an uncounted unit of the texts", [&](auto& i) { i.ChangeByte(i.ini, versionAt + 2); }, seal::kExitOk,
         nullptr},
        {"a text outside the checked keys", [&](auto& i) { i.ChangeByte(i.ini, otherAt); }, seal::kExitOk, nullptr},
    };
    for (const auto& c : cases) {
        INFO(std::string(c.change));
        Installation install;
        REQUIRE(install.Seal().exitCode == seal::kExitOk);
        c.apply(install);
        const std::string before = ReadFile(install.ini);
        const Run checked = install.Check();
        CHECK(checked.exitCode == c.exitCode);
        if (c.message) CHECK(checked.err.find(c.message) == 0);
        CHECK(ReadFile(install.ini) == before);
    }
}

TEST_CASE("a failed check reports the stored and the computed value") {
    // The SerialNO of a repeated section is never read, so the stored value is 0 as well.
    Installation install(std::string(kCustomIni) + "[telvarion]\r\nSerialNO=1\r\n", "ABCD");
    const Run checked = install.Check();
    CHECK(checked.exitCode == seal::kExitMismatch);
    CHECK(checked.err == "checkout differs: expected 0, computed " + Hex(FileChecksum("ABCD")) +
                             "\nSerialNO differs: expected 0, computed " + Hex(TextChecksum(kJoinedTexts)) + "\n");
}

TEST_CASE("only the first 307200 bytes of the picture count") {
    Installation install(kCustomIni, std::string(checksum::kFileBufferSize + 8, 'p'));
    REQUIRE(install.Seal().exitCode == seal::kExitOk);
    install.ChangeByte(install.picture, checksum::kFileBufferSize);
    CHECK(install.Check().exitCode == seal::kExitOk);
    install.ChangeByte(install.picture, checksum::kFileBufferSize - 1);
    CHECK(install.Check().exitCode == seal::kExitMismatch);
}

TEST_CASE("a UTF-16 Custom.ini stays UTF-16, and its non-ASCII texts count as they are") {
    const std::u16string text =
        u"[Company]\r\nCompany=Telvarion\r\n[Telvarion]\r\nCopyright=\u00a9 \u4e2d\u6587\r\nSerialNO=0x0\r\n";
    Installation install(testing::Utf16LeFile(text));
    const Run sealed = install.Seal();
    CHECK(sealed.exitCode == seal::kExitOk);
    CHECK(sealed.err.empty());
    // SerialNO is replaced where it stands; checkout, missing, follows the section's last line.
    const std::u16string after = u"[Company]\r\nCompany=Telvarion\r\n[Telvarion]\r\nCopyright=\u00a9 \u4e2d\u6587\r\n"
                                 u"SerialNO=" + Hex16(TextChecksum(u"\u00a9 \u4e2d\u6587")) +
                                 u"\r\ncheckout=" + Hex16(FileChecksum(kPicture)) + u"\r\n";
    CHECK(ReadFile(install.ini) == testing::Utf16LeFile(after));
    CHECK(install.Check().exitCode == seal::kExitOk);
}

TEST_CASE("an ANSI Custom.ini reads as Windows-1252, with a warning for non-ASCII texts") {
    Installation install("[SoftInfo]\r\nCopyright=\x80 \xA9\r\n");
    const Run sealed = install.Seal();
    CHECK(sealed.exitCode == seal::kExitOk);
    CHECK(sealed.err.find("warning") != std::string::npos);
    CHECK(sealed.err.find("Windows-1252") != std::string::npos);
    CHECK(ReadFile(install.ini) == "[SoftInfo]\r\nCopyright=\x80 \xA9\r\ncheckout=" + Hex(FileChecksum(kPicture)) +
                                       "\r\nSerialNO=" + Hex(TextChecksum(u"\u20ac \u00a9")) + "\r\n");
}

TEST_CASE("without [Company] the application section is SoftInfo, made when missing") {
    Installation install("[Other]\nx=1");
    REQUIRE(install.Seal().exitCode == seal::kExitOk);
    CHECK(ReadFile(install.ini) == "[Other]\nx=1\n[SoftInfo]\ncheckout=" + Hex(FileChecksum(kPicture)) +
                                       "\nSerialNO=" + Hex(TextChecksum(u"")) + "\n");
    CHECK(install.Check().exitCode == seal::kExitOk);
}

TEST_CASE("texts beyond 259 units are cut as the program cuts them, with a warning") {
    const std::string about(300, 'a');
    Installation install("[SoftInfo]\r\nAboutText=" + about + "\r\n");
    const Run sealed = install.Seal();
    CHECK(sealed.exitCode == seal::kExitOk);
    CHECK(sealed.err.find("AboutText is longer than 259") != std::string::npos);
    CHECK(ReadFile(install.ini).find("SerialNO=" + Hex(TextChecksum(std::u16string(259, u'a'))) + "\r\n") !=
          std::string::npos);
}

TEST_CASE("bad input fails with a message and leaves Custom.ini as it was") {
    struct {
        const char* fault;
        std::function<fs::path(const Installation&)> prepare;  // returns the folder to pass
        const char* message;
    } const cases[] = {
        {"missing folder", [](auto& i) { return i.folder.path() / "nowhere"; }, "installation folder not found"},
        {"missing picture", [](auto& i) { fs::remove(i.picture); return i.folder.path(); },
         "cannot read the panel picture"},
        {"picture is a folder",
         [](auto& i) {
             fs::remove(i.picture);
             fs::create_directory(i.picture);
             return i.folder.path();
         },
         "cannot read the panel picture"},
        {"missing Custom.ini", [](auto& i) { fs::remove(i.ini); return i.folder.path(); }, "cannot read"},
        {"UTF-8 mark", [](auto& i) { WriteFile(i.ini, "\xEF\xBB\xBF[SoftInfo]\r\n"); return i.folder.path(); },
         "UTF-8 byte-order mark"},
        {"empty Company", [](auto& i) { WriteFile(i.ini, "[Company]\r\nCompany=\r\n"); return i.folder.path(); },
         "Company in section [Company] is empty"},
        // The temporary copy cannot be made: the original must survive whole.
        {"blocked temporary file",
         [](auto& i) {
             fs::create_directory(i.ini.string() + ".seal-tmp");
             return i.folder.path();
         },
         "cannot write"},
    };
    for (const auto& c : cases) {
        INFO(std::string(c.fault));
        for (bool checkOnly : {false, true}) {
            if (checkOnly && std::string(c.fault) == "blocked temporary file") continue;
            Installation install;
            const fs::path folder = c.prepare(install);
            const bool hadIni = fs::exists(install.ini);
            const std::string before = hadIni ? ReadFile(install.ini) : "";
            const Run run = checkOnly ? install.Tool({"--check", folder}) : install.Tool({folder});
            CHECK(run.exitCode == seal::kExitFailure);
            CHECK(run.err.find(c.message) != std::string::npos);
            CHECK(run.out.empty());
            if (hadIni) CHECK(ReadFile(install.ini) == before);
        }
    }
}

TEST_CASE("a read-only Custom.ini is refused, not replaced") {
    if (geteuid() == 0) {
        MESSAGE("skipped: the superuser may write any file");
        return;
    }
    Installation install;
    fs::permissions(install.ini, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    const Run run = install.Seal();
    CHECK(run.exitCode == seal::kExitFailure);
    CHECK(run.err.find("is not writable") != std::string::npos);
    CHECK(ReadFile(install.ini) == kCustomIni);
}

TEST_CASE("arguments other than [--check] INSTALL_DIR are refused with the usage") {
    Installation install;
    const std::vector<std::vector<fs::path>> cases = {
        {}, {"--check"}, {"--force", install.folder.path()}, {install.folder.path(), install.folder.path()}};
    for (const auto& args : cases) {
        INFO(args.size(), " arguments");
        const Run run = install.Tool(args);
        CHECK(run.exitCode == seal::kExitFailure);
        CHECK(run.err.find("usage: telvarion-seal [--check] INSTALL_DIR") != std::string::npos);
    }
    CHECK(ReadFile(install.ini) == kCustomIni);
}
