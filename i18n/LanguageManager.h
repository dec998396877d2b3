// Puts every window and menu of the user-interface thread into the current language. A
// window-procedure hook sees each window as it is created; its creation-time text is the key
// in the language file, and it is remembered so that a later language switch, or the
// window's destruction, can start again from it.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

class CLanguageManager {
public:
    CLanguageManager();
    ~CLanguageManager();
    CLanguageManager(const CLanguageManager&) = delete;
    CLanguageManager& operator=(const CLanguageManager&) = delete;

    // The one manager of the process (the last one constructed), or null.
    static CLanguageManager* Instance();

    // Hooks the window procedures of the calling thread; true when the hook is in place.
    bool InstallHook();
    // The stored hook handle; start-up unhooks it itself and then clears it.
    HHOOK HookHandle() const { return m_hook; }
    void ClearHookHandle() { m_hook = nullptr; }

    // Makes `path` the current language file (relative paths against the current directory)
    // and re-translates every registered window and menu; false when the file does not exist.
    // A full path longer than 259 characters is not loaded: the current file becomes empty.
    bool LoadLanguageFile(const wchar_t* path);
    // Registers a window and translates its text and, for a top-level window, its menu.
    bool TranslateWindow(HWND hwnd);
    // Puts back a registered window's untranslated text and menu texts and forgets them.
    void ForgetWindow(HWND hwnd);
    // Translates a menu and its submenus in place without registering them.
    bool TranslateMenu(HMENU menu);
    // The translation of `text` in `section`, or `text` itself; valid until the next lookup.
    const wchar_t* LookUpText(const wchar_t* section, const wchar_t* text);

    const wchar_t* CurrentFile() const { return m_currentFile; }

    // What is remembered, for tests that check what is registered and that nothing is left.
    std::vector<HWND> RegisteredWindows() const;  // in registration order
    size_t RegisteredMenuCount() const { return m_menus.size(); }

private:
    static constexpr size_t kTextUnits = 260;

    static LRESULT CALLBACK CallWndHookProc(int code, WPARAM wp, LPARAM lp);

    struct MenuEntry {
        HMENU menu;
        std::vector<std::wstring> texts;  // by item position
    };
    struct WindowEntry {
        HWND hwnd;
        std::wstring text;  // creation-time text, never empty
    };

    bool SetCurrentFile(const wchar_t* path);
    void RegisterMenu(HMENU menu, int depth);
    void RetranslateMenu(HMENU menu, int depth);
    void RestoreMenu(HMENU menu);
    void TranslateMenuItems(HMENU menu, int depth);
    void ShowTranslatedText(HWND hwnd, const wchar_t* untranslated);
    std::vector<MenuEntry>::iterator FindMenu(HMENU menu);
    std::vector<WindowEntry>::iterator FindWindowEntry(HWND hwnd);

    wchar_t m_currentFile[kTextUnits] = L"";
    wchar_t m_lookup[kTextUnits] = L"";
    std::vector<MenuEntry> m_menus;      // in registration order
    std::vector<WindowEntry> m_windows;  // in registration order
    HHOOK m_hook = nullptr;
};

// Formats a WindowText value the way the program shows it: "%%" stands for one percent sign
// and every other percent sequence is shown as written (no arguments are ever read).
void FormatWindowText(const wchar_t* value, wchar_t* out, size_t units);
