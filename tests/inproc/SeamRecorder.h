// Replaces the platform seam for one test: records what the program asked of the shell, the
// message boxes and the debugger output, and answers without blocking. Restores on exit.
#pragma once
#include "platform/Platform.h"

#include <string>
#include <vector>

struct TrayCall {
    DWORD message;  // NIM_ADD, NIM_MODIFY, NIM_DELETE
    DWORD cbSize;
    HWND hWnd;
    UINT uID;
    UINT uFlags;
    UINT uCallbackMessage;
    HICON hIcon;
    std::wstring tip;
};

struct ShellCall {
    HWND owner;
    std::wstring verb, file, parameters, directory;
    INT show;
};

struct MessageBoxCall {
    std::wstring text, caption;
    UINT type;
};

class SeamRecorder {
public:
    SeamRecorder();
    ~SeamRecorder();

    std::vector<TrayCall> tray;
    std::vector<ShellCall> shell;
    std::vector<MessageBoxCall> boxes;
    std::vector<std::wstring> debug;

    BOOL trayResult = TRUE;     // what the shell answers
    LANGID systemLanguage = 0x0409;

    size_t CountTray(DWORD message) const;
    bool HasDebugLine(const std::wstring& fragment) const;
    void Clear();

    static SeamRecorder* Current();

private:
    PlatformCalls m_saved;
};
