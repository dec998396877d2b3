#include "tests/inproc/MenuDriver.h"

#include <cwchar>

namespace {
BOOL CALLBACK FindMenuWindow(HWND hwnd, LPARAM lp) {
    wchar_t cls[16] = L"";
    DWORD process = 0;
    GetWindowThreadProcessId(hwnd, &process);
    if (process != GetCurrentProcessId() || !IsWindowVisible(hwnd)) return TRUE;
    if (!GetClassNameW(hwnd, cls, 16) || wcscmp(cls, L"#32768") != 0) return TRUE;
    *reinterpret_cast<HWND*>(lp) = hwnd;
    return FALSE;
}

bool Past(DWORD start, DWORD ms) { return GetTickCount() - start >= ms; }
}  // namespace

HWND FindOpenMenuWindow() {
    HWND found = nullptr;
    EnumWindows(FindMenuWindow, reinterpret_cast<LPARAM>(&found));
    return found;
}

MenuDriver::MenuDriver(std::vector<UINT> keys, std::function<void(HWND, HMENU)> inspect, DWORD timeoutMs)
    : m_keys(std::move(keys)), m_inspect(std::move(inspect)), m_timeoutMs(timeoutMs) {
    m_thread = CreateThread(nullptr, 0, &MenuDriver::ThreadProc, this, 0, nullptr);
}

MenuDriver::~MenuDriver() { Finish(); }

void MenuDriver::Finish() {
    m_stop = true;
    if (!m_thread) return;
    // The driver ends the menu by its own deadline; a little more covers the ending itself.
    WaitForSingleObject(m_thread, m_timeoutMs + 5000);
    CloseHandle(m_thread);
    m_thread = nullptr;
}

DWORD WINAPI MenuDriver::ThreadProc(void* self) {
    static_cast<MenuDriver*>(self)->Run();
    return 0;
}

void MenuDriver::Run() {
    const DWORD start = GetTickCount();
    HWND popup = nullptr;
    while (!(popup = FindOpenMenuWindow())) {
        if (m_stop || Past(start, m_timeoutMs)) return;
        Sleep(1);
    }
    m_sawMenu = true;

    if (m_inspect) {
        DWORD_PTR menu = 0;
        if (SendMessageTimeoutW(popup, MN_GETHMENU, 0, 0, SMTO_NORMAL, m_timeoutMs, &menu))
            m_inspect(popup, reinterpret_cast<HMENU>(menu));
        else
            m_inspect(popup, nullptr);
    }
    // Posted input comes before the mouse moves the window system may add as a popup maps,
    // so the keys act on the menu exactly as posted.
    for (UINT key : m_keys) PostMessageW(popup, WM_KEYDOWN, key, 0);

    while (FindOpenMenuWindow()) {
        if (Past(start, m_timeoutMs)) {
            m_timedOut = true;
            EndMenu();
            if (HWND open = FindOpenMenuWindow()) PostMessageW(open, WM_CANCELMODE, 0, 0);
            if (Past(start, m_timeoutMs + 4000)) return;
            Sleep(50);
            continue;
        }
        Sleep(1);
    }
}
