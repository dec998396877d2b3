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



namespace {
BOOL CALLBACK CollectChildText(HWND child, LPARAM lp) {
    wchar_t text[512] = L"";
    GetWindowTextW(child, text, 512);
    wchar_t cls[64] = L"";
    GetClassNameW(child, cls, 64);
    if (!_wcsicmp(cls, L"Static") && *text) {
        auto* out = reinterpret_cast<std::wstring*>(lp);
        if (!out->empty()) *out += L"\n";
        *out += text;
    }
    return TRUE;
}
}  // namespace

MessageBoxWindow WaitForMessageBox(DWORD processId, DWORD timeoutMs) {
    const DWORD start = GetTickCount();
    do {
        for (HWND hwnd : WindowsOfProcess(processId, L"#32770")) {
            if (GetDlgItem(hwnd, 1059) || !IsWindowVisible(hwnd)) continue;  // the panel, or not shown yet
            MessageBoxWindow box;
            box.hwnd = hwnd;
            wchar_t caption[256] = L"";
            GetWindowTextW(hwnd, caption, 256);
            box.caption = caption;
            EnumChildWindows(hwnd, &CollectChildText, reinterpret_cast<LPARAM>(&box.text));
            return box;
        }
        Sleep(50);
    } while (GetTickCount() - start < timeoutMs);
    return {};
}

void DismissMessageBox(const MessageBoxWindow& box) {
    if (box.hwnd) PostMessageW(box.hwnd, WM_COMMAND, IDOK, 0);
}

namespace {
const wchar_t kRunKey[] = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion";
}

SysLogSwitch::SysLogSwitch(DWORD value) {
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, kRunKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr)) return;
    RegSetValueExW(key, L"SysLog", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
    RegCloseKey(key);
}

SysLogSwitch::~SysLogSwitch() {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, kRunKey, 0, KEY_ALL_ACCESS, &key)) return;
    RegDeleteValueW(key, L"SysLog");
    RegCloseKey(key);
}
