// Start-up and shutdown of the real program: the single-instance rule, the clean-up mode,
// a missing device library and the trace switch.
#include <doctest/doctest.h>
#include "tests/process/Deployment.h"

#include <algorithm>
#include <string>

namespace {
const DWORD kStart = 20000;

std::string Narrow(const std::wstring& w) {
    std::string s;
    for (wchar_t c : w) s += c < 128 ? char(c) : '?';
    return s;
}

// A running first instance with its panel.
struct Running {
    std::unique_ptr<Debuggee> child;
    HWND panel = nullptr;
};

Running StartFirst(const Deployment& tree, const std::wstring& args = L"") {
    Running r;
    r.child = tree.Start(args);
    if (r.child) r.panel = FindPanel(r.child->ProcessId(), kStart);
    return r;
}
}  // namespace

TEST_CASE("start-up: a second start shows the running panel and ends without loading the library") {
    Deployment tree;
    REQUIRE(tree.Ok());
    Running first = StartFirst(tree);
    REQUIRE_MESSAGE(first.panel, first.child->Transcript());
    ShowWindow(first.panel, SW_HIDE);
    const DWORD t0 = GetTickCount();
    while (IsWindowVisible(first.panel) && GetTickCount() - t0 < kStart) Sleep(50);
    REQUIRE_FALSE(IsWindowVisible(first.panel));

    auto second = tree.Start();
    REQUIRE(second);
    CHECK(second->WaitForExit(kStart));
    CHECK_MESSAGE(!second->HasLine("Telvarion.dll"), second->Transcript());
    CHECK(IsWindowVisible(first.panel));
    CHECK_FALSE(first.child->Exited());
}

TEST_CASE("start-up: W4N starts a further instance with its own library and panel") {
    Deployment tree;
    REQUIRE(tree.Ok());
    Running first = StartFirst(tree);
    REQUIRE(first.panel);
    auto second = tree.Start(L"W4N");
    REQUIRE(second);
    CHECK(second->WaitForLine("Telvarion.dll", kStart) >= 0);
    CHECK_MESSAGE(FindPanel(second->ProcessId(), kStart), second->Transcript());
    CHECK_FALSE(second->Exited());
}

TEST_CASE("start-up: *exit* deletes the virtualised copies and ends the running instance") {
    Deployment tree;
    REQUIRE(tree.Ok());
    Running first = StartFirst(tree);
    REQUIRE(first.panel);

    // Copies under two "Program..." folders (one read-only) and one under a folder that does not match.
    const std::wstring store = tree.LocalAppData() + L"\\VirtualStore";
    struct Copy { std::wstring folder; bool readOnly; bool deleted; };
    const Copy copies[] = {{L"Program Files", false, true}, {L"Program Files (x86)", true, true},
                           {L"Programs", false, true}, {L"Other", false, false}};
    CreateDirectoryW(store.c_str(), nullptr);
    for (const Copy& c : copies) {
        std::wstring dir = store + L"\\" + c.folder;
        CreateDirectoryW(dir.c_str(), nullptr);
        dir += L"\\Telvarion";
        CreateDirectoryW(dir.c_str(), nullptr);
        dir += L"\\Resource";
        CreateDirectoryW(dir.c_str(), nullptr);
        REQUIRE(WriteTextFile(dir + L"\\Custom.ini", "[x]\r\n"));
        if (c.readOnly) SetFileAttributesW((dir + L"\\Custom.ini").c_str(), FILE_ATTRIBUTE_READONLY);
    }
    DeleteFileW(tree.UserIni().c_str());  // the clean-up mode still prepares the per-user copy

    auto cleaner = tree.Start(L"*exit*");
    REQUIRE(cleaner);
    CHECK(cleaner->WaitForExit(kStart));
    CHECK_MESSAGE(cleaner->HasLine("uninstall"), cleaner->Transcript());
    for (const Copy& c : copies) {
        CAPTURE(Narrow(c.folder));
        CHECK(FileExists(store + L"\\" + c.folder + L"\\Telvarion\\Resource\\Custom.ini") != c.deleted);
    }
    CHECK(FileExists(tree.UserIni()));
    CHECK_MESSAGE(first.child->WaitForExit(kStart), first.child->Transcript());
}

TEST_CASE("start-up: *exit* with W4N still runs the clean-up mode, and without LOCALAPPDATA does nothing more") {
    Deployment tree;
    REQUIRE(tree.Ok());
    Running first = StartFirst(tree);
    REQUIRE(first.panel);

    auto noLocal = tree.Start(L"W4N *exit*", {{L"LOCALAPPDATA", L""}});
    REQUIRE(noLocal);
    CHECK(noLocal->WaitForExit(kStart));
    CHECK(noLocal->HasLine("szLocalAppDataPath == NULL"));
    CHECK_FALSE(noLocal->HasLine("Telvarion.dll"));
    Sleep(500);
    CHECK_FALSE(first.child->Exited());

    auto cleaner = tree.Start(L"W4N *exit*");
    REQUIRE(cleaner);
    CHECK(cleaner->WaitForExit(kStart));
    CHECK_FALSE(cleaner->HasLine("Telvarion.dll"));
    CHECK(first.child->WaitForExit(kStart));
}

