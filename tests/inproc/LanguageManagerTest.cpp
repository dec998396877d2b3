// The language manager: windows, controls and menus of this thread translated through a
// language file as they are created, re-translated on a switch, and put back as they go.
#include <doctest/doctest.h>
#include "i18n/LanguageManager.h"
#include "ids.h"
#include "tests/support/TempDir.h"

#include <cwchar>
#include <string>
#include <vector>

namespace {
// Two languages. B lacks "Cancel" and "Help", so after a switch to B those show their
// creation-time texts, not A's translations.
const char kFileA[] =
    "[WindowText]\r\n"
    "Settings=Parametres\r\n"
    "Volume=Volume A\r\n"
    "OK=D'accord\r\n"
    "Cancel=Annuler\r\n"
    "About=A propos\r\n"
    "Device Version:=Version de l'adaptateur :\r\n"
    "VersionInfo=Version A\r\n"
    "[MenuText]\r\n"
    "File=Fichier\r\n"
    "Open=Ouvrir\r\n"
    "Exit=Quitter\r\n"
    "Help=Aide\r\n";
const char kFileB[] =
    "[WindowText]\r\n"
    "Settings=Installningar\r\n"
    "Volume=Volym\r\n"
    "OK=Okej\r\n"
    "About=Om\r\n"
    "VersionInfo=Version B\r\n"
    "[MenuText]\r\n"
    "File=Arkiv\r\n"
    "Open=Oppna\r\n"
    "Exit=Avsluta\r\n";

const wchar_t kFrameClass[] = L"LanguageManagerTestFrame";

std::wstring TextOf(HWND hwnd) {
    wchar_t text[1024] = L"";
    GetWindowTextW(hwnd, text, 1024);
    return text;
}

std::wstring ItemText(HMENU menu, int position) {
    wchar_t text[1024] = L"";
    GetMenuStringW(menu, position, text, 1024, MF_BYPOSITION);
    return text;
}

// A menu as one line: items joined by "|", separators as "-", submenus in brackets after
// their item.
std::wstring Describe(HMENU menu) {
    std::wstring line;
    const int count = GetMenuItemCount(menu);
    for (int p = 0; p < count; ++p) {
        wchar_t text[1024] = L"";
        MENUITEMINFOW info = {};
        info.cbSize = sizeof info;
        info.fMask = MIIM_FTYPE | MIIM_STRING | MIIM_SUBMENU;
        info.dwTypeData = text;
        info.cch = 1024;
        GetMenuItemInfoW(menu, p, TRUE, &info);
        if (p) line += L"|";
        line += (info.fType & MFT_SEPARATOR) ? L"-" : text;
        if (info.hSubMenu) line += L"[" + Describe(info.hSubMenu) + L"]";
    }
    return line;
}

// What each frame showed as its own WM_DESTROY arrived, which is after the hook saw it.
std::vector<std::wstring> g_destroyLog;

LRESULT CALLBACK FrameProc(HWND hwnd, UINT message, WPARAM wp, LPARAM lp) {
    if (message == WM_DESTROY) {
        std::wstring seen = TextOf(hwnd);
        if (!(GetWindowLongPtrW(hwnd, GWL_STYLE) & WS_CHILD) && GetMenu(hwnd))
            seen += L" " + Describe(GetMenu(hwnd));
        g_destroyLog.push_back(seen);
    }
    return DefWindowProcW(hwnd, message, wp, lp);
}

void RegisterFrameClass() {
    static bool registered = false;
    if (registered) return;
    WNDCLASSW wc = {};
    wc.lpfnWndProc = FrameProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = kFrameClass;
    registered = RegisterClassW(&wc) != 0;
}

// A window that is destroyed when the test leaves its scope, whoever destroyed it first.
class Window {
public:
    explicit Window(HWND hwnd) : m_hwnd(hwnd) {}
    ~Window() {
        if (IsWindow(m_hwnd)) DestroyWindow(m_hwnd);
    }
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;
    HWND get() const { return m_hwnd; }
    operator HWND() const { return m_hwnd; }

private:
    HWND m_hwnd;
};

HWND NewFrame(const wchar_t* title, HMENU menu = nullptr) {
    RegisterFrameClass();
    return CreateWindowExW(0, kFrameClass, title, WS_OVERLAPPEDWINDOW, 0, 0, 300, 200, nullptr, menu,
                           GetModuleHandleW(nullptr), nullptr);
}

HWND NewChild(HWND parent, const wchar_t* cls, const wchar_t* text, int id) {
    return CreateWindowExW(0, cls, text, WS_CHILD | WS_VISIBLE, 10, 10 + id * 2, 100, 20, parent,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
}

// A menu bar "File" (Open, separator, Exit) and "Help".
HMENU NewMenuBar() {
    HMENU file = CreatePopupMenu();
    AppendMenuW(file, MF_STRING, 11, L"Open");
    AppendMenuW(file, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(file, MF_STRING, 12, L"Exit");
    HMENU bar = CreateMenu();
    AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(file), L"File");
    AppendMenuW(bar, MF_STRING, 13, L"Help");
    return bar;
}

// A manager with its hook on this thread, removed the way start-up removes it.
class Hooked {
public:
    Hooked() { REQUIRE(languages.InstallHook()); }
    ~Hooked() {
        UnhookWindowsHookEx(languages.HookHandle());
        languages.ClearHookHandle();
    }
    CLanguageManager languages;
};

// The language files of one test.
class Files {
public:
    std::wstring Write(const wchar_t* name, const std::string& text) const {
        const std::wstring path = m_dir / name;
        REQUIRE(WriteTextFile(path, text));
        return path;
    }

private:
    TempDir m_dir{L"lang"};
};

INT_PTR CALLBACK PlainDialogProc(HWND, UINT message, WPARAM, LPARAM) { return message == WM_INITDIALOG; }

using Handles = std::vector<HWND>;

// The registered windows, less the thread's default IME window: the system creates that one
// along with the first top-level window of the thread, and it is registered like any other.
Handles Registered(const CLanguageManager& languages) {
    Handles ours;
    for (HWND hwnd : languages.RegisteredWindows()) {
        wchar_t cls[16] = L"";
        GetClassNameW(hwnd, cls, 16);
        if (wcscmp(cls, L"IME") != 0) ours.push_back(hwnd);
    }
    return ours;
}
}  // namespace

TEST_CASE("language: a window and its controls are translated on creation and again from their creation texts") {
    Files files;
    const std::wstring a = files.Write(L"a.ini", kFileA), b = files.Write(L"b.ini", kFileB);
    Hooked hooked;
    CLanguageManager& languages = hooked.languages;

    // Before any file is loaded, windows are registered with texts unchanged.
    Window early(NewFrame(L"Settings"));
    REQUIRE(early.get());
    const HWND earlyButton = NewChild(early, L"BUTTON", L"OK", 1);
    CHECK(TextOf(early) == L"Settings");
    CHECK(TextOf(earlyButton) == L"OK");
    CHECK(Registered(languages) == Handles{early, earlyButton});

    REQUIRE(languages.LoadLanguageFile(a.c_str()));
    CHECK(std::wstring(languages.CurrentFile()) == a);
    CHECK(TextOf(early) == L"Parametres");
    CHECK(TextOf(earlyButton) == L"D'accord");

    Window frame(NewFrame(L"Settings"));
    const HWND label = NewChild(frame, L"STATIC", L"Volume", 1);
    const HWND ok = NewChild(frame, L"BUTTON", L"OK", 2);
    const HWND cancel = NewChild(frame, L"BUTTON", L"Cancel", 3);
    const HWND unknown = NewChild(frame, L"STATIC", L"Not in any file", 4);
    struct Expect { HWND hwnd; const wchar_t* inA; const wchar_t* inB; };
    const Expect expected[] = {
        {frame, L"Parametres", L"Installningar"},
        {label, L"Volume A", L"Volym"},
        {ok, L"D'accord", L"Okej"},
        {cancel, L"Annuler", L"Cancel"},
        {unknown, L"Not in any file", L"Not in any file"},
    };
    for (const Expect& e : expected) CHECK(TextOf(e.hwnd) == e.inA);

    REQUIRE(languages.LoadLanguageFile(b.c_str()));
    for (const Expect& e : expected) CHECK(TextOf(e.hwnd) == e.inB);
    CHECK(TextOf(early) == L"Installningar");

    REQUIRE(languages.LoadLanguageFile(a.c_str()));
    for (const Expect& e : expected) CHECK(TextOf(e.hwnd) == e.inA);
}

TEST_CASE("language: a dialog's caption and controls are translated as the dialog is built") {
    Files files;
    const std::wstring a = files.Write(L"a.ini", kFileA), b = files.Write(L"b.ini", kFileB);
    Hooked hooked;
    REQUIRE(hooked.languages.LoadLanguageFile(a.c_str()));

    Window box(CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_ABOUTBOX), nullptr,
                                  PlainDialogProc, 0));
    REQUIRE(box.get());
    CHECK(TextOf(box) == L"A propos");
    CHECK(TextOf(GetDlgItem(box, IDOK)) == L"D'accord");
    CHECK(TextOf(GetDlgItem(box, IDC_ABOUT_DEVICE_LABEL)) == L"Version de l'adaptateur :");
    CHECK(TextOf(GetDlgItem(box, IDC_ABOUT_COPYRIGHT)) == L"Copyright");

    // The about box's way of keeping its data fields out of translation.
    for (int id : {IDC_ABOUT_VERSION, IDC_ABOUT_COPYRIGHT, IDC_ABOUT_DEVICE_LABEL, IDC_ABOUT_DEVICE_NUMBER})
        hooked.languages.ForgetWindow(GetDlgItem(box, id));
    CHECK(TextOf(GetDlgItem(box, IDC_ABOUT_DEVICE_LABEL)) == L"Device Version:");
    CHECK(TextOf(GetDlgItem(box, IDC_ABOUT_VERSION)) == L"VersionInfo");
    SetDlgItemTextW(box, IDC_ABOUT_VERSION, L"3.0.1");

    REQUIRE(hooked.languages.LoadLanguageFile(b.c_str()));
    CHECK(TextOf(box) == L"Om");
    CHECK(TextOf(GetDlgItem(box, IDOK)) == L"Okej");
    CHECK(TextOf(GetDlgItem(box, IDC_ABOUT_DEVICE_LABEL)) == L"Device Version:");
    CHECK(TextOf(GetDlgItem(box, IDC_ABOUT_VERSION)) == L"3.0.1");
}

