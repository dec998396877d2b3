// The integrity check of the real program over a sealed deployment: it starts as sealed,
// refuses a changed picture or product text before the library is loaded, reads only the
// installation copy, and traces what it checked while SysLog is on.
#include <doctest/doctest.h>
#include "tests/process/Deployment.h"

#include <functional>
#include <string>
#include <vector>

namespace {
const DWORD kStart = 20000;

std::wstring AppSection(const Deployment& tree) {
    wchar_t section[260] = L"";
    GetPrivateProfileStringW(L"Company", L"Company", L"SoftInfo", section, 260, tree.InstallIni().c_str());
    return section;
}

std::string ReadApp(const Deployment& tree, const wchar_t* key) {
    wchar_t value[260] = L"";
    GetPrivateProfileStringW(AppSection(tree).c_str(), key, L"", value, 260, tree.InstallIni().c_str());
    std::string narrow;
    for (const wchar_t* p = value; *p; ++p) narrow += *p < 128 ? char(*p) : '?';
    return narrow;
}

// The offset of `key`'s value in the ANSI bytes of an INI file, within the application section.
size_t ValueOffset(const std::string& ini, const std::string& section, const std::string& key) {
    size_t at = ini.find("[" + section + "]");
    if (at == std::string::npos) return std::string::npos;
    at = ini.find("\n" + key + "=", at);
    return at == std::string::npos ? at : at + key.size() + 2;
}

// Changes a unit of Help that the text checksum counts: its joined position (after Version) is 4k.
bool ChangeCountedHelpUnit(const Deployment& tree, const std::wstring& ini) {
    const std::string version = ReadApp(tree, L"Version");
    const std::string help = ReadApp(tree, L"Help");
    const size_t index = (4 - version.size() % 4) % 4;
    if (index >= help.size()) return false;
    std::string bytes = ReadFileBytes(ini);
    const std::wstring wsection = AppSection(tree);
    const size_t at = ValueOffset(bytes, std::string(wsection.begin(), wsection.end()), "Help");
    if (at == std::string::npos) return false;
    bytes[at + index] = char(bytes[at + index] ^ 1);
    return WriteTextFile(ini, bytes);
}

bool ChangeCountedPictureByte(const Deployment& tree) {
    const std::wstring path = tree.App() + L"\\Resource\\bk.bmp";
    std::string bytes = ReadFileBytes(path);
    if (bytes.size() < 68) return false;
    bytes[64] = char(bytes[64] ^ 0x5A);
    return WriteBinaryFile(path, bytes.data(), bytes.size());
}

bool SetValue(const std::wstring& ini, const std::string& section, const std::string& key, const std::string& value) {
    std::string bytes = ReadFileBytes(ini);
    const size_t at = ValueOffset(bytes, section, key);
    if (at == std::string::npos) return false;
    const size_t end = bytes.find_first_of("\r\n", at);
    bytes.replace(at, end == std::string::npos ? std::string::npos : end - at, value);
    return WriteTextFile(ini, bytes);
}
}  // namespace

TEST_CASE("integrity: the sealed deployment starts, tracing what it checked in order while SysLog is on") {
    Deployment tree;
    REQUIRE(tree.Ok());
    // Each message follows the line's stamp and a blank; lines end without their line feed.
    std::vector<std::string> expected = {" iniSerialNO = [" + ReadApp(tree, L"SerialNO") + "]"};
    for (const wchar_t* key : {L"Version", L"Help", L"Update", L"Copyright", L"SWText", L"Software", L"AboutText"})
        expected.push_back(" " + std::string(key, key + wcslen(key)) + " = [" + ReadApp(tree, key) + "]");
    for (DWORD on : {0u, 1u}) {
        CAPTURE(on);
        SysLogSwitch syslog(on);
        auto child = tree.Start();
        REQUIRE(child);
        REQUIRE_MESSAGE(FindPanel(child->ProcessId(), kStart), child->Transcript());
        const int library = child->IndexOf("\\Telvarion.dll");
        CHECK(library >= 0);
        CHECK_FALSE(child->HasLine(" CheckOut = "));
        CHECK_FALSE(child->HasLine(" SerialNO = ["));
        int previous = -1;
        for (const std::string& text : expected) {
            CAPTURE(text);
            const int at = child->IndexOf(text, size_t(previous + 1));
            if (!on) {
                CHECK(at < 0);
                continue;
            }
            CHECK_MESSAGE(at > previous, child->Transcript());
            CHECK(at < library);
            previous = at;
        }
        child->Kill();
    }
}

TEST_CASE("integrity: a changed picture or product text ends the start before the library is loaded") {
    struct Case {
        const char* name;
        std::function<bool(const Deployment&)> change;
        const char* trace;
    };
    const Case cases[] = {
        {"a counted byte of bk.bmp", ChangeCountedPictureByte, " CheckOut = "},
        {"a counted unit of Help", [](const Deployment& t) { return ChangeCountedHelpUnit(t, t.InstallIni()); },
         " SerialNO = ["},
    };
    for (const Case& c : cases) {
        CAPTURE(c.name);
        Deployment tree;
        REQUIRE(tree.Ok());
        REQUIRE(c.change(tree));
        SysLogSwitch syslog(1);
        auto child = tree.Start();
        REQUIRE(child);
        MessageBoxWindow box = WaitForMessageBox(child->ProcessId(), kStart);
        REQUIRE_MESSAGE(box.hwnd, child->Transcript());
        CHECK(box.text == L"File error, please reinstall!");
        CHECK(box.caption == L"Telvarion");
        CHECK_FALSE(FindPanel(child->ProcessId(), 0));
        CHECK_MESSAGE(child->HasLine(c.trace), child->Transcript());
        DismissMessageBox(box);
        CHECK(child->WaitForExit(kStart));
        CHECK_MESSAGE(!child->HasLine("Telvarion.dll"), child->Transcript());
        CHECK_FALSE(child->HasLine("sim: InstallTelvarion"));
    }
}

TEST_CASE("integrity: edits to the per-user copy never take part") {
    Deployment tree;
    REQUIRE(tree.Ok());
    // A per-user copy of the same version stays in use; give it another Help and wrong checksums.
    CreateDirectoryW((tree.AppData() + L"\\Telvarion").c_str(), nullptr);
    REQUIRE(CopyFileW(tree.InstallIni().c_str(), tree.UserIni().c_str(), FALSE));
    REQUIRE(ChangeCountedHelpUnit(tree, tree.UserIni()));
    const std::wstring wsection = AppSection(tree);
    const std::string section(wsection.begin(), wsection.end());
    REQUIRE(SetValue(tree.UserIni(), section, "checkout", "0"));
    REQUIRE(SetValue(tree.UserIni(), section, "SerialNO", "0"));
    auto userValue = [&](const wchar_t* key) {
        wchar_t value[260] = L"";
        GetPrivateProfileStringW(wsection.c_str(), key, L"", value, 260, tree.UserIni().c_str());
        return std::wstring(value);
    };
    const std::wstring editedHelp = userValue(L"Help");
    const std::string installHelp = ReadApp(tree, L"Help");
    REQUIRE(editedHelp != std::wstring(installHelp.begin(), installHelp.end()));

    auto child = tree.Start();
    REQUIRE(child);
    CHECK_MESSAGE(FindPanel(child->ProcessId(), kStart), child->Transcript());
    CHECK(child->HasLine("\\Telvarion.dll"));
    child->Kill();
    // The edited copy was the one in use, not replaced by a fresh one.
    CHECK(userValue(L"Help") == editedHelp);
    CHECK(userValue(L"SerialNO") == L"0");
}
