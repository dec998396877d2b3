// The tray icon's mouse notifications: the right button's release runs the translated menu
// with the language list and item pictures, and its outcome goes to the main window.
#include <doctest/doctest.h>
#include "diag/DebugTrace.h"
#include "framework/Application.h"
#include "framework/Window.h"
#include "i18n/LanguageManager.h"
#include "ids.h"
#include "tests/inproc/MenuDriver.h"
#include "tests/inproc/ProgramTree.h"
#include "tests/inproc/SeamRecorder.h"
#include "tray/SystemIcon.h"

#include <string>
#include <utility>
#include <vector>

namespace {
// A hidden main window that records the tray commands it is sent.
class MainWindow : public CWindow {
public:
    MainWindow() {
        SubclassWindow(CreateWindowExW(0, L"Static", L"tray test main", WS_POPUP, 0, 0, 60, 60, nullptr, nullptr,
                                       GetModuleHandleW(nullptr), nullptr));
    }
    ~MainWindow() override {
        if (HWND hwnd = UnsubclassWindow()) DestroyWindow(hwnd);
    }
    std::vector<std::pair<WPARAM, LPARAM>> commands;

protected:
    LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) override {
        if (msg == WM_TRAYICON_COMMAND) commands.emplace_back(wp, lp);
        return CWindow::WindowProc(msg, wp, lp);
    }
};

struct Tray {
    ProgramTree tree;
    SeamRecorder seam;
    CApplication app;
    CLanguageManager languages;
    MainWindow main;
    CSystemIcon icon;

    Tray() {
        tree.InstallSample();
        app.m_pMainWnd = &main;
        icon.Create(&main, WM_TRAYICON_NOTIFY, L"Telvarion", nullptr, IDR_TRAYMENU);
        SetCursorPos(100, 120);
    }
    ~Tray() { app.m_pMainWnd = nullptr; }

    // A notification while `driver` watches for the menu; returns the handler's result.
    LRESULT Notify(MenuDriver& driver, WPARAM id, LPARAM mouse) {
        const LRESULT result = icon.OnTrayNotification(id, mouse);
        driver.Finish();
        return result;
    }
};

std::wstring ItemText(HMENU menu, int position) {
    wchar_t text[512] = L"";
    MENUITEMINFOW info = {};
    info.cbSize = sizeof info;
    info.fMask = MIIM_STRING;
    info.dwTypeData = text;
    info.cch = 512;
    GetMenuItemInfoW(menu, position, TRUE, &info);
    return text;
}

// A menu as one line: items joined by "|", separators "-", a submenu in brackets after its
// item; with `ids`, each command item's id after "=".
std::wstring Describe(HMENU menu, bool ids = false) {
    std::wstring line;
    const int count = GetMenuItemCount(menu);
    for (int p = 0; p < count; ++p) {
        MENUITEMINFOW info = {};
        info.cbSize = sizeof info;
        info.fMask = MIIM_FTYPE | MIIM_SUBMENU | MIIM_ID;
        GetMenuItemInfoW(menu, p, TRUE, &info);
        if (p) line += L"|";
        if (info.fType & MFT_SEPARATOR) {
            line += L"-";
            continue;
        }
        line += ItemText(menu, p);
        if (info.hSubMenu)
            line += L"[" + Describe(info.hSubMenu, ids) + L"]";
        else if (ids)
            line += L"=" + std::to_wstring(info.wID);
    }
    return line;
}

std::string BitsOf(HBITMAP bitmap) {
    BITMAP info = {};
    if (!GetObjectW(bitmap, sizeof info, &info)) return "";
    std::string bits(static_cast<size_t>(info.bmWidthBytes) * info.bmHeight, '\0');
    GetBitmapBits(bitmap, static_cast<LONG>(bits.size()), &bits[0]);
    return std::to_string(info.bmWidth) + "x" + std::to_string(info.bmHeight) + ":" + bits;
}

// The trace switch on for one test.
class TraceOn {
public:
    TraceOn() {
        const DWORD one = 1;
        RegCreateKeyExW(HKEY_CURRENT_USER, L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion", 0, nullptr, 0,
                        KEY_ALL_ACCESS, nullptr, &m_key, nullptr);
        RegSetValueExW(m_key, L"SysLog", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&one), sizeof one);
    }
    ~TraceOn() {
        RegDeleteValueW(m_key, L"SysLog");
        RegCloseKey(m_key);
    }

private:
    HKEY m_key = nullptr;
};

const std::vector<UINT> kDismiss = {VK_ESCAPE};
}  // namespace