TEST_CASE("language: a switch shows the translation of the creation text, not of a text set later") {
    Files files;
    const std::wstring a = files.Write(L"a.ini", kFileA), b = files.Write(L"b.ini", kFileB);
    Hooked hooked;
    REQUIRE(hooked.languages.LoadLanguageFile(a.c_str()));
    Window frame(NewFrame(L"Settings"));
    const HWND label = NewChild(frame, L"STATIC", L"Volume", 1);

    SetWindowTextW(label, L"OK");
    SetWindowTextW(frame, L"Anything");
    REQUIRE(hooked.languages.LoadLanguageFile(b.c_str()));
    CHECK(TextOf(label) == L"Volym");
    CHECK(TextOf(frame) == L"Installningar");
}

TEST_CASE("language: a window created without text is never registered or translated") {
    Files files;
    const std::wstring a = files.Write(L"a.ini", kFileA), b = files.Write(L"b.ini", kFileB);
    Hooked hooked;
    REQUIRE(hooked.languages.LoadLanguageFile(a.c_str()));
    Window frame(NewFrame(L""));
    const HWND label = NewChild(frame, L"STATIC", L"", 1);
    CHECK(Registered(hooked.languages).empty());

    SetWindowTextW(frame, L"Settings");
    SetWindowTextW(label, L"Volume");
    REQUIRE(hooked.languages.LoadLanguageFile(b.c_str()));
    CHECK(TextOf(frame) == L"Settings");
    CHECK(TextOf(label) == L"Volume");
    CHECK(Registered(hooked.languages).empty());
}

