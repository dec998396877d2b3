// The configuration files: paths, the per-user copy's life, and the reading helpers.
#include <doctest/doctest.h>
#include "app/Configuration.h"
#include "tests/inproc/ProgramTree.h"

#include <string>

namespace {
std::wstring Read(const std::wstring& file, const wchar_t* section, const wchar_t* key) {
    wchar_t buffer[kTextUnits] = L"";
    GetPrivateProfileStringW(section, key, L"", buffer, kTextUnits, file.c_str());
    return buffer;
}
}  // namespace

TEST_CASE("configuration: the first start of a user creates the per-user copy") {
    ProgramTree tree;
    tree.WriteInstallIni(SampleInstallIni());
    PrepareConfiguration();

    CHECK(std::wstring(szInstallIniPath) == tree.InstallIni());
    CHECK(std::wstring(szUserIniPath) == tree.UserIni());
    CHECK(std::wstring(szAppSection) == L"Telvarion");
    CHECK(Read(tree.UserIni(), L"Device", L"iSpkVolume") == L"80");
}

TEST_CASE("configuration: the per-user copy stays when the versions match and is replaced when they differ") {
    struct Case { const char* install; const char* user; bool replaced; };
    const Case cases[] = {
        {"3.0.1", "3.0.1", false}, {nullptr, nullptr, false},  // both missing read as "0"
        {"2.1", "2.10", true},     {"A1", "a1", true},          {"3.0.1", nullptr, true},
    };
    for (const Case& c : cases) {
        CAPTURE(c.install ? c.install : "(none)");
        CAPTURE(c.user ? c.user : "(none)");
        ProgramTree tree;
        std::string install = "[Company]\r\nCompany=Telvarion\r\n[SoftInfo]\r\nSoftware=Telvarion\r\n";
        if (c.install) install += std::string("Version=") + c.install + "\r\n";
        tree.WriteInstallIni(install + "[Device]\r\niSpkVolume=80\r\n");
        std::string user = "[SoftInfo]\r\n";
        if (c.user) user += std::string("Version=") + c.user + "\r\n";
        tree.WriteUserIni(user + "[Device]\r\niSpkVolume=12\r\n");

        PrepareConfiguration();
        CHECK(Read(tree.UserIni(), L"Device", L"iSpkVolume") == (c.replaced ? L"80" : L"12"));
    }
}

