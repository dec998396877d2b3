// The tray menu's commands as the panel answers them, the end of the user's session, closing
// the panel, and the program's one way out.
#include <doctest/doctest.h>
#include "app/Configuration.h"
#include "i18n/LanguageSelection.h"
#include "tests/inproc/PanelFixture.h"

#include <commctrl.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

std::string Narrow(const std::wstring& w) {
    std::string s;
    for (wchar_t c : w) s += c < 128 ? static_cast<char>(c) : '?';
    return s;
}

std::string FileBytes(const std::wstring& path) {
    std::ifstream in(path.c_str(), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::wstring AppValue(const wchar_t* key) {
    wchar_t value[260] = L"";
    GetPrivateProfileStringW(szAppSection, key, L"", value, 260, szInstallIniPath);
    return value;
}

// The order in which the quit path does its visible steps: debugger lines, launches and the
// tray icon's removal as the seam sees them, and the library's stop as soon as its journal
// shows it. Sits in front of the fixture's recorder.
class Timeline {
public:
    explicit Timeline(PanelFixture& f) : m_fixture(f), m_next(Platform()) {
        s_current = this;
        Platform().ShellNotifyIcon = &Tray;
        Platform().ShellExecute = &Shell;
        Platform().OutputDebugString = &Debug;
    }
    ~Timeline() {
        Platform() = m_next;
        s_current = nullptr;
    }
    std::vector<std::string> Events() {
        NoteLibraryStop();
        return m_events;
    }

private:
    void NoteLibraryStop() {
        if (!m_stopped && m_fixture.Journal().find(L"sim: UninstallTelvarion") != std::wstring::npos) {
            m_stopped = true;
            m_events.push_back("library stopped");
        }
    }
    void Add(const std::string& event) {
        NoteLibraryStop();
        m_events.push_back(event);
    }

    static BOOL WINAPI Tray(DWORD message, PNOTIFYICONDATAW data) {
        if (message == NIM_DELETE) s_current->Add("tray: delete");
        return s_current->m_next.ShellNotifyIcon(message, data);
    }
    static HINSTANCE WINAPI Shell(HWND owner, LPCWSTR verb, LPCWSTR file, LPCWSTR parameters, LPCWSTR directory,
                                  INT show) {
        s_current->Add("shell: " + Narrow(file ? file : L""));
        return s_current->m_next.ShellExecute(owner, verb, file, parameters, directory, show);
    }
    static void WINAPI Debug(LPCWSTR text) {
        std::string line = "debug: " + Narrow(text ? text : L"");
        if (line == "debug: ::PostQuitMessage")
            line += IsWindow(s_current->m_fixture.Hwnd()) ? " (panel alive)" : " (panel gone)";
        s_current->Add(line);
        s_current->m_next.OutputDebugString(text);
    }

    static Timeline* s_current;
    PanelFixture& m_fixture;
    PlatformCalls m_next;
    std::vector<std::string> m_events;
    bool m_stopped = false;
};
Timeline* Timeline::s_current = nullptr;

// Starts the panel kept hidden from the start, for tests that do not look at it: under Wine,
// hiding or destroying a shown window without a window manager stalls for about two seconds.
bool StartHidden(PanelFixture& f) {
    CreateDirectoryW((f.tree.AppData() + L"\\Telvarion").c_str(), nullptr);
    CopyFileW(f.tree.InstallIni().c_str(), f.tree.UserIni().c_str(), FALSE);
    WritePrivateProfileStringW(L"Device", L"bHideTelvarionDlg", L"1", f.tree.UserIni().c_str());
    return f.Start() && f.panel->HideAtStart();
}

// Sets an environment variable for one scope.
class ScopedEnvironment {
public:
    ScopedEnvironment(const wchar_t* name, const wchar_t* value) : m_name(name) { SetEnvironmentVariableW(name, value); }
    ~ScopedEnvironment() { SetEnvironmentVariableW(m_name, nullptr); }

private:
    const wchar_t* m_name;
};

// The about boxes of this thread: dialogs other than the panel.
struct DialogSearch {
    HWND panel;
    std::vector<HWND> found;
};
BOOL CALLBACK CollectDialog(HWND hwnd, LPARAM lp) {
    auto* search = reinterpret_cast<DialogSearch*>(lp);
    wchar_t cls[16] = L"";
    GetClassNameW(hwnd, cls, 16);
    if (hwnd != search->panel && !wcscmp(cls, L"#32770")) search->found.push_back(hwnd);
    return TRUE;
}
std::vector<HWND> AboutBoxes(HWND panel) {
    DialogSearch search{panel, {}};
    EnumThreadWindows(GetCurrentThreadId(), &CollectDialog, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// Runs inside the about box's modal loop: asks for About a second time, counts the boxes, and
// closes them all. A deadline ends any loop that is still running, so the test cannot hang.
struct AboutProbe {
    static AboutProbe* current;
    HWND panel = nullptr;
    DWORD deadline = 0;
    int stage = 0;
    size_t mostBoxes = 0;
    bool flagWhileOpen = false;
    bool secondReturned = false;

    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
        AboutProbe& p = *current;
        const std::vector<HWND> boxes = AboutBoxes(p.panel);
        p.mostBoxes = std::max(p.mostBoxes, boxes.size());
        if (p.stage == 0 && !boxes.empty()) {
            p.stage = 1;
            auto* dlg = static_cast<CTelvarionDlg*>(CWindow::FromHandle(p.panel));
            p.flagWhileOpen = dlg && dlg->AboutOpen();
            SendMessageW(p.panel, WM_TRAYICON_COMMAND, TRAYCMD_MENU, ID_APP_ABOUT);
            p.secondReturned = true;
            return;
        }
        const LONG late = static_cast<LONG>(GetTickCount() - p.deadline);
        if (p.stage == 1 || late >= 0)
            for (HWND box : boxes) PostMessageW(box, WM_COMMAND, IDOK, 0);
        // A modal loop that no OK ends still stops on WM_QUIT.
        if (late > 2000) PostQuitMessage(0);
    }
};
AboutProbe* AboutProbe::current = nullptr;

}  // namespace

TEST_CASE("commands: other senders, and ids that are no command, do nothing") {
    PanelFixture f;
    REQUIRE(StartHidden(f));
    const std::wstring language = g_szLanguagePath;
    const std::string userIni = FileBytes(szUserIniPath);
    struct Case {
        WPARAM wParam;
        LPARAM id;
    };
    const Case cases[] = {
        {0, ID_TRAY_EXIT}, {TRAYCMD_MENU + 1, ID_TRAY_EXIT}, {TRAYCMD_MENU - 1, ID_TRAY_HELP},
        {0x10000 | TRAYCMD_MENU, ID_TRAY_EXIT},  // no part of wParam is ignored
        {TRAYCMD_MENU, 0},  // the menu was dismissed
        {TRAYCMD_MENU, 100}, {TRAYCMD_MENU, 102}, {TRAYCMD_MENU, -1},
    };
    f.seam.Clear();
    f.ClearJournal();
    for (const Case& c : cases) {
        CAPTURE(c.wParam);
        CAPTURE(c.id);
        SendMessageW(f.Hwnd(), WM_TRAYICON_COMMAND, c.wParam, c.id);
        PumpFor(0);
        CHECK(IsWindow(f.Hwnd()));
        CHECK_FALSE(TakeQuitMessage());
        CHECK(f.seam.tray.empty());
        CHECK(f.seam.shell.empty());
        CHECK(f.seam.boxes.empty());
        CHECK(Narrow(f.Journal()) == "");
        CHECK(Narrow(g_szLanguagePath) == Narrow(language));
        CHECK(FileBytes(szUserIniPath) == userIni);
    }
    f.Command(ID_TRAY_EXIT);
}

TEST_CASE("commands: About chosen again while its box is open shows no second box") {
    PanelFixture f;
    REQUIRE(f.Start());
    AboutProbe probe;
    probe.panel = f.Hwnd();
    probe.deadline = GetTickCount() + 5000;
    AboutProbe::current = &probe;
    const UINT_PTR timer = SetTimer(nullptr, 0, 50, &AboutProbe::Tick);
    REQUIRE(timer);
    f.Command(ID_APP_ABOUT);
    KillTimer(nullptr, timer);
    AboutProbe::current = nullptr;
    CHECK_FALSE(TakeQuitMessage());

    CHECK(probe.stage == 1);
    CHECK(probe.flagWhileOpen);
    CHECK(probe.secondReturned);
    CHECK(probe.mostBoxes == 1);
    CHECK_FALSE(f.panel->AboutOpen());
    CHECK(AboutBoxes(f.Hwnd()).empty());
    f.Command(ID_TRAY_EXIT);
}

TEST_CASE("commands: Help and Update open their links hidden, with the panel as owner") {
    PanelFixture f;
    REQUIRE(StartHidden(f));
    struct Case {
        LPARAM id;
        const wchar_t* key;
    };
    for (const Case& c : {Case{ID_TRAY_HELP, L"Help"}, Case{ID_TRAY_UPDATE, L"Update"}}) {
        CAPTURE(Narrow(c.key));
        f.seam.Clear();
        f.Command(c.id);
        REQUIRE(f.seam.shell.size() == 1);
        const ShellCall& call = f.seam.shell[0];
        CHECK(call.owner == f.Hwnd());
        CHECK(Narrow(call.verb) == "open");
        REQUIRE_FALSE(AppValue(c.key).empty());
        CHECK(Narrow(call.file) == Narrow(AppValue(c.key)));
        CHECK(Narrow(call.parameters) == "(null)");
        CHECK(Narrow(call.directory) == "(null)");
        CHECK(call.show == SW_HIDE);
    }
    f.Command(ID_TRAY_EXIT);
}

TEST_CASE("commands: closing hides the panel and keeps the icon and the library; Configure shows it again") {
    PanelFixture f;
    REQUIRE(f.Start());
    REQUIRE(IsWindowVisible(f.Hwnd()));
    f.seam.Clear();
    f.ClearJournal();

    SendMessageW(f.Hwnd(), WM_CLOSE, 0, 0);
    PumpFor(0);
    CHECK(IsWindow(f.Hwnd()));
    CHECK_FALSE(IsWindowVisible(f.Hwnd()));
    CHECK_FALSE(TakeQuitMessage());
    CHECK(f.seam.CountTray(NIM_DELETE) == 0);
    CHECK(f.panel->TrayIcon().Shown());
    CHECK(Narrow(f.Journal()) == "");
    // The library still reports to the panel.
    REQUIRE(f.Sim(L"online"));
    CHECK(PumpUntil([&] { return f.panel->SkypeOnline(); }, 3000));

    f.seam.Clear();
    f.Command(ID_TRAY_CONFIGURE);
    CHECK(IsWindowVisible(f.Hwnd()));
    CHECK(f.seam.tray.empty());
    CHECK(f.seam.shell.empty());
    f.Command(ID_TRAY_EXIT);
}

TEST_CASE("commands: Advanced asks the library for its options window") {
    PanelFixture f;
    REQUIRE(StartHidden(f));
    f.ClearJournal();
    f.Command(ID_TRAY_ADVANCED);
    CHECK(f.WaitForJournal(L"sim: options", 3000));
    f.Command(ID_TRAY_EXIT);
}

TEST_CASE("commands: the session may end, and its end stops the library and the program") {
    PanelFixture f;
    REQUIRE(StartHidden(f));
    CHECK(SendMessageW(f.Hwnd(), WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF) == TRUE);
    f.seam.Clear();
    SendMessageW(f.Hwnd(), WM_ENDSESSION, FALSE, ENDSESSION_LOGOFF);
    PumpFor(0);
    CHECK(IsWindow(f.Hwnd()));
    CHECK_FALSE(TakeQuitMessage());
    CHECK(f.seam.tray.empty());
    CHECK(f.Journal().find(L"sim: UninstallTelvarion") == std::wstring::npos);
    f.Command(ID_TRAY_EXIT);
}

TEST_CASE("commands: Exit and the session's end stop the library first, then remove the panel and quit") {
    struct Case {
        const char* name;
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
    };
    const Case cases[] = {
        {"Exit", WM_TRAYICON_COMMAND, TRAYCMD_MENU, ID_TRAY_EXIT},
        {"session end", WM_ENDSESSION, TRUE, static_cast<LPARAM>(ENDSESSION_LOGOFF)},
    };
    for (const Case& c : cases) {
        CAPTURE(c.name);
        PanelFixture f;
        REQUIRE(StartHidden(f));
        const HWND panel = f.Hwnd();
        f.seam.Clear();
        f.ClearJournal();
        std::vector<std::string> events;
        {
            Timeline timeline(f);
            SendMessageW(panel, c.message, c.wParam, c.lParam);
            events = timeline.Events();
        }
        const std::vector<std::string> expected = {"debug: Uninstall Telvarion.dll", "library stopped", "tray: delete",
                                                   "debug: ::PostQuitMessage (panel gone)"};
        CHECK(events == expected);
        CHECK(TakeQuitMessage());
        CHECK_FALSE(IsWindow(panel));
        CHECK(f.seam.shell.empty());
        CHECK(f.seam.CountTray(NIM_DELETE) == 1);
        // The tray icon object's own destruction finds the icon gone already.
        f.app.m_pMainWnd = nullptr;
        f.panel.reset();
        CHECK(f.seam.CountTray(NIM_DELETE) == 1);
    }
}

TEST_CASE("commands: a library that fails to start is reported once, and the panel comes up all the same") {
    PanelFixture f;
    {
        ScopedEnvironment failing(L"TELVARION_SIM_FAIL_INSTALL", L"1");
        REQUIRE(StartHidden(f));
    }
    REQUIRE(f.seam.boxes.size() == 1);
    CHECK(Narrow(f.seam.boxes[0].text) == "InstallTelvarion Failed");
    CHECK(f.seam.boxes[0].type == MB_OK);
    CHECK(f.panel->LibraryWindow() == nullptr);
    CHECK(f.Journal().find(L"sim: language") == std::wstring::npos);

    // The rest of the initialisation ran: sliders set up, the status shown.
    const HWND speaker = GetDlgItem(f.Hwnd(), IDC_SLIDER_SPEAKER);
    CHECK(SendMessageW(speaker, TBM_GETRANGEMAX, 0, 0) == 100);
    CHECK(SendMessageW(speaker, TBM_GETPOS, 0, 0) == 50);
    CHECK(f.panel->TrayIcon().Shown());

    // Advanced has nobody to ask, and asks nobody else either.
    f.Command(ID_TRAY_ADVANCED);
    MSG msg;
    CHECK_FALSE(PeekMessageW(&msg, nullptr, WM_DEVLIB_POPUP_OPTIONS, WM_DEVLIB_POPUP_OPTIONS, PM_REMOVE));
    f.Command(ID_TRAY_EXIT);
    CHECK(TakeQuitMessage());
}