TEST_CASE("language: a destroyed window shows its untranslated text and menu before it goes") {
    Files files;
    const std::wstring a = files.Write(L"a.ini", kFileA);
    Hooked hooked;
    REQUIRE(hooked.languages.LoadLanguageFile(a.c_str()));
    g_destroyLog.clear();
    {
        Window frame(NewFrame(L"Settings", NewMenuBar()));
        RegisterFrameClass();
        const HWND child = CreateWindowExW(0, kFrameClass, L"Volume", WS_CHILD, 0, 0, 10, 10, frame, nullptr,
                                           GetModuleHandleW(nullptr), nullptr);
        REQUIRE(child);
        CHECK(TextOf(frame) == L"Parametres");
        CHECK(TextOf(child) == L"Volume A");
        CHECK(Registered(hooked.languages) == Handles{frame, child});
        CHECK(hooked.languages.RegisteredMenuCount() == 2);
    }
    // The parent's WM_DESTROY comes before its children's.
    REQUIRE(g_destroyLog.size() == 2);
    CHECK(g_destroyLog[0] == L"Settings File[Open|-|Exit]|Help");
    CHECK(g_destroyLog[1] == L"Volume");
    CHECK(Registered(hooked.languages).empty());
    CHECK(hooked.languages.RegisteredMenuCount() == 0);
}

