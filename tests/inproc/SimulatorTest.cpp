// The device library simulator, loaded from this executable's folder the way the program loads
// the adapter maker's library, and driven through each of its channels.
#include <doctest/doctest.h>
#include "resources/ids.h"
#include "device/DeviceLibraryContract.h"
#include "simulator/SimulatorControl.h"
#include "tests/support/Pump.h"

#include <windows.h>
#include <commctrl.h>
#include <cwchar>
#include <string>
#include <thread>
#include <vector>

namespace {

std::wstring ExeDir() {
    wchar_t path[MAX_PATH] = L"";
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring dir = path;
    return dir.substr(0, dir.find_last_of(L'\\'));
}

// Narrow text for comparisons, so that doctest can print both sides of a failed check.
std::string U8(const std::wstring& text) {
    if (text.empty()) return std::string();
    const int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string narrow(size, '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), &narrow[0], size, nullptr, nullptr);
    return narrow;
}

std::wstring Hex(unsigned long value) {
    wchar_t text[16];
    swprintf(text, 16, L"%lx", value);
    return text;
}

// GetProcAddress's result as the operation's own type; through void* because the two function
// types have nothing in common.
template <class Fn>
Fn Bind(HMODULE module, LPCSTR nameOrOrdinal) {
    return reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module, nameOrOrdinal)));
}

template <class Fn>
bool Bound(Fn fn) { return fn != nullptr; }

bool Exported(HMODULE module, LPCSTR nameOrOrdinal) { return GetProcAddress(module, nameOrOrdinal) != nullptr; }

// The program's panel as far as the library can tell: a window that receives its reports.
class Panel {
public:
    struct Report {
        UINT message;
        WPARAM wp;
        DWORD tick;
    };

    Panel() {
        WNDCLASSW wc = {};
        wc.lpfnWndProc = Proc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"SimulatorTestPanel";
        RegisterClassW(&wc);  // a second test finds it registered already
        m_hwnd = CreateWindowExW(0, wc.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, nullptr);
        REQUIRE(m_hwnd);
        SetWindowLongPtrW(m_hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    }
    ~Panel() { DestroyWindow(m_hwnd); }
    Panel(const Panel&) = delete;
    Panel& operator=(const Panel&) = delete;

    HWND Hwnd() const { return m_hwnd; }
    std::vector<Report>& Reports() { return m_reports; }
    bool WaitFor(size_t count, DWORD timeoutMs = 3000) {
        return PumpUntil([&] { return m_reports.size() >= count; }, timeoutMs);
    }

private:
    static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
        auto* self = reinterpret_cast<Panel*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
        if (self && msg >= WM_DEVLIB_SKYPE_ONLINE && msg <= WM_DEVLIB_ONHOOK)
            self->m_reports.push_back({msg, wp, GetTickCount()});
        return DefWindowProcW(hwnd, msg, wp, lp);
    }

    HWND m_hwnd = nullptr;
    std::vector<Report> m_reports;
};

// The library for one test: loaded by full path, uninstalled and freed at the end, with an
// empty journal at the start.
class Simulator {
public:
    Simulator() {
        m_module = LoadLibraryW((ExeDir() + L"\\Telvarion.dll").c_str());
        REQUIRE_MESSAGE(m_module, "Telvarion.dll is expected beside the test executable");
        install = Bind<InstallTelvarionFn>(m_module, TELVARION_INSTALL_NAME);
        uninstall = Bind<UninstallTelvarionFn>(m_module, TELVARION_UNINSTALL_NAME);
        getVolumes = Bind<GetVolumesFn>(m_module, MAKEINTRESOURCEA(TELVARION_GETVOLUMES_ORDINAL));
        setVolumes = Bind<SetVolumesFn>(m_module, MAKEINTRESOURCEA(TELVARION_SETVOLUMES_ORDINAL));
        command = Bind<TelvarionSimCommandFn>(m_module, "TelvarionSimCommand");
        journal = Bind<TelvarionSimJournalFn>(m_module, "TelvarionSimJournal");
        clearJournal = Bind<TelvarionSimClearJournalFn>(m_module, "TelvarionSimClearJournal");
        REQUIRE(Bound(install));
        REQUIRE(Bound(uninstall));
        REQUIRE(Bound(getVolumes));
        REQUIRE(Bound(setVolumes));
        REQUIRE(Bound(command));
        REQUIRE(Bound(journal));
        REQUIRE(Bound(clearJournal));
        clearJournal();
    }
    ~Simulator() {
        if (m_window) uninstall();
        FreeLibrary(m_module);
    }
    Simulator(const Simulator&) = delete;
    Simulator& operator=(const Simulator&) = delete;

