// The shell's mouse notifications on the tray icon: the right button's release opens the tray
// menu, a left double click brings the panel up. The menu's outcome goes to the main window.
#include "tray/SystemIcon.h"
#include "app/Configuration.h"
#include "diag/DebugTrace.h"
#include "framework/Application.h"
#include "framework/Text.h"
#include "i18n/LanguageManager.h"
#include "ids.h"

#include <cwchar>

namespace {

// Keys of [Titles] hold at most two digits, so the list stops at key 99 (command id 100).
constexpr int kMaxLanguageItems = 100;

struct ItemBitmap {
    int position;
    int bitmap;
};
const ItemBitmap kItemBitmaps[] = {
    {0, IDB_MENU_HEART},  {2, IDB_MENU_ADVANCED}, {4, IDB_MENU_HEART}, {6, IDB_MENU_HELP},
    {8, IDB_MENU_UPDATE}, {10, IDB_MENU_ABOUT},   {12, IDB_MENU_EXIT},
};
const int kBitmapIds[] = {IDB_MENU_EXIT, IDB_MENU_UPDATE, IDB_MENU_HELP, IDB_MENU_ABOUT, IDB_MENU_HEART,
                          IDB_MENU_ADVANCED};

void AppendLanguages(HMENU submenu) {
    wchar_t listPath[kTextUnits];
    if (!FormatText(listPath, kTextUnits, L"%s\\%s\\%s", GetModuleDir().text, L"Language", L"LangType.ini")) return;
    for (int index = 0; index < kMaxLanguageItems; ++index) {
        wchar_t key[3];
        FormatText(key, 3, L"%d", index);
        wchar_t title[256] = L"";
        GetPrivateProfileStringW(L"Titles", key, L"", title, 256, listPath);
        if (!title[0]) break;
        AppendMenuW(submenu, MF_STRING, static_cast<UINT_PTR>(index) + 1, title);
    }
}

int RunMenu(HWND owner, UINT menuId) {
    SetForegroundWindow(owner);
    UniqueMenu menu(LoadMenuW(AppInstance(), MAKEINTRESOURCEW(menuId)));
    HMENU popup = GetSubMenu(menu.Get(), 0);
    if (!popup) return 0;

    AppendLanguages(GetSubMenu(popup, 0));

    UniqueBitmap bitmaps[sizeof kBitmapIds / sizeof kBitmapIds[0]];
    for (size_t i = 0; i < sizeof kBitmapIds / sizeof kBitmapIds[0]; ++i)
        bitmaps[i].Reset(LoadBitmapW(AppInstance(), MAKEINTRESOURCEW(kBitmapIds[i])));
    auto bitmapFor = [&](int id) -> HBITMAP {
        for (size_t i = 0; i < sizeof kBitmapIds / sizeof kBitmapIds[0]; ++i)
            if (kBitmapIds[i] == id) return bitmaps[i].Get();
        return nullptr;
    };
    for (const ItemBitmap& item : kItemBitmaps) {
        HBITMAP bitmap = bitmapFor(item.bitmap);
        SetMenuItemBitmaps(popup, item.position, MF_BYPOSITION, bitmap, bitmap);
    }

    if (CLanguageManager* languages = CLanguageManager::Instance()) languages->TranslateMenu(popup);

    POINT cursor = {};
    GetCursorPos(&cursor);
    const int chosen = static_cast<int>(TrackPopupMenuEx(popup, TPM_RETURNCMD, cursor.x, cursor.y, owner, nullptr));
    // Without a message of its own after the menu, a tray menu opened again may not close
    // when the user clicks elsewhere.
    PostMessageW(owner, WM_NULL, 0, 0);
    TraceLog(L"Select Menu: %d", chosen);

    HWND main = AfxGetMainHwnd();
    if (main && IsWindow(main)) SendMessageW(main, WM_TRAYICON_COMMAND, TRAYCMD_MENU, chosen);
    // The menu (with its submenu and appended items) and the bitmaps go when their owners do.
    return chosen;
}

}  // namespace

LRESULT CSystemIcon::OnTrayNotification(WPARAM wp, LPARAM lp) {
    if (wp != Id()) return 0;
    switch (LOWORD(lp)) {
    case WM_RBUTTONUP:
        RunMenu(Owner(), Id());
        break;
    case WM_LBUTTONDBLCLK:
        if (HWND main = AfxGetMainHwnd()) ShowWindow(main, SW_SHOW);
        SetForegroundWindow(Owner());
        break;
    default:
        break;
    }
    return 1;
}
