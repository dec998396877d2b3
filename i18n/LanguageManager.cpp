#include "i18n/LanguageManager.h"

#include "framework/Text.h"

#include <shlwapi.h>

#include <algorithm>
#include <cwchar>

namespace {
CLanguageManager* g_manager = nullptr;

const wchar_t kWindowSection[] = L"WindowText";
const wchar_t kMenuSection[] = L"MenuText";

// Menus come from the window system, not from us; a menu that (directly or not) contains
// itself must not recurse for ever.
constexpr int kMaxMenuDepth = 32;

// The registries grow a block at a time; erased slots are reused by later entries.
template <class Entry>
void MakeRoomForOne(std::vector<Entry>& pool) {
    if (pool.size() == pool.capacity()) pool.reserve(pool.capacity() + 16);
}

// GetMenu of a child window answers with its control id, so only top-level windows count.
HMENU TopLevelMenu(HWND hwnd) {
    if (GetWindowLongPtrW(hwnd, GWL_STYLE) & WS_CHILD) return nullptr;
    HMENU menu = GetMenu(hwnd);
    return menu && IsMenu(menu) ? menu : nullptr;
}

void Invalidate(HWND hwnd) { RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE); }

// The item's submenu and text length, read without a text buffer.
bool QueryMenuItem(HMENU menu, int position, HMENU* submenu, UINT* length) {
    MENUITEMINFOW info = {};
    info.cbSize = sizeof info;
    info.fMask = MIIM_SUBMENU | MIIM_STRING;
    if (!GetMenuItemInfoW(menu, position, TRUE, &info)) return false;
    *submenu = info.hSubMenu;
    *length = info.cch;
    return true;
}

// The text itself, into a buffer one longer than the length the query gave.
bool ReadMenuItemText(HMENU menu, int position, UINT length, std::wstring* text) {
    text->assign(static_cast<size_t>(length) + 1, L'\0');
    MENUITEMINFOW info = {};
    info.cbSize = sizeof info;
    info.fMask = MIIM_SUBMENU | MIIM_STRING;
    info.dwTypeData = &(*text)[0];
    info.cch = static_cast<UINT>(text->size());
    const bool read = GetMenuItemInfoW(menu, position, TRUE, &info) != FALSE;
    text->resize(read ? wcsnlen(text->c_str(), text->size()) : 0);
    return read;
}

// `mask` is MIIM_STRING alone, or with MIIM_SUBMENU and the item's own submenu handed back.
void SetMenuItemText(HMENU menu, int position, const wchar_t* text, UINT mask, HMENU submenu) {
    MENUITEMINFOW info = {};
    info.cbSize = sizeof info;
    info.fMask = mask;
    info.hSubMenu = submenu;
    info.dwTypeData = const_cast<wchar_t*>(text);
    SetMenuItemInfoW(menu, position, TRUE, &info);
}
}  // namespace

void FormatWindowText(const wchar_t* value, wchar_t* out, size_t units) {
    if (!out || units == 0) return;
    size_t used = 0;
    // Translators write "%%" for a percent sign, as in a printf format; since the text is
    // never given arguments, any other percent sequence can only be a mistake in the file,
    // and showing it as written is the one reading that cannot touch memory.
    for (const wchar_t* p = value ? value : L""; *p && used + 1 < units; ++p) {
        if (p[0] == L'%' && p[1] == L'%') ++p;
        out[used++] = *p;
    }
    out[used] = L'\0';
}

CLanguageManager::CLanguageManager() { g_manager = this; }

CLanguageManager::~CLanguageManager() {
    if (g_manager == this) g_manager = nullptr;
}

CLanguageManager* CLanguageManager::Instance() { return g_manager; }

bool CLanguageManager::InstallHook() {
    // The module is the one that holds the hook procedure, which need not be the executable
    // when this code is linked into something else.
    MEMORY_BASIC_INFORMATION region = {};
    HMODULE module = nullptr;
    if (VirtualQuery(reinterpret_cast<const void*>(&CLanguageManager::CallWndHookProc), &region, sizeof region))
        module = static_cast<HMODULE>(region.AllocationBase);
    m_hook = SetWindowsHookExW(WH_CALLWNDPROC, &CLanguageManager::CallWndHookProc, module, GetCurrentThreadId());
    return m_hook != nullptr;
}

