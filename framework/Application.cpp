#include "framework/Application.h"
#include "framework/Window.h"

#include <cwchar>

namespace {
CApplication* g_application = nullptr;
HINSTANCE g_instance = nullptr;
}

CApplication::CApplication() { g_application = this; }

CApplication::~CApplication() {
    if (g_application == this) g_application = nullptr;
}

BOOL CApplication::InitInstance() { return TRUE; }

int CApplication::ExitInstance() { return m_exitCode; }

int CApplication::Run(HINSTANCE instance) {
    g_instance = instance;

    wchar_t path[MAX_PATH + 1] = L"";
    GetModuleFileNameW(instance, path, MAX_PATH);
    const wchar_t* name = path;
    for (const wchar_t* p = path; *p; ++p)
        if (*p == L'\\' || *p == L'/') name = p + 1;
    wcsncpy(m_appName, name, MAX_PATH - 1);
    m_appName[MAX_PATH - 1] = L'\0';
    if (wchar_t* dot = wcsrchr(m_appName, L'.')) *dot = L'\0';

    if (InitInstance()) {
        MSG msg;
        while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        m_exitCode = static_cast<int>(msg.wParam);
    }
    return ExitInstance();
}

CApplication* AfxGetApp() { return g_application; }

HINSTANCE AppInstance() { return g_instance ? g_instance : GetModuleHandleW(nullptr); }

HWND AfxGetMainHwnd() {
    return g_application && g_application->m_pMainWnd ? g_application->m_pMainWnd->GetSafeHwnd() : nullptr;
}