TEST_CASE("language: ForgetWindow puts the text back for good and ignores what is not a window") {
    Files files;
    const std::wstring a = files.Write(L"a.ini", kFileA), b = files.Write(L"b.ini", kFileB);
    Hooked hooked;
    CLanguageManager& languages = hooked.languages;
    REQUIRE(languages.LoadLanguageFile(a.c_str()));
    Window frame(NewFrame(L"Settings"));
    const HWND label = NewChild(frame, L"STATIC", L"Volume", 1);
    REQUIRE(Registered(languages) == Handles{frame, label});

    HWND gone = NewFrame(L"OK");
    DestroyWindow(gone);
    for (HWND notWindow : {HWND(nullptr), gone, reinterpret_cast<HWND>(static_cast<INT_PTR>(0x7ffe))}) {
        languages.ForgetWindow(notWindow);
        CHECK(Registered(languages) == Handles{frame, label});
    }

    languages.ForgetWindow(label);
    CHECK(TextOf(label) == L"Volume");
    CHECK(Registered(languages) == Handles{frame});
    languages.ForgetWindow(label);  // a second time: nothing left to do
    CHECK(Registered(languages) == Handles{frame});
    REQUIRE(languages.LoadLanguageFile(b.c_str()));
    CHECK(TextOf(label) == L"Volume");
    CHECK(TextOf(frame) == L"Installningar");
}

TEST_CASE("language: a top-level window's menu is translated, re-translated and restored") {
    Files files;
    const std::wstring a = files.Write(L"a.ini", kFileA), b = files.Write(L"b.ini", kFileB);
    Hooked hooked;
    CLanguageManager& languages = hooked.languages;
    REQUIRE(languages.LoadLanguageFile(a.c_str()));

    Window frame(NewFrame(L"Settings", NewMenuBar()));
    const HMENU bar = GetMenu(frame);
    REQUIRE(bar);
    // The submenu's texts are recorded under its own handle, so it has an entry of its own.
    CHECK(languages.RegisteredMenuCount() == 2);
    // "File" is looked up after its submenu's items, whose lookups share the buffer.
    CHECK(Describe(bar) == L"Fichier[Ouvrir|-|Quitter]|Aide");

    REQUIRE(languages.LoadLanguageFile(b.c_str()));
    CHECK(Describe(bar) == L"Arkiv[Oppna|-|Avsluta]|Help");

    languages.ForgetWindow(frame);
    CHECK(Describe(bar) == L"File[Open|-|Exit]|Help");
    CHECK(TextOf(frame) == L"Settings");
    CHECK(languages.RegisteredMenuCount() == 0);
    CHECK(Registered(languages).empty());

    // A child's "menu" is its control id: never taken for a menu.
    const HWND child = NewChild(frame, L"BUTTON", L"OK", 1);
    CHECK(languages.RegisteredMenuCount() == 0);
    CHECK(TextOf(child) == L"Okej");
}

