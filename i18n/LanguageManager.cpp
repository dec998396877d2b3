#include "i18n/LanguageManager.h"

namespace {
CLanguageManager* g_manager = nullptr;
}

CLanguageManager::CLanguageManager() { g_manager = this; }

CLanguageManager::~CLanguageManager() {
    if (g_manager == this) g_manager = nullptr;
}

CLanguageManager* CLanguageManager::Instance() { return g_manager; }

bool CLanguageManager::InstallHook() {
    m_hook = SetWindowsHookExW(WH_CALLWNDPROC, &CLanguageManager::CallWndHookProc, nullptr, GetCurrentThreadId());
    return m_hook != nullptr;
}

LRESULT CALLBACK CLanguageManager::CallWndHookProc(int code, WPARAM wp, LPARAM lp) {
    return CallNextHookEx(g_manager ? g_manager->m_hook : nullptr, code, wp, lp);
}

bool CLanguageManager::LoadLanguageFile(const wchar_t*) { return false; }
bool CLanguageManager::TranslateWindow(HWND) { return true; }
void CLanguageManager::ForgetWindow(HWND) {}
bool CLanguageManager::TranslateMenu(HMENU) { return true; }
const wchar_t* CLanguageManager::LookUpText(const wchar_t*, const wchar_t* text) { return text; }
