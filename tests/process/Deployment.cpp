#include "tests/process/Deployment.h"

#include <cstdlib>

Deployment::Deployment() {
    const wchar_t* dist = _wgetenv(L"TELVARION_DIST");
    m_ok = dist && CopyTree(dist, App());
    CreateDirectoryW(AppData().c_str(), nullptr);
    CreateDirectoryW(LocalAppData().c_str(), nullptr);
}

std::unique_ptr<Debuggee> Deployment::Start(const std::wstring& arguments,
                                            std::map<std::wstring, std::wstring> environment) const {
    environment.try_emplace(L"APPDATA", AppData());
    environment.try_emplace(L"LOCALAPPDATA", LocalAppData());
    auto child = std::make_unique<Debuggee>();
    std::wstring line = L"\"" + Exe() + L"\"";
    if (!arguments.empty()) line += L" " + arguments;
    if (!child->Start(Exe(), line, App(), environment)) return nullptr;
    return child;
}

HWND FindPanel(DWORD processId, DWORD timeoutMs) {
    const DWORD start = GetTickCount();
    do {
        for (HWND hwnd : WindowsOfProcess(processId, L"#32770"))
            if (GetDlgItem(hwnd, 1059)) return hwnd;
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
