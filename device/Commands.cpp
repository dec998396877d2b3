// The tray menu's commands, the end of the user's session, close and destroy, and the
// program's one way of ending.
#include "device/TelvarionDlg.h"
#include "app/Configuration.h"
#include "diag/DebugTrace.h"
#include "framework/Text.h"
#include "i18n/LanguageSelection.h"
#include "ids.h"
#include "platform/Platform.h"
#include "ui/AboutDlg.h"

void CTelvarionDlg::OnTrayCommand(WPARAM wp, LPARAM lp) {
    if (wp != TRAYCMD_MENU) return;
    const int id = static_cast<int>(lp);
    switch (id) {
    case ID_APP_ABOUT:
        OpenAboutBox();
        return;
    case ID_TRAY_EXIT:
        QuitApplication(false);
        return;
    case ID_TRAY_UPDATE:
        OpenLink(L"Update");
        return;
    case ID_TRAY_HELP:
        OpenLink(L"Help");
        return;
    case ID_TRAY_CONFIGURE:
        ShowWindow(SW_SHOW);
        return;
    case ID_TRAY_ADVANCED:
        TraceLog(L"Post message for popup option!");
        m_library.PostOptions();
        return;
    default:
        if (id >= 1 && id <= 99 && OnLanguageCommand(id)) {
            UpdateStatusIcon();
            m_library.SendLanguageFile(g_szLanguagePath);
        }
        return;
    }
}

void CTelvarionDlg::OpenAboutBox() {
    if (m_aboutOpen) return;
    m_aboutOpen = 1;
    {
        CAboutDlg about(m_hWnd, g_wDeviceVersion);
        about.DoModal();
    }
    m_aboutOpen = 0;
}

void CTelvarionDlg::OpenLink(const wchar_t* key) {
    wchar_t link[kTextUnits] = L"";
    ReadAppString(key, link);
    Platform().ShellExecute(m_hWnd, L"open", link, nullptr, nullptr, SW_HIDE);
}

void CTelvarionDlg::QuitApplication(bool launchSibling) {
    Platform().OutputDebugString(L"Uninstall Telvarion.dll");
    m_library.Uninstall();

    if (launchSibling) {
        wchar_t name[kTextUnits] = L"";
        ReadAppString(L"Q7RExeName", name);
        // Directory and name are joined without a separator; a joined path that does not fit
        // is not launched at all, since a cut path could start another program.
        wchar_t path[kTextUnits];
        if (FormatText(path, kTextUnits, L"%s%s", GetModuleDir().text, name)) {
            Platform().ShellExecute(m_hWnd, L"open", path, L"Q7R", nullptr, SW_SHOWDEFAULT);
            Platform().OutputDebugString(path);
            Platform().OutputDebugString(L"Run Kelvorshunt.exe");
        }
    }

    DestroyWindow(m_hWnd);
    PostQuitMessage(0);
    Platform().OutputDebugString(L"::PostQuitMessage");
}

LRESULT CTelvarionDlg::OnTrayNotify(WPARAM wp, LPARAM lp) { return m_trayIcon.OnTrayNotification(wp, lp); }

LRESULT CTelvarionDlg::OnQueryEndSession(WPARAM, LPARAM) { return TRUE; }

LRESULT CTelvarionDlg::OnEndSession(WPARAM wp, LPARAM) {
    if (wp) QuitApplication(false);
    return 0;
}

LRESULT CTelvarionDlg::OnClose(WPARAM, LPARAM) {
    HidePanel();
    return 0;
}

LRESULT CTelvarionDlg::OnDestroy(WPARAM, LPARAM) {
    const LRESULT result = Default();
    KillTimer(m_hWnd, kTimerPollVolumes);
    m_library.Free();
    m_trayIcon.Remove();
    return result;
}