TEST_CASE("language: a top-level window without text still has its menu registered") {
    Files files;
    const std::wstring a = files.Write(L"a.ini", kFileA);
    Hooked hooked;
    REQUIRE(hooked.languages.LoadLanguageFile(a.c_str()));
    Window frame(NewFrame(L"", NewMenuBar()));
    CHECK(Registered(hooked.languages).empty());
    CHECK(hooked.languages.RegisteredMenuCount() == 2);
    CHECK(Describe(GetMenu(frame)) == L"Fichier[Ouvrir|-|Quitter]|Aide");
}

TEST_CASE("language: TranslateMenu translates the tray popup and its submenus without registering them") {
    Files files;
    const std::wstring fr = files.Write(L"fr.ini",
                                        "[MenuText]\r\n"
                                        "  Select Language=\"  Langue\"\r\n"
                                        "  Exit=\"  Quitter\"\r\n"
                                        "  Help=\"  Aide\"\r\n"
                                        "English=Anglais\r\n");
    const std::wstring other = files.Write(L"other.ini", "[MenuText]\r\n  Exit=\"  Sluta\"\r\n");
    Hooked hooked;
    CLanguageManager& languages = hooked.languages;
    REQUIRE(languages.LoadLanguageFile(fr.c_str()));

    const HMENU resource = LoadMenuW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_TRAYMENU));
    REQUIRE(resource);
    const HMENU popup = GetSubMenu(resource, 0);
    const HMENU languagesMenu = GetSubMenu(popup, 0);
    AppendMenuW(languagesMenu, MF_STRING, 1, L"English");
    AppendMenuW(languagesMenu, MF_STRING, 2, L"Svenska");

    CHECK(languages.TranslateMenu(popup));
    CHECK(Describe(popup) ==
          L"  Langue[-|Anglais|Svenska]|-|  Advanced|-|  Configure|-|  Aide|-|  Update|-|  About|-|  Quitter");
    CHECK(languages.RegisteredMenuCount() == 0);

    REQUIRE(languages.LoadLanguageFile(other.c_str()));
    CHECK(ItemText(popup, 12) == L"  Quitter");
    DestroyMenu(resource);
}

TEST_CASE("language: percent signs in WindowText are shown as written except a doubled one") {
    struct Case { const wchar_t* value; const wchar_t* shown; };
    const Case cases[] = {
        {L"100%%", L"100%"},
        {L"%%%%", L"%%"},
        {L"%%%", L"%%"},
        {L"a%%b%sc", L"a%b%sc"},
        {L"%s", L"%s"},
        {L"%n", L"%n"},
        {L"%ls%S%hs", L"%ls%S%hs"},
        {L"%d%d%d", L"%d%d%d"},
        {L"%*.*f%p%x", L"%*.*f%p%x"},
        {L"100%", L"100%"},
        {L"%", L"%"},
        {L"", L""},
        {L"plain", L"plain"},
    };
    for (const Case& c : cases) {
        CAPTURE(std::wstring(c.value));
        wchar_t out[260];
        FormatWindowText(c.value, out, 260);
        CHECK(std::wstring(out) == c.shown);
    }
}

TEST_CASE("language: the WindowText formatter never writes past its buffer") {
    struct Case { const wchar_t* value; size_t units; const wchar_t* shown; };
    const Case cases[] = {
        {L"abcdef", 4, L"abc"},
        {L"abc", 4, L"abc"},
        {L"%%%%%%", 3, L"%%"},
        {L"ab%%", 3, L"ab"},
        {L"anything", 1, L""},
        {nullptr, 8, L""},
    };
    for (const Case& c : cases) {
        CAPTURE(c.units);
        wchar_t out[16];
        for (wchar_t& u : out) u = L'#';
        FormatWindowText(c.value, out, c.units);
        CHECK(std::wstring(out) == c.shown);
        for (size_t i = c.units; i < 16; ++i) CHECK(out[i] == L'#');
    }
    std::wstring huge(5000, L'%');
    wchar_t out[260];
    FormatWindowText(huge.c_str(), out, 260);
    CHECK(std::wstring(out) == std::wstring(259, L'%'));
}

