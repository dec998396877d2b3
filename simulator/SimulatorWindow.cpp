#include "simulator/SimulatorWindow.h"

#include "resources/ids.h"
#include "simulator/Commands.h"
#include "simulator/Journal.h"
#include "simulator/OptionsWindow.h"
#include "simulator/Script.h"

#include <cwchar>
#include <string>

namespace sim {
namespace {

HWND g_window = nullptr;
wchar_t g_language[kLanguagePathSize] = L"";

void RecordLanguage(const wchar_t* path) {
    // The program sends a pointer, not a length: read no further than the recorded size.
    int length = 0;
    if (path)
        while (length < kLanguagePathSize - 1 && path[length]) ++length;
    if (length) wmemcpy(g_language, path, length);
    g_language[length] = L'\0';
    Journal(std::wstring(L"language ") + g_language);
    RefreshOptionsWindow();
}

LRESULT CommandsFromAnotherProcess(const COPYDATASTRUCT* data) {
    if (!data || data->dwData != kCommandChannel) return FALSE;
    // The terminator is expected but not trusted: cbData is the only real bound.
    const wchar_t* text = static_cast<const wchar_t*>(data->lpData);
    const size_t units = text ? data->cbData / sizeof(wchar_t) : 0;
    size_t length = 0;
    while (length < units && text[length]) ++length;
    return RunCommandsNow(std::wstring(text ? text : L"", length)) ? TRUE : FALSE;
}

LRESULT CALLBACK SimulatorProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_DEVLIB_POPUP_OPTIONS:
        Journal(L"options");
        OpenOptionsWindow();
        return 0;
    case WM_DEVLIB_LANGUAGE_FILE:
        RecordLanguage(reinterpret_cast<const wchar_t*>(wp));
        return 0;
    case WM_COPYDATA:
        return CommandsFromAnotherProcess(reinterpret_cast<const COPYDATASTRUCT*>(lp));
    case WM_TIMER:
        if (wp == kScriptTimer) {
            OnScriptTimer(hwnd);
            return 0;
        }
        break;
    case WM_DESTROY:
        StopScript(hwnd);
        if (hwnd == g_window) g_window = nullptr;
        return 0;
    }
    return DefWindowProcW(hwnd, msg, wp, lp);
}

}

HINSTANCE ModuleInstance() {
    HMODULE module = nullptr;
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCWSTR>(&ModuleInstance), &module);
    return module;
}

HWND CreateSimulatorWindow() {
    if (g_window) return g_window;
    const HINSTANCE instance = ModuleInstance();
    WNDCLASSEXW wc = {};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = SimulatorProc;
    wc.hInstance = instance;
    wc.lpszClassName = kWindowClass;
    // Classes are registered per installation and removed at uninstallation: a DLL's classes
    // outlive it otherwise, and a later load at another address would find a dead procedure.
    if (!RegisterClassExW(&wc) || !RegisterOptionsClass(instance)) {
        UnregisterClassW(kWindowClass, instance);
        return nullptr;
    }
    // The process id in the title lets a test in another process pick this process's window
    // with FindWindowW alone.
    wchar_t title[64];
    swprintf(title, sizeof title / sizeof title[0], L"Telvarion simulator %lx", GetCurrentProcessId());
    // A hidden top-level window rather than a message-only one: FindWindowW and EnumWindows
    // see it, and a message-only window would hide the simulator from tests outside.
    g_window = CreateWindowExW(WS_EX_TOOLWINDOW, kWindowClass, title, WS_POPUP, 0, 0, 0, 0,
                               nullptr, nullptr, instance, nullptr);
    if (!g_window) {
        UnregisterOptionsClass(instance);
        UnregisterClassW(kWindowClass, instance);
    }
    g_language[0] = L'\0';
    return g_window;
}

void DestroySimulatorWindow() {
    const HINSTANCE instance = ModuleInstance();
    CloseOptionsWindow();
    if (g_window) DestroyWindow(g_window);
    g_window = nullptr;
    g_language[0] = L'\0';
    UnregisterOptionsClass(instance);
    UnregisterClassW(kWindowClass, instance);
}

HWND SimulatorWindow() { return g_window; }

const wchar_t* LanguagePath() { return g_language; }

}
