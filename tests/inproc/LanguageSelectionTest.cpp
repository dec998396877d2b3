// Which language file the program takes at start (saved choice, else the system language)
// and what a language picked from the tray menu changes, and in which order.
#include <doctest/doctest.h>
#include "app/Configuration.h"
#include "i18n/LanguageManager.h"
#include "i18n/LanguageSelection.h"
#include "tests/inproc/PanelFixture.h"

#include <cstdint>
#include <cwchar>
#include <string>
#include <vector>

namespace {
std::wstring Widen(const std::string& text) { return std::wstring(text.begin(), text.end()); }

std::wstring SavedLanguageId() {
    wchar_t value[64] = L"";
    GetPrivateProfileStringW(szAppSection, L"LanguageID", L"(none)", value, 64, szUserIniPath);
    return value;
}

void SaveLanguageId(const wchar_t* value) {
    WritePrivateProfileStringW(szAppSection, L"LanguageID", value, szUserIniPath);
}

std::wstring TextOf(HWND hwnd) {
    wchar_t text[512] = L"";
    GetWindowTextW(hwnd, text, 512);
    return text;
}

// The value the next kernel handle gets. Handles are handed out from the lowest free slot, so
// handles that are never closed push it up.
uintptr_t NextHandleValue() {
    HANDLE event = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    const uintptr_t value = reinterpret_cast<uintptr_t>(event);
    CloseHandle(event);
    return value;
}

// The panel, ended the program's own way: that also uninstalls the simulated library, whose
// window and class would otherwise outlive its module into the next test.
struct Panel : PanelFixture {
    ~Panel() {
        if (IsWindow(Hwnd())) Command(ID_TRAY_EXIT);
        TakeQuitMessage();
    }
};

// The installation beside the test executable without a panel: enough for the start-up
// choice, which needs the configuration paths, the seam's system language and the manager.
struct Installation {
    ProgramTree tree;
    SeamRecorder seam;
    CLanguageManager languages;

    explicit Installation(LANGID system) {
        tree.InstallSample();
        seam.systemLanguage = system;
        g_szLanguagePath[0] = L'\0';
        PrepareConfiguration();
    }
    std::wstring Path(const std::wstring& file) const { return tree.LanguageDir() + L"\\" + file; }
};

// The longest file name whose path below the language folder still fits 260 units.
std::string LongestFittingName(const ProgramTree& tree) {
    const size_t folder = (tree.LanguageDir() + L"\\").size();
    return std::string(259 - folder - 4, 'L') + ".ini";
}

// What the shell is told while a language switch runs, with what had already happened then.
struct TooltipMoment {
    std::wstring tip;
    std::wstring managerFile;
    std::wstring journal;
};
Panel* g_panel = nullptr;
BOOL(WINAPI* g_forward)(DWORD, PNOTIFYICONDATAW) = nullptr;
std::vector<TooltipMoment> g_moments;

BOOL WINAPI NoteTooltip(DWORD message, PNOTIFYICONDATAW data) {
    if (message == NIM_MODIFY && (data->uFlags & NIF_TIP))
        g_moments.push_back({data->szTip, CLanguageManager::Instance()->CurrentFile(), g_panel->Journal()});
    return g_forward(message, data);
}

class TooltipWatch {
public:
    explicit TooltipWatch(Panel& f) {
        g_panel = &f;
        g_moments.clear();
        g_forward = Platform().ShellNotifyIcon;
        Platform().ShellNotifyIcon = &NoteTooltip;
    }
    ~TooltipWatch() {
        Platform().ShellNotifyIcon = g_forward;
        g_panel = nullptr;
    }
};

// A plain top-level window that the language manager's hook registers as it is created.
class Probe {
public:
    explicit Probe(const wchar_t* text)
        : m_hwnd(CreateWindowExW(0, L"Static", text, WS_POPUP, 0, 0, 80, 20, nullptr, nullptr,
                                 GetModuleHandleW(nullptr), nullptr)) {}
    ~Probe() {
        if (IsWindow(m_hwnd)) DestroyWindow(m_hwnd);
    }
    Probe(const Probe&) = delete;
    Probe& operator=(const Probe&) = delete;
    operator HWND() const { return m_hwnd; }

private:
    HWND m_hwnd;
};
}  // namespace