TEST_CASE("language: percent sequences reach windows as written and menus verbatim") {
    Files files;
    const std::wstring file = files.Write(L"p.ini",
                                          "[WindowText]\r\n"
                                          "Hundred=100%% sure\r\n"
                                          "S=%s\r\n"
                                          "N=%n\r\n"
                                          "D=%d%d%d\r\n"
                                          "Trailing=100%\r\n"
                                          "Lone=%\r\n"
                                          "[MenuText]\r\n"
                                          "Hundred=100%% sure\r\n"
                                          "S=%s\r\n");
    Hooked hooked;
    REQUIRE(hooked.languages.LoadLanguageFile(file.c_str()));

    struct Case { const wchar_t* key; const wchar_t* shown; };
    const Case cases[] = {
        {L"Hundred", L"100% sure"}, {L"S", L"%s"}, {L"N", L"%n"},
        {L"D", L"%d%d%d"}, {L"Trailing", L"100%"}, {L"Lone", L"%"},
    };
    for (const Case& c : cases) {
        CAPTURE(std::wstring(c.key));
        Window frame(NewFrame(c.key));
        CHECK(TextOf(frame) == c.shown);
    }

    const HMENU menu = CreatePopupMenu();
    AppendMenuW(menu, MF_STRING, 1, L"Hundred");
    AppendMenuW(menu, MF_STRING, 2, L"S");
    hooked.languages.TranslateMenu(menu);
    CHECK(ItemText(menu, 0) == L"100%% sure");
    CHECK(ItemText(menu, 1) == L"%s");
    DestroyMenu(menu);
}

TEST_CASE("language: a value longer than 259 characters is cut to 259") {
    const std::string longValue(400, 'v');
    Files files;
    const std::wstring file = files.Write(L"long.ini", "[WindowText]\r\nLong=" + longValue +
                                                           "\r\n[MenuText]\r\nLong=" + longValue + "\r\n");
    Hooked hooked;
    REQUIRE(hooked.languages.LoadLanguageFile(file.c_str()));
    Window frame(NewFrame(L"Long"));
    CHECK(TextOf(frame) == std::wstring(259, L'v'));

    const HMENU menu = CreatePopupMenu();
    AppendMenuW(menu, MF_STRING, 1, L"Long");
    hooked.languages.TranslateMenu(menu);
    CHECK(ItemText(menu, 0) == std::wstring(259, L'v'));
    DestroyMenu(menu);
    CHECK(std::wstring(hooked.languages.LookUpText(L"WindowText", L"Long")).size() == 259);
}

TEST_CASE("language: a failed load keeps shown texts and leaves later windows untranslated") {
    Files files;
    const std::wstring a = files.Write(L"a.ini", kFileA);
    Hooked hooked;
    CLanguageManager& languages = hooked.languages;
    REQUIRE(languages.LoadLanguageFile(a.c_str()));
    Window before(NewFrame(L"Settings", NewMenuBar()));
    CHECK(TextOf(before) == L"Parametres");

    const std::wstring missing = a + L".missing";
    CHECK_FALSE(languages.LoadLanguageFile(missing.c_str()));
    CHECK(std::wstring(languages.CurrentFile()) == missing);
    CHECK(TextOf(before) == L"Parametres");
    CHECK(Describe(GetMenu(before)) == L"Fichier[Ouvrir|-|Quitter]|Aide");

    Window after(NewFrame(L"Settings", NewMenuBar()));
    CHECK(TextOf(after) == L"Settings");
    CHECK(Describe(GetMenu(after)) == L"File[Open|-|Exit]|Help");
    CHECK(std::wstring(languages.LookUpText(L"WindowText", L"OK")) == L"OK");
}