TEST_CASE("configuration: a read-only outdated copy stays in use") {
    ProgramTree tree;
    tree.WriteInstallIni(SampleInstallIni("2"));
    tree.WriteUserIni("[SoftInfo]\r\nVersion=1\r\n[Device]\r\niSpkVolume=12\r\n");
    SetFileAttributesW(tree.UserIni().c_str(), FILE_ATTRIBUTE_READONLY);
    PrepareConfiguration();
    CHECK(Read(tree.UserIni(), L"Device", L"iSpkVolume") == L"12");
    SetFileAttributesW(tree.UserIni().c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST_CASE("configuration: without an installation copy every name takes its default") {
    ProgramTree tree;
    PrepareConfiguration();
    CHECK(std::wstring(szAppSection) == L"SoftInfo");
    CHECK(std::wstring(szUserIniPath) == tree.AppData() + L"\\SoftInfo\\Custom.ini");
    CHECK_FALSE(FileExists(szUserIniPath));
    wchar_t value[kTextUnits] = L"untouched";
    CHECK(ReadAppString(L"SWText", value) == 0);
    CHECK(std::wstring(value).empty());
}

TEST_CASE("configuration: the application section is named by Company, the per-user folder by SoftInfo") {
    ProgramTree tree;
    tree.WriteInstallIni("[SoftInfo]\r\nSoftware=PerUser\r\n[Company]\r\nCompany=Acme\r\n"
                         "[Acme]\r\nSWText=From Acme\r\nSoftware=InstallFolder\r\n");
    PrepareConfiguration();
    CHECK(std::wstring(szUserIniPath) == tree.UserIni(L"PerUser"));
    CHECK(FileExists(tree.UserIni(L"PerUser")));
    wchar_t title[kTextUnits];
    ReadAppString(L"SWText", title);
    CHECK(std::wstring(title) == L"From Acme");
}

TEST_CASE("configuration: a saved language id is read through a buffer of three units") {
    ProgramTree tree;
    tree.WriteUserIni("[SoftInfo]\r\n[Telvarion]\r\nLanguageID=123\r\n");
    wchar_t id[3];
    GetPrivateProfileStringW(L"Telvarion", L"LanguageID", L"", id, 3, tree.UserIni().c_str());
    CHECK(std::wstring(id) == L"12");
}

TEST_CASE("configuration: the program directory of a path") {
    struct Case { const wchar_t* path; const wchar_t* dir; };
    const Case cases[] = {
        {L"C:\\Tools\\Phone\\phone.exe", L"C:\\Tools\\Phone"},
        {L"C:\\phone.exe", L"C:"},
        {L"C:/Tools/phone.exe", L"C:/Tools"},
        {L"phone.exe", L""},
    };
    for (const Case& c : cases) {
        wchar_t path[kTextUnits];
        wcscpy(path, c.path);
        CutToDirectory(path);
        CHECK(std::wstring(path) == c.dir);
    }
    CHECK(std::wstring(GetModuleDir().text).find(L"\\") != std::wstring::npos);
}

TEST_CASE("configuration: ReadIniIfExists reads only from a file that opens") {
    ProgramTree tree;
    tree.WriteUserIni("[Device]\r\nbHideTelvarionDlg=1\r\n");
    wchar_t buffer[kTextUnits] = L"before";
    CHECK(ReadIniIfExists((tree.AppData() + L"\\missing.ini").c_str(), L"Device", L"bHideTelvarionDlg", buffer) == 0);
    CHECK(std::wstring(buffer) == L"before");
    CHECK(ReadIniIfExists(nullptr, L"Device", L"bHideTelvarionDlg", buffer) == 0);
    CHECK(ReadIniIfExists(tree.UserIni().c_str(), L"Device", L"bHideTelvarionDlg", buffer) == 1);
    CHECK(std::wstring(buffer) == L"1");
}

TEST_CASE("configuration: paths too long for their buffers are never cut and never written") {
    ProgramTree tree;
    tree.WriteInstallIni(SampleInstallIni());
    // 250 units of APPDATA leave no room for "\Telvarion\Custom.ini".
    std::wstring longAppData = tree.AppData() + L"\\" + std::wstring(250 - tree.AppData().size() - 1, L'a');
    tree.SetAppData(longAppData);
    PrepareConfiguration();
    CHECK(std::wstring(szUserIniPath).empty());
    CHECK_FALSE(WriteIniString(szUserIniPath, L"Device", L"iSpkVolume", L"5"));
    CHECK(ReadIniInt(szUserIniPath, L"Device", L"iSpkVolume", 100) == 100u);
    CHECK(std::wstring(szAppSection) == L"Telvarion");  // the installation copy still reads
}

TEST_CASE("configuration: without APPDATA the shell's application-data folder is used") {
    ProgramTree tree;
    tree.WriteInstallIni(SampleInstallIni());
    tree.SetAppData(L"");
    PrepareConfiguration();
    const std::wstring user = szUserIniPath;
    CHECK_FALSE(user.empty());
    CHECK(user.size() > wcslen(L"\\Telvarion\\Custom.ini"));
    CHECK(user.substr(user.size() - 21) == L"\\Telvarion\\Custom.ini");
    CHECK(FileExists(user));
    DeleteFileW(user.c_str());
    std::wstring folder = user.substr(0, user.size() - 11);
    RemoveDirectoryW(folder.c_str());
}
