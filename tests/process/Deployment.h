// A deployment tree of the program's own for one process-level test: a copy of the built
// distribution, plus private APPDATA and LOCALAPPDATA folders for the child.
#pragma once
#include "tests/support/Debuggee.h"
#include "tests/support/ProgramWindows.h"
#include "tests/support/TempDir.h"

#include <map>
#include <memory>
#include <string>

class Deployment {
public:
    Deployment();
    bool Ok() const { return m_ok; }

    std::wstring App() const { return m_root / L"app"; }
    std::wstring AppData() const { return m_root / L"appdata"; }
    std::wstring LocalAppData() const { return m_root / L"localappdata"; }
    std::wstring Exe() const { return App() + L"\\Telvarion.exe"; }
    std::wstring InstallIni() const { return App() + L"\\Resource\\Custom.ini"; }
    std::wstring UserIni() const { return AppData() + L"\\Telvarion\\Custom.ini"; }

    // Starts Telvarion.exe with `arguments` as a debuggee; `environment` adds to or replaces
    // (empty value: removes) the child's variables.
    std::unique_ptr<Debuggee> Start(const std::wstring& arguments = L"",
                                    std::map<std::wstring, std::wstring> environment = {}) const;

private:
    TempDir m_root{L"deploy"};
    bool m_ok = false;
};


// A message box of that process: its window and the text it shows; null when none appeared.
struct MessageBoxWindow {
    HWND hwnd = nullptr;
    std::wstring caption, text;
};
MessageBoxWindow WaitForMessageBox(DWORD processId, DWORD timeoutMs);
// Presses the box's OK button.
void DismissMessageBox(const MessageBoxWindow& box);

// Sets HKCU "SysLog" for the Wine prefix while it lives (it is the children's registry too).
class SysLogSwitch {
public:
    explicit SysLogSwitch(DWORD value);
    ~SysLogSwitch();
};