TEST_CASE("language: the default file follows the system language") {
    struct Case { LANGID language; const wchar_t* file; };
    const Case cases[] = {
        {0x0404, L"ChineseT.ini"}, {0x0804, L"ChineseS.ini"}, {0x0C04, L"ChineseS.ini"}, {0x1004, L"ChineseS.ini"},
        {0x0406, L"Denmark.ini"},  {0x0409, L"English.ini"},  {0x0809, L"English.ini"},  {0x040A, L"Spanish.ini"},
        {0x040B, L"Finland.ini"},  {0x040C, L"French.ini"},   {0x0C0C, L"French.ini"},   {0x040D, L"Hevrew.ini"},
        {0x0411, L"Japanese.ini"}, {0x0412, L"Korea.ini"},    {0x0413, L"Dutch.ini"},    {0x0419, L"Russian.ini"},
        {0x041D, L"Sweden.ini"},   {0x081D, L"Sweden.ini"},   {0x042A, L"Vietnamese.ini"},
        {0x0407, L"English.ini"},  {0x0416, L"English.ini"},  {0x0000, L"English.ini"},
    };
    for (const Case& c : cases) {
        CAPTURE(c.language);
        CHECK(std::wstring(DefaultLanguageFile(c.language)) == c.file);
    }
}

TEST_CASE("language: a saved choice wins at start only when LangType.ini maps it to a file") {
    // The system says Swedish; the sample list maps 0, 1, 2 to English, French, Sweden.
    struct Case {
        const char* name;
        const wchar_t* savedId;  // null: nothing saved
        const char* list;        // null: the sample list; "": no list file at all
        const wchar_t* expected;
    };
    const Case cases[] = {
        {"nothing saved", nullptr, nullptr, L"Sweden.ini"},
        {"saved 1 is French", L"1", nullptr, L"French.ini"},
        {"saved 0 is English", L"0", nullptr, L"English.ini"},
        {"saved key without a Files entry", L"7", nullptr, L"Sweden.ini"},
        {"saved key with an empty Files value", L"1", "[Files]\r\n0=English.ini\r\n1=\r\n", L"Sweden.ini"},
        {"no list file", L"1", "", L"Sweden.ini"},
        {"three characters are cut to two", L"123", "[Files]\r\n12=French.ini\r\n123=English.ini\r\n", L"French.ini"},
        {"a subfolder is joined unchanged", L"1", "[Files]\r\n1=more\\French.ini\r\n", L"more\\French.ini"},
    };
    for (const Case& c : cases) {
        INFO(c.name);
        Installation in(0x041D);
        if (c.savedId) SaveLanguageId(c.savedId);
        if (c.list && !*c.list) DeleteFileW(in.Path(L"LangType.ini").c_str());
        if (c.list && *c.list) in.tree.WriteLanguageFile(L"LangType.ini", c.list);

        SelectStartupLanguage();
        CHECK(std::wstring(g_szLanguagePath) == in.Path(c.expected));
        CHECK(std::wstring(in.languages.CurrentFile()) == in.Path(c.expected));
        CHECK(SavedLanguageId() == (c.savedId ? c.savedId : L""));  // start-up never writes it
    }
}

TEST_CASE("language: a saved file name that does not fit the path keeps the default") {
    Installation in(0x0409);
    const std::string fits = LongestFittingName(in.tree);
    const std::string tooLong = "L" + fits;
    in.tree.WriteLanguageFile(L"LangType.ini", "[Files]\r\n0=" + fits + "\r\n1=" + tooLong + "\r\n");

    SaveLanguageId(L"0");
    SelectStartupLanguage();
    CHECK(std::wstring(g_szLanguagePath) == in.Path(Widen(fits)));
    CHECK(wcslen(g_szLanguagePath) == 259);

    g_szLanguagePath[0] = L'\0';
    SaveLanguageId(L"1");
    SelectStartupLanguage();
    CHECK(std::wstring(g_szLanguagePath) == in.Path(L"English.ini"));
}

TEST_CASE("language: at start the panel takes the system default and tells the library its path") {
    Panel f;
    f.seam.systemLanguage = 0x041D;
    REQUIRE(f.Start());
    const std::wstring path = f.tree.LanguageDir() + L"\\Sweden.ini";
    CHECK(std::wstring(g_szLanguagePath) == path);
    CHECK(f.Journal().find(L"sim: language " + path) != std::wstring::npos);
    REQUIRE(!f.seam.tray.empty());
    CHECK(f.seam.tray.back().tip == L"Telvarion: anslut adaptern");
}

