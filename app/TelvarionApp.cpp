#include "app/TelvarionApp.h"
#include "app/CleanupMode.h"
#include "app/Configuration.h"
#include "app/DeviceLibraryLoader.h"
#include "app/IntegrityCheck.h"
#include "app/SingleInstance.h"
#include "device/TelvarionDlg.h"
#include "i18n/LanguageManager.h"
#include "platform/Platform.h"

#include <commctrl.h>
#include <objbase.h>
#include <cwchar>

BOOL CTelvarionApp::InitInstance() {
    CoInitialize(nullptr);
    // The framework hosts no ActiveX controls, so there is no control container to enable.
    INITCOMMONCONTROLSEX icc = {8, ICC_WIN95_CLASSES};
    InitCommonControlsEx(&icc);

    PrepareConfiguration();
    wchar_t title[kTextUnits] = L"";
    ReadAppString(L"SWText", title);

    const wchar_t* commandLine = GetCommandLineW();
    if (wcsstr(commandLine, L"*exit*")) {
        RunCleanupMode(title);
        return FALSE;
    }

    if (AnotherInstanceRuns() && !wcsstr(commandLine, L"W4N")) {
        ActivateRunningPanel(title);
        return FALSE;
    }

    if (!CheckResourceIntegrity()) return FALSE;

    CTelvarionDlg* panel = new CTelvarionDlg();
    HMODULE library = LoadDeviceLibrary();
    if (!library) {
        Platform().MessageBox(nullptr, L"Load Telvarion.dll Failed", AppName(), MB_OK);
        delete panel;
        return FALSE;
    }
    panel->SetLibraryModule(library);
    m_pMainWnd = panel;

    CLanguageManager* languages = CLanguageManager::Instance();
    if (languages) languages->InstallHook();

    panel->DoModal();

    if (languages) {
        UnhookWindowsHookEx(languages->HookHandle());
        languages->ClearHookHandle();
    }
    m_pMainWnd = nullptr;
    delete panel;
    return FALSE;
}

int CTelvarionApp::ExitInstance() {
    if (hInstanceMutex) {
        ReleaseMutex(hInstanceMutex);
        ReleaseMutex(hProgramMutex);
    }
    CoUninitialize();
    return CApplication::ExitInstance();
}