LRESULT CALLBACK CLanguageManager::CallWndHookProc(int code, WPARAM wp, LPARAM lp) {
    CLanguageManager* self = g_manager;
    // A negative code belongs to the hook chain alone.
    if (self && code >= 0 && lp) {
        const CWPSTRUCT* sent = reinterpret_cast<const CWPSTRUCT*>(lp);
        if (sent->message == WM_CREATE)
            self->TranslateWindow(sent->hwnd);
        else if (sent->message == WM_DESTROY)
            self->ForgetWindow(sent->hwnd);
    }
    return CallNextHookEx(self ? self->m_hook : nullptr, code, wp, lp);
}

const wchar_t* CLanguageManager::LookUpText(const wchar_t* section, const wchar_t* text) {
    // A null section or key would make the INI function list names instead of looking up.
    if (!section || !text) {
        m_lookup[0] = L'\0';
        return m_lookup;
    }
    GetPrivateProfileStringW(section, text, text, m_lookup, kTextUnits, m_currentFile);
    return m_lookup;
}

bool CLanguageManager::SetCurrentFile(const wchar_t* path) {
    bool fits = false;
    if (path && PathIsRelativeW(path)) {
        const DWORD length = GetFullPathNameW(path, kTextUnits, m_currentFile, nullptr);
        fits = length > 0 && length < kTextUnits;
    } else if (path) {
        fits = CopyText(m_currentFile, path);
    }
    // A cut path would name some other file, perhaps one that exists. An empty one makes the
    // load fail and every later lookup find nothing, the same as any other failed load.
    if (!fits) m_currentFile[0] = L'\0';
    return fits;
}

bool CLanguageManager::LoadLanguageFile(const wchar_t* path) {
    if (!SetCurrentFile(path) || !PathFileExistsW(m_currentFile)) return false;

    // Setting a text sends WM_SETTEXT, and whatever a window does then may create or destroy
    // windows of this thread and so change the registry under us: walk a list of handles.
    for (HWND hwnd : RegisteredWindows()) {
        const auto entry = FindWindowEntry(hwnd);
        if (entry == m_windows.end()) continue;  // forgotten meanwhile
        const std::wstring untranslated = entry->text;
        ShowTranslatedText(hwnd, untranslated.c_str());
        if (HMENU menu = TopLevelMenu(hwnd)) RetranslateMenu(menu, 0);
    }
    return true;
}

void CLanguageManager::ShowTranslatedText(HWND hwnd, const wchar_t* untranslated) {
    wchar_t shown[kTextUnits];
    FormatWindowText(LookUpText(kWindowSection, untranslated), shown, kTextUnits);
    SetWindowTextW(hwnd, shown);
    Invalidate(hwnd);
}

bool CLanguageManager::TranslateWindow(HWND hwnd) {
    const int units = GetWindowTextLengthW(hwnd) + 1;
    if (units > 1) {
        std::wstring text(static_cast<size_t>(units), L'\0');
        const int copied = GetWindowTextW(hwnd, &text[0], units);
        text.resize(copied > 0 ? static_cast<size_t>(copied) : 0);
        if (!text.empty()) {
            const auto entry = FindWindowEntry(hwnd);
            if (entry != m_windows.end()) {
                entry->text = text;
            } else {
                MakeRoomForOne(m_windows);
                m_windows.push_back({hwnd, text});
            }
            ShowTranslatedText(hwnd, text.c_str());
        }
    }
    if (HMENU menu = TopLevelMenu(hwnd)) RegisterMenu(menu, 0);
    return true;
}

void CLanguageManager::ForgetWindow(HWND hwnd) {
    if (!IsWindow(hwnd)) return;
    const auto entry = FindWindowEntry(hwnd);
    if (entry != m_windows.end()) {
        // Out of the registry first: WM_SETTEXT may lead back here.
        const std::wstring untranslated = std::move(entry->text);
        m_windows.erase(entry);
        SetWindowTextW(hwnd, untranslated.c_str());
        Invalidate(hwnd);
    }
    if (HMENU menu = TopLevelMenu(hwnd)) RestoreMenu(menu);
}