TEST_CASE("language: lookups ignore case in section and key names") {
    Files files;
    const std::wstring file = files.Write(L"case.ini", "[windowTEXT]\r\nsettings=Parametres\r\n");
    CLanguageManager languages;
    REQUIRE(languages.LoadLanguageFile(file.c_str()));
    for (const wchar_t* key : {L"Settings", L"SETTINGS", L"settings", L"sEtTiNgS"}) {
        CAPTURE(std::wstring(key));
        CHECK(std::wstring(languages.LookUpText(L"WindowText", key)) == L"Parametres");
    }
    CHECK(std::wstring(languages.LookUpText(L"WINDOWTEXT", L"settings")) == L"Parametres");
}

TEST_CASE("language: blanks around keys do not count; only quoted values keep their own") {
    // The tray menu's resource texts start with two blanks. The INI functions trim blanks
    // around every key, so a key matches with or without them; a value keeps leading blanks
    // only inside quotes, which is how the language files must write them.
    Files files;
    const std::wstring file = files.Write(L"blanks.ini",
                                          "[MenuText]\r\n"
                                          "  Exit=\"  Quitter\"\r\n"
                                          "Help=\"  Aide\"\r\n"
                                          "  About=  A propos\r\n");
    CLanguageManager languages;
    REQUIRE(languages.LoadLanguageFile(file.c_str()));
    struct Case { const wchar_t* key; const wchar_t* found; };
    const Case cases[] = {
        {L"  Exit", L"  Quitter"},
        {L"Exit", L"  Quitter"},
        {L"  Help", L"  Aide"},
        {L"  About", L"A propos"},
        // Not in the file: the key comes back as the default, leading blanks and all.
        {L"  Update", L"  Update"},
        // ... but the INI functions drop a default's trailing blanks.
        {L"Update  ", L"Update"},
        {L"", L""},
    };
    for (const Case& c : cases) {
        CAPTURE(std::wstring(c.key));
        CHECK(std::wstring(languages.LookUpText(L"MenuText", c.key)) == c.found);
    }
}

TEST_CASE("language: with no file loaded, or a null key, a lookup finds nothing") {
    CLanguageManager languages;
    CHECK(std::wstring(languages.CurrentFile()).empty());
    CHECK(std::wstring(languages.LookUpText(L"WindowText", L"Settings")) == L"Settings");
    CHECK(std::wstring(languages.LookUpText(L"WindowText", nullptr)).empty());
    CHECK(std::wstring(languages.LookUpText(nullptr, L"Settings")).empty());
}

TEST_CASE("language: a relative path is made absolute against the current directory") {
    Files files;
    const std::wstring a = files.Write(L"a.ini", kFileA);
    const std::wstring dir = a.substr(0, a.rfind(L'\\'));
    wchar_t saved[MAX_PATH] = L"";
    GetCurrentDirectoryW(MAX_PATH, saved);
    REQUIRE(SetCurrentDirectoryW(dir.c_str()));

    CLanguageManager languages;
    for (const wchar_t* relative : {L"a.ini", L".\\a.ini", L"sub\\..\\a.ini"}) {
        CAPTURE(std::wstring(relative));
        CHECK(languages.LoadLanguageFile(relative));
        CHECK(std::wstring(languages.CurrentFile()) == a);
        CHECK(std::wstring(languages.LookUpText(L"WindowText", L"OK")) == L"D'accord");
    }
    CHECK_FALSE(languages.LoadLanguageFile(L"none.ini"));
    CHECK(std::wstring(languages.CurrentFile()) == dir + L"\\none.ini");
    SetCurrentDirectoryW(saved);
}