    HMODULE Module() const { return m_module; }
    HWND Install(HWND panel) { return m_window = install(panel); }
    void Uninstall() {
        uninstall();
        m_window = nullptr;
    }
    bool Command(const wchar_t* text) { return command(text) != 0; }
    std::string Journal() const {
        std::vector<wchar_t> text(journal(nullptr, 0) + 1);
        journal(text.data(), static_cast<int>(text.size()));
        return U8(text.data());
    }

    InstallTelvarionFn install = nullptr;
    UninstallTelvarionFn uninstall = nullptr;
    GetVolumesFn getVolumes = nullptr;
    SetVolumesFn setVolumes = nullptr;
    TelvarionSimCommandFn command = nullptr;
    TelvarionSimJournalFn journal = nullptr;
    TelvarionSimClearJournalFn clearJournal = nullptr;

private:
    HMODULE m_module = nullptr;
    HWND m_window = nullptr;
};

// An environment variable set for one test and put back afterwards.
class ScopedEnvironment {
public:
    ScopedEnvironment(const wchar_t* name, const wchar_t* value) : m_name(name) {
        wchar_t old[1024];
        const DWORD length = GetEnvironmentVariableW(name, old, 1024);
        m_had = length > 0 && length < 1024;
        if (m_had) m_old = old;
        SetEnvironmentVariableW(name, value);
    }
    ~ScopedEnvironment() { SetEnvironmentVariableW(m_name, m_had ? m_old.c_str() : nullptr); }
    ScopedEnvironment(const ScopedEnvironment&) = delete;
    ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

private:
    const wchar_t* m_name;
    std::wstring m_old;
    bool m_had = false;
};

std::wstring ClassOf(HWND hwnd) {
    wchar_t name[64] = L"";
    GetClassNameW(hwnd, name, 64);
    return name;
}

std::wstring WideTextOf(HWND hwnd) {
    wchar_t text[600] = L"";
    GetWindowTextW(hwnd, text, 600);
    return text;
}

std::string TextOf(HWND hwnd) { return U8(WideTextOf(hwnd)); }

// How a test in another process finds the simulator: its class, owned by the given process.
struct SimulatorSearch {
    DWORD pid;
    HWND found;
};

BOOL CALLBACK MatchSimulator(HWND hwnd, LPARAM lp) {
    auto* search = reinterpret_cast<SimulatorSearch*>(lp);
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    if (pid != search->pid || ClassOf(hwnd) != L"TelvarionSimulator") return TRUE;
    search->found = hwnd;
    return FALSE;
}