void CLanguageManager::RegisterMenu(HMENU menu, int depth) {
    if (depth > kMaxMenuDepth) return;
    const auto found = FindMenu(menu);
    if (found != m_menus.end()) {
        // A handle seen before names a menu whose texts are read afresh, so that the list
        // index stays the item position.
        found->texts.clear();
    } else {
        MakeRoomForOne(m_menus);
        m_menus.push_back({menu, {}});
    }
    const int count = GetMenuItemCount(menu);
    for (int p = 0; p < count; ++p) {
        HMENU submenu = nullptr;
        UINT length = 0;
        const bool known = QueryMenuItem(menu, p, &submenu, &length);
        // The submenu first: its lookups reuse the one lookup buffer.
        if (known && submenu) RegisterMenu(submenu, depth + 1);
        std::wstring text;
        const bool readable = known && ReadMenuItemText(menu, p, length, &text);
        // Registering the submenu may have moved the entries.
        const auto entry = FindMenu(menu);
        if (entry != m_menus.end()) entry->texts.push_back(text);
        if (readable)
            SetMenuItemText(menu, p, LookUpText(kMenuSection, text.c_str()), MIIM_SUBMENU | MIIM_STRING, submenu);
    }
}

void CLanguageManager::RetranslateMenu(HMENU menu, int depth) {
    if (depth > kMaxMenuDepth) return;
    const auto entry = FindMenu(menu);
    if (entry == m_menus.end()) return;
    // Nothing below adds or removes entries, so `entry` stays valid.
    for (size_t p = 0; p < entry->texts.size(); ++p) {
        const int position = static_cast<int>(p);
        SetMenuItemText(menu, position, LookUpText(kMenuSection, entry->texts[p].c_str()), MIIM_STRING, nullptr);
        if (HMENU submenu = GetSubMenu(menu, position)) RetranslateMenu(submenu, depth + 1);
    }
}

void CLanguageManager::RestoreMenu(HMENU menu) {
    const auto entry = FindMenu(menu);
    if (entry == m_menus.end()) return;
    // Removed before the walk, which also ends it should a menu contain itself.
    const std::vector<std::wstring> texts = std::move(entry->texts);
    m_menus.erase(entry);
    for (size_t p = 0; p < texts.size(); ++p) {
        const int position = static_cast<int>(p);
        SetMenuItemText(menu, position, texts[p].c_str(), MIIM_STRING, nullptr);
        if (HMENU submenu = GetSubMenu(menu, position)) RestoreMenu(submenu);
    }
}

bool CLanguageManager::TranslateMenu(HMENU menu) {
    TranslateMenuItems(menu, 0);
    return true;
}

void CLanguageManager::TranslateMenuItems(HMENU menu, int depth) {
    if (depth > kMaxMenuDepth) return;
    const int count = GetMenuItemCount(menu);
    for (int p = 0; p < count; ++p) {
        HMENU submenu = nullptr;
        UINT length = 0;
        if (!QueryMenuItem(menu, p, &submenu, &length)) continue;
        if (submenu) TranslateMenuItems(submenu, depth + 1);
        std::wstring text;
        if (!ReadMenuItemText(menu, p, length, &text)) continue;
        SetMenuItemText(menu, p, LookUpText(kMenuSection, text.c_str()), MIIM_SUBMENU | MIIM_STRING, submenu);
    }
}

std::vector<HWND> CLanguageManager::RegisteredWindows() const {
    std::vector<HWND> handles;
    handles.reserve(m_windows.size());
    for (const WindowEntry& entry : m_windows) handles.push_back(entry.hwnd);
    return handles;
}

std::vector<CLanguageManager::MenuEntry>::iterator CLanguageManager::FindMenu(HMENU menu) {
    return std::find_if(m_menus.begin(), m_menus.end(), [menu](const MenuEntry& e) { return e.menu == menu; });
}

std::vector<CLanguageManager::WindowEntry>::iterator CLanguageManager::FindWindowEntry(HWND hwnd) {
    return std::find_if(m_windows.begin(), m_windows.end(), [hwnd](const WindowEntry& e) { return e.hwnd == hwnd; });
}