TEST_CASE("start-up: without the device library the program says so and ends") {
    Deployment tree;
    REQUIRE(tree.Ok());
    REQUIRE(DeleteFileW((tree.App() + L"\\Telvarion.dll").c_str()));
    auto child = tree.Start();
    REQUIRE(child);
    MessageBoxWindow box = WaitForMessageBox(child->ProcessId(), kStart);
    REQUIRE_MESSAGE(box.hwnd, child->Transcript());
    CHECK(box.text == L"Load Telvarion.dll Failed");
    CHECK(box.caption == L"Telvarion");
    DismissMessageBox(box);
    CHECK(child->WaitForExit(kStart));
    CHECK(child->HasLine("\\Telvarion.dll"));
}

TEST_CASE("start-up: trace lines appear only while SysLog is on") {
    Deployment tree;
    REQUIRE(tree.Ok());
    for (DWORD value : {0u, 1u}) {
        CAPTURE(value);
        SysLogSwitch syslog(value);
        Running r = StartFirst(tree);
        REQUIRE(r.panel);
        CHECK(r.child->HasLine("Last build at ") == (value != 0));
        if (value) {
            const int line = r.child->IndexOf("Last build at ");
            CHECK(r.child->Lines()[line].rfind("[QVK+", 0) == 0);
        }
        r.child->Kill();
    }
}

TEST_CASE("start-up: clean-up paths too long for their buffers are skipped, never cut") {
    Deployment tree;
    REQUIRE(tree.Ok());
    Running first = StartFirst(tree);
    REQUIRE(first.panel);

    // Two VirtualStore entries: a short one, and one whose Custom.ini path passes 255 units.
    const std::wstring store = tree.LocalAppData() + L"\\VirtualStore";
    CreateDirectoryW(store.c_str(), nullptr);
    const std::wstring shortEntry = store + L"\\Program Files";
    const std::wstring longName = L"Program" + std::wstring(256 - store.size() - 1 - 30 - 7, L'x');
    const std::wstring longEntry = store + L"\\" + longName;
    for (const std::wstring& dir : {shortEntry, longEntry}) {
        CreateDirectoryW(dir.c_str(), nullptr);
        CreateDirectoryW((dir + L"\\Telvarion").c_str(), nullptr);
        CreateDirectoryW((dir + L"\\Telvarion\\Resource").c_str(), nullptr);
        WriteTextFile(dir + L"\\Telvarion\\Resource\\Custom.ini", "[x]\r\n");
    }
    REQUIRE((longEntry + L"\\Telvarion\\Resource\\Custom.ini").size() > 255);
    REQUIRE(FileExists(longEntry + L"\\Telvarion\\Resource\\Custom.ini"));

    auto cleaner = tree.Start(L"*exit*");
    REQUIRE(cleaner);
    CHECK(cleaner->WaitForExit(kStart));
    CHECK_FALSE(FileExists(shortEntry + L"\\Telvarion\\Resource\\Custom.ini"));
    CHECK(FileExists(longEntry + L"\\Telvarion\\Resource\\Custom.ini"));
    CHECK(first.child->WaitForExit(kStart));

    // A LOCALAPPDATA too long for the search pattern handles no entry, and still ends nothing
    // else: with no instance running there is nobody to end.
    auto longLocal = tree.Start(L"*exit*", {{L"LOCALAPPDATA", tree.LocalAppData() + L"\\" + std::wstring(250, L'y')}});
    REQUIRE(longLocal);
    CHECK(longLocal->WaitForExit(kStart));
    CHECK(longLocal->HasLine("uninstall"));
}

TEST_CASE("start-up: a program folder too deep for its configuration paths refuses to start") {
    Deployment tree;
    REQUIRE(tree.Ok());
    // 245 units of folder: the program itself still fits, "\Resource\Custom.ini" does not.
    std::wstring deep = tree.App();
    while (deep.size() < 245) {
        deep += L"\\" + std::wstring(std::min<size_t>(60, 245 - deep.size() - 1), L'd');
        CreateDirectoryW(deep.c_str(), nullptr);
    }
    REQUIRE(deep.size() == 245);
    REQUIRE(CopyFileW(tree.Exe().c_str(), (deep + L"\\Telvarion.exe").c_str(), FALSE));
    REQUIRE(CopyFileW((tree.App() + L"\\Telvarion.dll").c_str(), (deep + L"\\Telvarion.dll").c_str(), FALSE));
    CopyTree(tree.App() + L"\\Resource", deep + L"\\Resource");

    auto child = std::make_unique<Debuggee>();
    const std::wstring exe = deep + L"\\Telvarion.exe";
    REQUIRE(child->Start(exe, L"\"" + exe + L"\"", deep, {{L"APPDATA", tree.AppData()}}));
    MessageBoxWindow box = WaitForMessageBox(child->ProcessId(), kStart);
    REQUIRE_MESSAGE(box.hwnd, child->Transcript());
    CHECK(box.text == L"File error, please reinstall!");
    DismissMessageBox(box);
    CHECK(child->WaitForExit(kStart));
    CHECK_FALSE(child->HasLine("Telvarion.dll"));
}