HWND FindSimulatorOf(DWORD processId) {
    SimulatorSearch search = {processId, nullptr};
    EnumWindows(MatchSimulator, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

BOOL CALLBACK CollectOptions(HWND hwnd, LPARAM lp) {
    if (ClassOf(hwnd) == L"TelvarionSimulatorOptions") reinterpret_cast<std::vector<HWND>*>(lp)->push_back(hwnd);
    return TRUE;
}

std::vector<HWND> OptionsWindows() {
    std::vector<HWND> found;
    EnumThreadWindows(GetCurrentThreadId(), CollectOptions, reinterpret_cast<LPARAM>(&found));
    return found;
}

struct PrefixSearch {
    const std::wstring* prefix;
    HWND found;
};

BOOL CALLBACK MatchPrefix(HWND hwnd, LPARAM lp) {
    auto* search = reinterpret_cast<PrefixSearch*>(lp);
    if (WideTextOf(hwnd).compare(0, search->prefix->size(), *search->prefix) != 0) return TRUE;
    search->found = hwnd;
    return FALSE;
}

HWND ChildWithTextPrefix(HWND parent, const std::wstring& prefix) {
    PrefixSearch search = {&prefix, nullptr};
    EnumChildWindows(parent, MatchPrefix, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

}  // namespace

TEST_SUITE_BEGIN("simulator");

TEST_CASE("simulator: the two operations are exported by name and the volume ones by ordinal only") {
    Simulator sim;
    const HMODULE m = sim.Module();
    CHECK(Exported(m, "InstallTelvarion"));
    CHECK(Exported(m, "UninstallTelvarion"));
    CHECK(Exported(m, MAKEINTRESOURCEA(5)));
    CHECK(Exported(m, MAKEINTRESOURCEA(6)));
    CHECK((GetProcAddress(m, MAKEINTRESOURCEA(5)) != GetProcAddress(m, MAKEINTRESOURCEA(6))));
    const char* absent[] = {"GetVolumes", "SetVolumes", "_InstallTelvarion@4", "InstallTelvarion@4",
                            "_UninstallTelvarion@0"};
    for (const char* name : absent) {
        CAPTURE(name);
        CHECK_MESSAGE(!Exported(m, name), "exported by a name the program never uses");
    }
}

TEST_CASE("simulator: installation makes a hidden top-level window on the calling thread") {
    Simulator sim;
    Panel panel;
    const HWND window = sim.Install(panel.Hwnd());
    REQUIRE(window);
    DWORD pid = 0;
    CHECK(GetWindowThreadProcessId(window, &pid) == GetCurrentThreadId());
    CHECK(pid == GetCurrentProcessId());
    CHECK_FALSE(IsWindowVisible(window));
    CHECK(GetAncestor(window, GA_PARENT) == GetDesktopWindow());
    const std::wstring title = L"Telvarion simulator " + Hex(GetCurrentProcessId());
    CHECK(TextOf(window) == U8(title));
    CHECK(FindWindowW(L"TelvarionSimulator", title.c_str()) == window);
    CHECK(FindSimulatorOf(GetCurrentProcessId()) == window);

    sim.Uninstall();
    CHECK_FALSE(IsWindow(window));
    CHECK(FindSimulatorOf(GetCurrentProcessId()) == nullptr);
    CHECK(sim.Journal() == "sim: InstallTelvarion\nsim: UninstallTelvarion\n");
}

TEST_CASE("simulator: installation fails only when TELVARION_SIM_FAIL_INSTALL is exactly 1") {
    struct Case { const wchar_t* value; bool fails; };
    const Case cases[] = {{L"1", true}, {L"0", false}, {L"11", false}, {L"", false}, {nullptr, false}};
    for (const Case& c : cases) {
        const std::string value = c.value ? U8(c.value) : "(unset)";
        CAPTURE(value);
        ScopedEnvironment failing(L"TELVARION_SIM_FAIL_INSTALL", c.value);
        Simulator sim;
        Panel panel;
        const HWND window = sim.Install(panel.Hwnd());
        CHECK((window == nullptr) == c.fails);
        CHECK((FindSimulatorOf(GetCurrentProcessId()) == nullptr) == c.fails);
        CHECK(sim.Journal() == "sim: InstallTelvarion\n");
    }
}

TEST_CASE("simulator: each command reports to the panel with its message and wParam") {
    struct Case { const wchar_t* text; UINT message; WPARAM wp; };
    const Case cases[] = {
        {L"online", WM_DEVLIB_SKYPE_ONLINE, 0},
        {L"offline", WM_DEVLIB_SKYPE_OFFLINE, 0},
        {L"arrive", WM_DEVLIB_DEVICE_ARRIVED, 0x0200},
        {L"ARRIVE 0x0540", WM_DEVLIB_DEVICE_ARRIVED, 0x0540},
        {L"arrive 0X56f", WM_DEVLIB_DEVICE_ARRIVED, 0x056F},
        {L"arrive 1392", WM_DEVLIB_DEVICE_ARRIVED, 0x0570},
        {L"arrive 0x10540", WM_DEVLIB_DEVICE_ARRIVED, 0x10540},  // high bits reach the program as given
        {L"Remove", WM_DEVLIB_DEVICE_REMOVED, 0},
        {L"offhook", WM_DEVLIB_OFFHOOK, 0},
        {L"onhook", WM_DEVLIB_ONHOOK, 0},
    };
    Simulator sim;
    Panel panel;
    REQUIRE(sim.Install(panel.Hwnd()));
    for (const Case& c : cases) {
        const std::string command = U8(c.text);
        CAPTURE(command);
        panel.Reports().clear();
        CHECK(sim.Command(c.text));
        REQUIRE(panel.WaitFor(1));
        PumpFor(30);  // a second report would have arrived by now
        REQUIRE(panel.Reports().size() == 1);
        CHECK(panel.Reports()[0].message == c.message);
        CHECK(panel.Reports()[0].wp == c.wp);
    }

    panel.Reports().clear();
    CHECK(sim.Command(L"volumes 10 20"));
    PumpFor(100);
    CHECK_MESSAGE(panel.Reports().empty(), "a volume change is polled by the program, not reported");

    CHECK(sim.Command(L" online ;arrive 0x300\r\n\n offhook;; "));
    REQUIRE(panel.WaitFor(3));
    CHECK(panel.Reports()[0].message == WM_DEVLIB_SKYPE_ONLINE);
    CHECK(panel.Reports()[1].message == WM_DEVLIB_DEVICE_ARRIVED);
    CHECK(panel.Reports()[1].wp == 0x300);
    CHECK(panel.Reports()[2].message == WM_DEVLIB_OFFHOOK);
}

TEST_CASE("simulator: nothing reaches the panel before installation or after uninstallation") {
    Simulator sim;
    Panel panel;
    CHECK(sim.Command(L"online; arrive; offhook"));
    REQUIRE(sim.Install(panel.Hwnd()));
    sim.Uninstall();
    CHECK(sim.Command(L"offline; remove; onhook; arrive 0x0300"));
    PumpFor(150);
    CHECK(panel.Reports().empty());
}

TEST_CASE("simulator: commands are journaled as run, and bad ones as errors that change nothing") {
    Simulator sim;
    Panel panel;
    REQUIRE(sim.Install(panel.Hwnd()));
    const wchar_t* bad[] = {
        L"dance", L"arrive 0xZZ", L"arrive -1", L"arrive 0x100000000", L"arrive 1 2", L"arrive 0x",
        L"volumes 101 5", L"volumes 5 -2", L"volumes 5", L"volumes a b", L"online now",
        L"wait 10",  // only a script can wait
    };
    for (const wchar_t* text : bad) {
        const std::string command = U8(text);
        CAPTURE(command);
        sim.clearJournal();
        CHECK_FALSE(sim.Command(text));
        CHECK(sim.Journal() == "sim: error " + command + "\n");
    }
    int speaker = -1, mic = -1;
    sim.getVolumes(&speaker, &mic);
    CHECK_MESSAGE(speaker == -1, "no adapter arrived from a bad command");
    PumpFor(50);
    CHECK(panel.Reports().empty());

    sim.clearJournal();
    CHECK_FALSE(sim.Command(L"online;  DANCE  now ;\tArRiVe   0x0300 "));
    CHECK(sim.Journal() == "sim: command online\nsim: error DANCE now\nsim: command ArRiVe 0x0300\n");
    REQUIRE(panel.WaitFor(2));
    CHECK(panel.Reports()[1].wp == 0x0300);
}

TEST_CASE("simulator: GetVolumes and SetVolumes follow the adapter") {
    struct Case {
        const char* what;
        const wchar_t* setup;
        bool callSet;
        int setSpeaker, setMic;
        const wchar_t* after;          // commands after SetVolumes
        int presetSpeaker, presetMic;  // what the caller's variables hold before GetVolumes
        int speaker, mic;              // what they hold afterwards
    };
    const Case cases[] = {
        {"no adapter writes nothing", L"", false, 0, 0, L"", -1, -1, -1, -1},
        {"no adapter leaves any preset", L"", false, 0, 0, L"", 7, 8, 7, 8},
        {"an adapter starts at 50", L"arrive", false, 0, 0, L"", -1, -1, 50, 50},
        {"both applied", L"arrive", true, 30, 70, L"", -1, -1, 30, 70},
        {"-1 keeps the speaker", L"arrive", true, -1, 70, L"", -1, -1, 50, 70},
        {"-1 keeps the microphone", L"arrive", true, 30, -1, L"", -1, -1, 30, 50},
        {"-1 twice changes nothing", L"arrive", true, -1, -1, L"", -1, -1, 50, 50},
        {"clamped to 0..100", L"arrive", true, 150, -20, L"", -1, -1, 100, 0},
        {"clamped at the edges", L"arrive", true, 101, -2, L"", -1, -1, 100, 0},
        {"the range's ends themselves", L"arrive", true, 0, 100, L"", -1, -1, 0, 100},
        {"nothing without an adapter", L"arrive; remove", true, 10, 20, L"", -1, -1, -1, -1},
        {"ignored without an adapter", L"arrive; remove", true, 10, 20, L"arrive", -1, -1, 50, 50},
        {"kept across a removal", L"arrive", true, 10, 20, L"remove; arrive 0x0300", -1, -1, 10, 20},
        {"device-side change", L"arrive; volumes 0 100", false, 0, 0, L"", -1, -1, 0, 100},
        {"speaker not available", L"arrive; volumes -1 40", false, 0, 0, L"", -1, -1, -1, 40},
        {"not available stays so", L"arrive; volumes -1 40", true, 10, 10, L"", 9, -1, 9, 10},
        {"neither available", L"arrive; volumes -1 -1", true, 10, 10, L"", 5, 6, 5, 6},
        {"available again", L"arrive; volumes -1 -1", true, 10, 10, L"volumes 30 -1", -1, -1, 30, -1},
    };
    Simulator sim;
    Panel panel;
    for (const Case& c : cases) {
        const std::string what = c.what;
        CAPTURE(what);
        REQUIRE(sim.Install(panel.Hwnd()));  // each installation starts from the start state
        CHECK(sim.Command(c.setup));
        if (c.callSet) sim.setVolumes(c.setSpeaker, c.setMic);
        CHECK(sim.Command(c.after));
        int speaker = c.presetSpeaker, mic = c.presetMic;
        sim.clearJournal();
        sim.getVolumes(&speaker, &mic);
        CHECK(speaker == c.speaker);
        CHECK(mic == c.mic);
        sim.Uninstall();
    }
}

TEST_CASE("simulator: the program's volume calls are journaled with what they carried and returned") {
    Simulator sim;
    Panel panel;
    REQUIRE(sim.Install(panel.Hwnd()));
    int speaker = 5, mic = 6;
    sim.getVolumes(&speaker, &mic);
    CHECK(sim.Command(L"arrive; volumes 20 -1"));
    sim.setVolumes(150, 30);
    speaker = mic = -1;
    sim.getVolumes(&speaker, &mic);
    CHECK(sim.Journal() ==
          "sim: InstallTelvarion\n"
          "sim: GetVolumes -1 -1\n"
          "sim: command arrive\n"
          "sim: command volumes 20 -1\n"
          "sim: SetVolumes 150 30\n"
          "sim: GetVolumes 100 -1\n");
}

TEST_CASE("simulator: the journal keeps its latest whole lines and copies into a bounded buffer") {
    Simulator sim;
    std::wstring many;
    for (int i = 0; i < 4000; ++i) many += L"volumes " + std::to_wstring(i % 101) + L" 7;";
    CHECK(sim.Command(many.c_str()));
    CHECK(sim.Command(L"onhook"));
    const std::string journal = sim.Journal();
    CHECK(journal.size() <= 64 * 1024 / 2);
    CHECK(journal.size() > 16 * 1024);
    CHECK(journal.compare(0, 21, "sim: command volumes ") == 0);  // cut at a line's start
    CHECK(journal.size() - journal.rfind("sim: command onhook\n") == 20);

    sim.clearJournal();
    sim.Command(L"online");
    const int length = static_cast<int>(std::string("sim: command online\n").size());
    wchar_t small[8];
    wmemset(small, L'#', 8);
    CHECK(sim.journal(small, 6) == length);
    CHECK(U8(small) == "sim: ");
    CHECK(small[6] == L'#');
    CHECK(sim.journal(nullptr, 0) == length);
    CHECK(sim.journal(small, 0) == length);
    CHECK(small[0] == L's');
}

TEST_CASE("simulator: the language file's path is recorded, bounded to 260 units, and journaled") {
    Simulator sim;
    Panel panel;
    const HWND window = sim.Install(panel.Hwnd());
    REQUIRE(window);
    const std::wstring shortPath = L"C:\\Program Files\\Telvarion\\Language\\Deutsch.ini";
    SendMessageW(window, WM_DEVLIB_LANGUAGE_FILE, reinterpret_cast<WPARAM>(shortPath.c_str()), 0);
    std::wstring longPath = L"C:\\";
    while (longPath.size() < 400) longPath += L"abcdefghij\\";
    longPath += L"English.ini";
    SendMessageW(window, WM_DEVLIB_LANGUAGE_FILE, reinterpret_cast<WPARAM>(longPath.c_str()), 0);
    CHECK(sim.Journal() == "sim: InstallTelvarion\n"
                           "sim: language " + U8(shortPath) + "\n"
                           "sim: language " + U8(longPath.substr(0, 259)) + "\n");

}

TEST_CASE("simulator: the options window opens once and drives the model as the commands do") {
    Simulator sim;
    Panel panel;
    CHECK_FALSE_MESSAGE(sim.Command(L"options"), "there is no options window before installation");
    const HWND window = sim.Install(panel.Hwnd());
    REQUIRE(window);
    const wchar_t* language = L"C:\\Telvarion\\Language\\Deutsch.ini";
    SendMessageW(window, WM_DEVLIB_LANGUAGE_FILE, reinterpret_cast<WPARAM>(language), 0);
    sim.clearJournal();
    PostMessageW(window, WM_DEVLIB_POPUP_OPTIONS, 0, 0);
    PostMessageW(window, WM_DEVLIB_POPUP_OPTIONS, 0, 0);
    PumpFor(200);
    REQUIRE(OptionsWindows().size() == 1);
    CHECK(sim.Command(L"options"));
    REQUIRE(OptionsWindows().size() == 1);
    const HWND options = OptionsWindows()[0];
    CHECK(IsWindowVisible(options));
    CHECK((GetWindowLongW(options, GWL_EXSTYLE) & WS_EX_TOOLWINDOW) != 0);
    CHECK(sim.Journal() == "sim: options\nsim: options\nsim: command options\n");

    const HWND online = FindWindowExW(options, nullptr, L"Button", L"Skype online");
    const HWND adapter = FindWindowExW(options, nullptr, L"Button", L"Adapter connected");
    const HWND offHook = FindWindowExW(options, nullptr, L"Button", L"Handset off hook");
    const HWND version = FindWindowExW(options, nullptr, L"Edit", nullptr);
    const HWND speaker = FindWindowExW(options, nullptr, TRACKBAR_CLASSW, nullptr);
    const HWND mic = FindWindowExW(options, speaker, TRACKBAR_CLASSW, nullptr);
    REQUIRE(online);
    REQUIRE(adapter);
    REQUIRE(offHook);
    REQUIRE(version);
    REQUIRE(speaker);
    REQUIRE(mic);
    REQUIRE(FindWindowExW(options, nullptr, L"Button", L"Close"));
    const HWND label = ChildWithTextPrefix(options, L"Language file: ");
    REQUIRE(label);
    CHECK_MESSAGE(TextOf(label) == "Language file: " + U8(language), "the path the program named last");

    // It reflects the model...
    CHECK(SendMessageW(adapter, BM_GETCHECK, 0, 0) == BST_UNCHECKED);
    CHECK_FALSE(IsWindowEnabled(speaker));
    CHECK(sim.Command(L"online; arrive 0x0345; volumes 20 -1"));
    CHECK(SendMessageW(online, BM_GETCHECK, 0, 0) == BST_CHECKED);
    CHECK(SendMessageW(adapter, BM_GETCHECK, 0, 0) == BST_CHECKED);
    CHECK(SendMessageW(offHook, BM_GETCHECK, 0, 0) == BST_UNCHECKED);
    CHECK(TextOf(version) == "0345");
    CHECK(IsWindowEnabled(speaker));
    CHECK(SendMessageW(speaker, TBM_GETPOS, 0, 0) == 20);
    CHECK_FALSE_MESSAGE(IsWindowEnabled(mic), "a volume the adapter lacks cannot be turned");
    sim.setVolumes(33, -1);
    CHECK(SendMessageW(speaker, TBM_GETPOS, 0, 0) == 33);

    // ...and its controls run the same commands.
    REQUIRE(panel.WaitFor(2));
    panel.Reports().clear();
    sim.clearJournal();
    SendMessageW(online, BM_CLICK, 0, 0);
    SendMessageW(offHook, BM_CLICK, 0, 0);
    SendMessageW(adapter, BM_CLICK, 0, 0);
    SetWindowTextW(version, L"0x0412");
    SendMessageW(adapter, BM_CLICK, 0, 0);
    CHECK(sim.Command(L"volumes 20 40"));
    SendMessageW(mic, TBM_SETPOS, TRUE, 66);  // as the trackbar does when dragged
    SendMessageW(options, WM_HSCROLL, MAKEWPARAM(TB_THUMBPOSITION, 66), reinterpret_cast<LPARAM>(mic));
    CHECK(sim.Journal() == "sim: command offline\nsim: command offhook\nsim: command remove\n"
                           "sim: command arrive 0x0412\nsim: command volumes 20 40\nsim: command volumes 20 66\n");
    REQUIRE(panel.WaitFor(4));
    CHECK(panel.Reports()[0].message == WM_DEVLIB_SKYPE_OFFLINE);
    CHECK(panel.Reports()[1].message == WM_DEVLIB_OFFHOOK);
    CHECK(panel.Reports()[2].message == WM_DEVLIB_DEVICE_REMOVED);
    CHECK(panel.Reports()[3].message == WM_DEVLIB_DEVICE_ARRIVED);
    CHECK(panel.Reports()[3].wp == 0x0412);
    int speakerVolume = -1, micVolume = -1;
    sim.getVolumes(&speakerVolume, &micVolume);
    CHECK(speakerVolume == 20);
    CHECK(micVolume == 66);

    // A version that is no number plugs nothing in, and the box says so.
    // (Closing a captioned window costs two seconds under Wine without a window manager, so
    // this one test covers both ways it closes.)
    SendMessageW(adapter, BM_CLICK, 0, 0);
    SetWindowTextW(version, L"XYZ");
    SendMessageW(adapter, BM_CLICK, 0, 0);
    CHECK(SendMessageW(adapter, BM_GETCHECK, 0, 0) == BST_UNCHECKED);

    SendMessageW(FindWindowExW(options, nullptr, L"Button", L"Close"), BM_CLICK, 0, 0);
    CHECK_FALSE(IsWindow(options));
    PostMessageW(window, WM_DEVLIB_POPUP_OPTIONS, 0, 0);
    REQUIRE(PumpUntil([] { return OptionsWindows().size() == 1; }, 3000));
    sim.Uninstall();
    CHECK_MESSAGE(OptionsWindows().empty(), "the options window goes with the simulator");
}

TEST_CASE("simulator: WM_COPYDATA carries commands to the window found by class and process id") {
    Simulator sim;
    Panel panel;
    REQUIRE(sim.Install(panel.Hwnd()));
    struct Case {
        const char* what;
        ULONG_PTR channel;
        const wchar_t* text;
        int units;  // sent, terminator included where the text has one
        LRESULT result;
        UINT report;  // 0: none
    };
    const Case cases[] = {
        {"commands run", 0x5449, L"online", 7, TRUE, WM_DEVLIB_SKYPE_ONLINE},
        {"a bad one fails the whole", 0x5449, L"offhook; dance", 15, FALSE, WM_DEVLIB_OFFHOOK},
        {"another channel is refused", 0x1234, L"offline", 8, FALSE, 0},
        {"cbData bounds the text", 0x5449, L"removeXYZ", 6, TRUE, WM_DEVLIB_DEVICE_REMOVED},
        {"empty text is nothing to do", 0x5449, L"", 0, TRUE, 0},
    };
    for (const Case& c : cases) {
        const std::string what = c.what;
        CAPTURE(what);
        panel.Reports().clear();
        // Sent from another thread, which finds the window as another process would.
        LRESULT result = -1;
        bool done = false;
        std::thread sender([&] {
            COPYDATASTRUCT data = {c.channel, static_cast<DWORD>(c.units * sizeof(wchar_t)),
                                   const_cast<wchar_t*>(c.text)};
            const HWND target = FindSimulatorOf(GetCurrentProcessId());
            if (target) result = SendMessageW(target, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data));
            done = true;
        });
        PumpUntil([&] { return done; }, 3000);
        sender.join();
        CHECK(result == c.result);
        PumpFor(50);
        if (c.report) {
            REQUIRE(panel.Reports().size() == 1);
            CHECK(panel.Reports()[0].message == c.report);
        } else {
            CHECK(panel.Reports().empty());
        }
    }
}

TEST_CASE("simulator: the start-up script runs after installation, in order, paced by wait") {
    Panel panel;
    {
        ScopedEnvironment script(L"TELVARION_SIM_SCRIPT",
                                 L"online; wait 200\narrive 0x0300; WAIT 100; remove; bogus\r\noffhook");
        Simulator sim;
        REQUIRE(sim.Install(panel.Hwnd()));
        CHECK_MESSAGE(sim.Journal() == "sim: InstallTelvarion\n", "the script waits for the caller's message loop");
        REQUIRE(panel.WaitFor(4, 5000));
        const auto& r = panel.Reports();
        CHECK(r[0].message == WM_DEVLIB_SKYPE_ONLINE);
        CHECK(r[1].message == WM_DEVLIB_DEVICE_ARRIVED);
        CHECK(r[1].wp == 0x0300);
        CHECK(r[2].message == WM_DEVLIB_DEVICE_REMOVED);
        CHECK(r[3].message == WM_DEVLIB_OFFHOOK);
        CHECK(r[1].tick - r[0].tick >= 180);
        CHECK(r[2].tick - r[1].tick >= 80);
        CHECK(sim.Journal() == "sim: InstallTelvarion\nsim: command online\nsim: command wait 200\n"
                               "sim: command arrive 0x0300\nsim: command WAIT 100\nsim: command remove\n"
                               "sim: error bogus\nsim: command offhook\n");
    }
    panel.Reports().clear();
    {
        ScopedEnvironment script(L"TELVARION_SIM_SCRIPT", L"wait 150; online");
        Simulator sim;
        REQUIRE(sim.Install(panel.Hwnd()));
        sim.Uninstall();
        PumpFor(300);
        CHECK_MESSAGE(panel.Reports().empty(), "uninstallation drops the rest of the script");
    }
}

TEST_SUITE_END();