TEST_CASE("language: a menu choice saves it, re-translates, refreshes the tooltip, then tells the library") {
    Panel f;
    f.seam.systemLanguage = 0x0409;
    REQUIRE(f.Start());
    Probe probe(L"About");
    REQUIRE(TextOf(probe) == L"About Telvarion");
    const std::wstring swedish = f.tree.LanguageDir() + L"\\Sweden.ini";
    const std::wstring told = L"sim: language " + swedish;

    f.ClearJournal();
    {
        TooltipWatch watch(f);
        f.Command(3);
    }
    CHECK(SavedLanguageId() == L"2");
    CHECK(std::wstring(g_szLanguagePath) == swedish);
    CHECK(TextOf(probe) == L"Om Telvarion");
    // Load, then tooltip, then the library: at the tooltip the manager already has the new
    // file and the library has not been told yet.
    REQUIRE(g_moments.size() == 1);
    CHECK(g_moments[0].tip == L"Telvarion: anslut adaptern");
    CHECK(g_moments[0].managerFile == swedish);
    CHECK(g_moments[0].journal.find(L"sim: language") == std::wstring::npos);
    CHECK(f.Journal().find(told) != std::wstring::npos);
}

TEST_CASE("language: a choice without a usable file name is saved and changes nothing else") {
    Panel f;
    f.seam.systemLanguage = 0x0409;
    f.tree.WriteLanguageFile(L"LangType.ini",
                             "[Titles]\r\n0=English\r\n1=Svenska\r\n2=Nothing\r\n3=Too long\r\n"
                             "[Files]\r\n0=English.ini\r\n1=Sweden.ini\r\n3=" +
                                 std::string(255 - 4, 'L') + ".ini\r\n");
    REQUIRE(f.Start());
    Probe probe(L"About");
    const std::wstring english = f.tree.LanguageDir() + L"\\English.ini";
    REQUIRE(std::wstring(g_szLanguagePath) == english);

    struct Case { const char* name; LPARAM id; const wchar_t* saved; };
    const Case cases[] = {{"no Files value", 3, L"2"}, {"a file name too long for the path", 4, L"3"}};
    for (const Case& c : cases) {
        INFO(c.name);
        f.ClearJournal();
        f.seam.Clear();
        f.Command(c.id);
        CHECK(SavedLanguageId() == c.saved);
        CHECK(std::wstring(g_szLanguagePath) == english);
        CHECK(std::wstring(f.languages.CurrentFile()) == english);
        CHECK(TextOf(probe) == L"About Telvarion");
        CHECK(f.seam.tray.empty());
        CHECK(f.Journal().find(L"sim: language") == std::wstring::npos);
    }
}

TEST_CASE("language: a thousand switches leave icons, registrations and kernel handles where they were") {
    Panel f;
    f.seam.systemLanguage = 0x0409;
    REQUIRE(f.Start());
    Probe probe(L"About");
    const size_t windows = f.languages.RegisteredWindows().size();
    const size_t menus = f.languages.RegisteredMenuCount();
    const uintptr_t handlesBefore = NextHandleValue();

    // Each switch loads the status icon afresh; the one shown before must be gone by then.
    auto alive = [](HICON icon) {
        ICONINFO info = {};
        if (!GetIconInfo(icon, &info)) return false;
        if (info.hbmMask) DeleteObject(info.hbmMask);
        if (info.hbmColor) DeleteObject(info.hbmColor);
        return true;
    };
    int switched = 0, iconsLeft = 0;
    HICON previous = nullptr;
    const DWORD start = GetTickCount();
    for (int round = 0; round < 1000; ++round) {
        f.seam.Clear();
        f.ClearJournal();
        f.Command(round % 2 ? 3 : 2);  // French, then Swedish
        HICON shown = nullptr;
        for (const TrayCall& call : f.seam.tray)
            if (call.message == NIM_MODIFY && (call.uFlags & NIF_ICON)) shown = call.hIcon;
        switched += shown && f.Journal().find(L"sim: language") != std::wstring::npos;
        if (previous && previous != shown) iconsLeft += alive(previous);
        previous = shown;
    }
    MESSAGE("1000 switches took " << (GetTickCount() - start) << " ms");
    CHECK(switched == 1000);
    CHECK(iconsLeft == 0);
    CHECK(TextOf(probe) == L"Om Telvarion");
    CHECK(f.languages.RegisteredWindows().size() == windows);
    CHECK(f.languages.RegisteredMenuCount() == menus);
    // One kernel handle kept per switch would push the next one up by a thousand slots.
    CHECK(NextHandleValue() < handlesBefore + 20 * sizeof(HANDLE));
}
