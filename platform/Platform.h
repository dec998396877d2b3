// The seam: the few calls that leave the process or block, so that tests can watch them.
// Everything else (windows, menus, hooks, timers, INI files, mutexes) is called directly.
#pragma once
#include <windows.h>
#include <shellapi.h>

struct PlatformCalls {
    BOOL (WINAPI* ShellNotifyIcon)(DWORD message, PNOTIFYICONDATAW data);
    HINSTANCE (WINAPI* ShellExecute)(HWND owner, LPCWSTR verb, LPCWSTR file, LPCWSTR parameters,
                                     LPCWSTR directory, INT show);
    int (WINAPI* MessageBox)(HWND owner, LPCWSTR text, LPCWSTR caption, UINT type);
    void (WINAPI* OutputDebugString)(LPCWSTR text);
    LANGID (WINAPI* GetSystemDefaultLangID)();
};

// The calls in force; the real Win32 functions unless a test replaced some of them.
PlatformCalls& Platform();
// The real Win32 functions, for a test that wants to restore or forward to them.
const PlatformCalls& RealPlatform();