TEST_CASE("tray menu: the language list comes from [Titles], up to the first missing or empty key") {
    // The key field holds two digits: keys 0 to 99 are offered (ids 1 to 100), key 100 never.
    std::string hundredAndOne = "[Titles]\r\n";
    std::wstring firstHundred = L"-";
    for (int key = 0; key <= 100; ++key) {
        hundredAndOne += std::to_string(key) + "=L" + std::to_string(key) + "\r\n";
        if (key < 100) firstHundred += L"|L" + std::to_wstring(key) + L"=" + std::to_wstring(key + 1);
    }
    struct Case { const char* name; std::string list; std::wstring submenu; };
    const Case cases[] = {
        {"keys 0, 1 and 3", "[Titles]\r\n0=Alpha\r\n1=Beta\r\n3=Delta\r\n", L"-|Alpha=1|Beta=2"},
        {"empty key 0", "[Titles]\r\n0=\r\n1=Beta\r\n", L"-"},
        {"no [Titles]", "[Files]\r\n0=English.ini\r\n", L"-"},
        {"no list file", "", L"-"},
        {"keys 0 to 100", hundredAndOne, firstHundred},
    };
    for (const Case& c : cases) {
        INFO(c.name);
        Tray t;
        if (c.list.empty())
            DeleteFileW((t.tree.LanguageDir() + L"\\LangType.ini").c_str());
        else
            t.tree.WriteLanguageFile(L"LangType.ini", c.list);
        std::wstring seen = L"(menu not seen)";
        MenuDriver driver(kDismiss, [&](HWND, HMENU menu) { seen = Describe(GetSubMenu(menu, 0), true); });
        CHECK(t.Notify(driver, IDR_TRAYMENU, WM_RBUTTONUP) == 1);
        CHECK(seen == c.submenu);
        CHECK_FALSE(driver.TimedOut());
    }
}

TEST_CASE("tray menu: every text is in the current language, the language titles included") {
    Tray t;
    t.languages.LoadLanguageFile((t.tree.LanguageDir() + L"\\French.ini").c_str());
    std::wstring seen;
    MenuDriver driver(kDismiss, [&](HWND, HMENU menu) { seen = Describe(menu); });
    t.Notify(driver, IDR_TRAYMENU, WM_RBUTTONUP);
    CHECK(seen ==
          L"  Langue[-|Anglais|Fran\u00e7ais|Su\u00e9dois]|-|  Options de l'adaptateur...|-|  Afficher le panneau|-|"
          L"  Aide|-|  Mises \u00e0 jour|-|  \u00c0 propos de Telvarion|-|  Quitter");
}

TEST_CASE("tray menu: the choice, or 0 when dismissed, goes to the main window and the trace") {
    TraceOn on;
    struct Case { const char* name; std::vector<UINT> keys; LPARAM id; };
    const Case cases[] = {
        {"dismissed", kDismiss, 0},
        {"About", {VK_DOWN, VK_DOWN, VK_DOWN, VK_DOWN, VK_DOWN, VK_DOWN, VK_RETURN}, ID_APP_ABOUT},
        {"the third language", {VK_DOWN, VK_RIGHT, VK_DOWN, VK_DOWN, VK_RETURN}, 3},
    };
    for (const Case& c : cases) {
        INFO(c.name);
        Tray t;
        CDebugTrace trace;
        MenuDriver driver(c.keys);
        // The shell puts more than the mouse message into lParam; only its low word counts.
        CHECK(t.Notify(driver, IDR_TRAYMENU, MAKELPARAM(WM_RBUTTONUP, IDR_TRAYMENU)) == 1);
        CHECK(driver.SawMenu());
        CHECK_FALSE(driver.TimedOut());
        REQUIRE(t.main.commands.size() == 1);
        CHECK(t.main.commands[0].first == TRAYCMD_MENU);
        CHECK(t.main.commands[0].second == c.id);
        CHECK(t.seam.HasDebugLine(L"Select Menu: " + std::to_wstring(c.id) + L"\n"));
    }
}

TEST_CASE("tray menu: without a main window the menu still runs and nothing is sent") {
    Tray t;
    t.app.m_pMainWnd = nullptr;
    MenuDriver driver(kDismiss);
    CHECK(t.Notify(driver, IDR_TRAYMENU, WM_RBUTTONUP) == 1);
    CHECK(driver.SawMenu());
    CHECK_FALSE(driver.TimedOut());
    CHECK(t.main.commands.empty());
}