TEST_CASE("language: a path that does not fit 259 characters is not loaded and nothing is found") {
    Files files;
    const std::wstring a = files.Write(L"a.ini", kFileA);
    wchar_t saved[MAX_PATH] = L"";
    GetCurrentDirectoryW(MAX_PATH, saved);
    wchar_t cwd[MAX_PATH] = L"";
    GetCurrentDirectoryW(MAX_PATH, cwd);
    std::wstring base = cwd;
    if (base.back() != L'\\') base += L'\\';

    struct Case { const char* name; std::wstring path; std::wstring current; };
    const std::wstring fits = L"C:\\" + std::wstring(256, L'x');      // 259 characters
    const std::wstring tooLong = L"C:\\" + std::wstring(257, L'x');   // 260
    const std::wstring relativeTooLong(260 - base.size(), L'y');      // 260 once made absolute
    const std::wstring relativeFits(259 - base.size(), L'y');
    const Case cases[] = {
        {"259 characters", fits, fits.c_str()},
        {"260 characters", tooLong, L""},
        {"far too long", L"C:\\" + std::wstring(5000, L'x'), L""},
        {"relative, 259 when absolute", relativeFits, base + relativeFits},
        {"relative, 260 when absolute", relativeTooLong, L""},
        {"empty", L"", L""},
    };
    for (const Case& c : cases) {
        CAPTURE(c.name);
        CLanguageManager languages;
        REQUIRE(languages.LoadLanguageFile(a.c_str()));
        CHECK_FALSE(languages.LoadLanguageFile(c.path.c_str()));
        CHECK(std::wstring(languages.CurrentFile()) == c.current);
        CHECK(std::wstring(languages.LookUpText(L"WindowText", L"OK")) == L"OK");
    }
    CLanguageManager languages;
    CHECK_FALSE(languages.LoadLanguageFile(nullptr));
    CHECK(std::wstring(languages.CurrentFile()).empty());
    SetCurrentDirectoryW(saved);
}

TEST_CASE("language: a UTF-16 language file with a byte-order mark is read") {
    const std::wstring text = L"\xFEFF[WindowText]\r\nSettings=R\x00E9glages \x03A9\r\n";
    TempDir dir(L"lang");
    const std::wstring path = dir / L"utf16.ini";
    REQUIRE(WriteBinaryFile(path, text.data(), text.size() * sizeof(wchar_t)));
    Hooked hooked;
    REQUIRE(hooked.languages.LoadLanguageFile(path.c_str()));
    Window frame(NewFrame(L"Settings"));
    CHECK(TextOf(frame) == L"R\x00E9glages \x03A9");
}

TEST_CASE("language: windows created after the hook is removed are left alone") {
    Files files;
    const std::wstring a = files.Write(L"a.ini", kFileA);
    CLanguageManager languages;
    REQUIRE(languages.LoadLanguageFile(a.c_str()));
    REQUIRE(languages.InstallHook());
    CHECK(languages.HookHandle() != nullptr);
    UnhookWindowsHookEx(languages.HookHandle());
    languages.ClearHookHandle();
    CHECK(languages.HookHandle() == nullptr);

    Window frame(NewFrame(L"Settings"));
    CHECK(TextOf(frame) == L"Settings");
    CHECK(Registered(languages).empty());
}

TEST_CASE("language: thousands of windows come and go and leave nothing registered") {
    Files files;
    const std::wstring a = files.Write(L"a.ini", kFileA), b = files.Write(L"b.ini", kFileB);
    Hooked hooked;
    CLanguageManager& languages = hooked.languages;
    REQUIRE(languages.LoadLanguageFile(a.c_str()));
    Window lasting(NewFrame(L"Settings"));

    for (int i = 0; i < 2000; ++i) {
        Window frame(NewFrame(L"Settings", NewMenuBar()));
        NewChild(frame, L"BUTTON", L"OK", 1);
        NewChild(frame, L"STATIC", L"Volume", 2);
        if (i % 100 == 50) {
            REQUIRE(languages.LoadLanguageFile((i / 100) % 2 ? a.c_str() : b.c_str()));
            REQUIRE(Registered(languages).size() == 4);
            REQUIRE(languages.RegisteredMenuCount() == 2);
        }
    }
    CHECK(Registered(languages) == Handles{lasting});
    for (HWND hwnd : languages.RegisteredWindows()) CHECK(IsWindow(hwnd));
    CHECK(languages.RegisteredMenuCount() == 0);
    CHECK(TextOf(lasting) == L"Parametres");  // the last switch, at 1950, was back to A
}
