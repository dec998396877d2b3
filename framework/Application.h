// The application object: the process entry runs its InitInstance and then ExitInstance.
#pragma once
#include <windows.h>

class CWindow;

class CApplication {
public:
    CApplication();
    virtual ~CApplication();

    // Returns TRUE to enter a message loop of the application's own, FALSE to end at once.
    virtual BOOL InitInstance();
    // Returns the process exit code.
    virtual int ExitInstance();

    // The process entry calls this once.
    int Run(HINSTANCE instance);

    // The application's main window; the framework's code asks for it by this name.
    CWindow* m_pMainWnd = nullptr;
    // The executable's file name without its extension: the caption of start-up messages.
    const wchar_t* AppName() const { return m_appName; }

protected:
    int m_exitCode = 0;

private:
    wchar_t m_appName[MAX_PATH] = L"";
};

// The one application object of the process, or null before it is constructed.
CApplication* AfxGetApp();
HINSTANCE AppInstance();
// The main window's handle, or null.
HWND AfxGetMainHwnd();