TEST_CASE("tray menu: each item shows its picture in both check states, freed with the menu") {
    Tray t;
    struct Seen { HBITMAP checked, unchecked; std::string picture; };
    std::vector<Seen> items;
    HMENU popup = nullptr, submenu = nullptr;
    RECT placed = {};
    MenuDriver driver(kDismiss, [&](HWND window, HMENU menu) {
        popup = menu;
        submenu = GetSubMenu(menu, 0);
        GetWindowRect(window, &placed);
        for (int p = 0; p < GetMenuItemCount(menu); ++p) {
            MENUITEMINFOW info = {};
            info.cbSize = sizeof info;
            info.fMask = MIIM_CHECKMARKS;
            GetMenuItemInfoW(menu, p, TRUE, &info);
            items.push_back({info.hbmpChecked, info.hbmpUnchecked, BitsOf(info.hbmpChecked)});
        }
    });
    t.Notify(driver, IDR_TRAYMENU, WM_RBUTTONUP);
    // The menu's top-left corner is at the cursor.
    CHECK(placed.left == 100);
    CHECK(placed.top == 120);

    const int expected[] = {IDB_MENU_HEART, 0, IDB_MENU_ADVANCED, 0, IDB_MENU_HEART, 0, IDB_MENU_HELP,
                            0, IDB_MENU_UPDATE, 0, IDB_MENU_ABOUT, 0, IDB_MENU_EXIT};
    REQUIRE(items.size() == sizeof expected / sizeof expected[0]);
    std::vector<std::string> pictures;
    for (size_t p = 0; p < items.size(); ++p) {
        CAPTURE(p);
        CHECK(items[p].checked == items[p].unchecked);
        if (!expected[p]) {
            CHECK(items[p].checked == nullptr);
            continue;
        }
        HBITMAP resource = LoadBitmapW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(expected[p]));
        REQUIRE(resource);
        pictures.push_back(BitsOf(resource));
        DeleteObject(resource);
        CHECK(pictures.back().compare(0, 6, "13x13:") == 0);
        CHECK(items[p].picture == pictures.back());
    }
    // Read while the menu was open; once it closed they are all gone.
    for (size_t p = 0; p < items.size(); ++p) {
        CAPTURE(p);
        if (items[p].checked) CHECK(GetObjectType(items[p].checked) == 0);
    }
    CHECK_FALSE(IsMenu(popup));
    CHECK_FALSE(IsMenu(submenu));
}

TEST_CASE("tray menu: other notifications, and any for another icon, do nothing") {
    struct Case { const char* name; WPARAM id; UINT mouse; LRESULT result; };
    const Case cases[] = {
        {"another icon, right button released", IDR_TRAYMENU + 1, WM_RBUTTONUP, 0},
        {"another icon, left double click", 0, WM_LBUTTONDBLCLK, 0},
        {"right button pressed", IDR_TRAYMENU, WM_RBUTTONDOWN, 1},
        {"mouse moved", IDR_TRAYMENU, WM_MOUSEMOVE, 1},
        {"left button pressed", IDR_TRAYMENU, WM_LBUTTONDOWN, 1},
        {"left button released", IDR_TRAYMENU, WM_LBUTTONUP, 1},
    };
    for (const Case& c : cases) {
        INFO(c.name);
        Tray t;
        MenuDriver driver(kDismiss);
        CHECK(t.Notify(driver, c.id, c.mouse) == c.result);
        CHECK_FALSE(driver.SawMenu());
        CHECK(t.main.commands.empty());
        CHECK_FALSE(IsWindowVisible(t.main));
    }
}

TEST_CASE("tray menu: a left double click brings the main window up") {
    Tray t;
    MenuDriver driver(kDismiss);
    CHECK(t.Notify(driver, IDR_TRAYMENU, WM_LBUTTONDBLCLK) == 1);
    CHECK_FALSE(driver.SawMenu());
    CHECK(IsWindowVisible(t.main));
    CHECK(GetForegroundWindow() == t.main.GetSafeHwnd());
    CHECK(t.main.commands.empty());
}

TEST_CASE("tray menu: a thousand openings leave no menu and no bitmap behind") {
    Tray t;
    int opened = 0, leftBehind = 0;
    const DWORD start = GetTickCount();
    for (int round = 0; round < 1000; ++round) {
        std::vector<HGDIOBJ> bitmaps;
        HMENU popup = nullptr, submenu = nullptr;
        MenuDriver driver(kDismiss, [&](HWND, HMENU menu) {
            popup = menu;
            submenu = GetSubMenu(menu, 0);
            for (int p = 0; p < GetMenuItemCount(menu); ++p) {
                MENUITEMINFOW info = {};
                info.cbSize = sizeof info;
                info.fMask = MIIM_CHECKMARKS;
                GetMenuItemInfoW(menu, p, TRUE, &info);
                if (info.hbmpChecked) bitmaps.push_back(info.hbmpChecked);
            }
        });
        t.Notify(driver, IDR_TRAYMENU, WM_RBUTTONUP);
        opened += driver.SawMenu() && !driver.TimedOut() && bitmaps.size() == 7;
        for (HGDIOBJ bitmap : bitmaps) leftBehind += GetObjectType(bitmap) != 0;
        leftBehind += IsMenu(popup) || IsMenu(submenu);
    }
    MESSAGE("1000 openings took " << (GetTickCount() - start) << " ms");
    CHECK(opened == 1000);
    CHECK(leftBehind == 0);
    CHECK(t.main.commands.size() == 1000);
}
