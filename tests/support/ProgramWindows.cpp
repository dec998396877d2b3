#include "tests/support/ProgramWindows.h"
#include "tests/support/Debuggee.h"

HWND FindPanel(DWORD processId, DWORD timeoutMs) {
    const DWORD start = GetTickCount();
    do {
        for (HWND hwnd : WindowsOfProcess(processId, L"#32770"))
            if (GetDlgItem(hwnd, 1059 /* the speaker slider */)) return hwnd;
        Sleep(50);
    } while (GetTickCount() - start < timeoutMs);
    return nullptr;
}

bool SimulatorCommand(DWORD processId, const std::wstring& commands) {
    auto windows = WindowsOfProcess(processId, L"TelvarionSimulator");
    if (windows.empty()) return false;
    COPYDATASTRUCT data = {0x5449, static_cast<DWORD>((commands.size() + 1) * sizeof(wchar_t)),
                           const_cast<wchar_t*>(commands.c_str())};
    DWORD_PTR result = 0;
    return SendMessageTimeoutW(windows.front(), WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data),
                               SMTO_ABORTIFHUNG, 5000, &result) != 0;
}
