#include "device/TelvarionDlg.h"
#include "app/Configuration.h"
#include "device/DeviceStatus.h"
#include "framework/Application.h"
#include "framework/Text.h"
#include "i18n/LanguageSelection.h"
#include "ids.h"
#include "platform/Platform.h"

WORD g_wDeviceVersion = 0;

namespace {
// Adapters with these device version numbers belong to the sibling program.
constexpr WORD kSiblingFirst = 0x0540;
constexpr WORD kSiblingLast = 0x056F;

// Sent to every top-level window when the shell (re)creates its taskbar.
UINT TaskbarCreatedMessage() {
    static const UINT message = RegisterWindowMessageW(L"TaskbarCreated");
    return message;
}
}  // namespace

CTelvarionDlg::CTelvarionDlg()
    : CDialog(IDD_TELVARION_DIALOG, nullptr),
      m_hIcon(LoadIconW(AppInstance(), MAKEINTRESOURCEW(IDR_MAINFRAME))) {}

const MessageMapEntry* CTelvarionDlg::GetMessageMap() const {
    static const MessageMapEntry map[] = {
        ON_NOTIFY(NM_RELEASEDCAPTURE, IDC_SLIDER_SPEAKER, &CTelvarionDlg::OnSpeakerReleased),
        ON_NOTIFY(NM_RELEASEDCAPTURE, IDC_SLIDER_MIC, &CTelvarionDlg::OnMicReleased),
        ON_MESSAGE(WM_TRAYICON_NOTIFY, &CTelvarionDlg::OnTrayNotify),
        ON_MESSAGE(WM_QUERYENDSESSION, &CTelvarionDlg::OnQueryEndSession),
        ON_MESSAGE(WM_ENDSESSION, &CTelvarionDlg::OnEndSession),
        ON_MESSAGE(WM_DESTROY, &CTelvarionDlg::OnDestroy),
        ON_MESSAGE(WM_CLOSE, &CTelvarionDlg::OnClose),
        ON_MESSAGE(WM_TIMER, &CTelvarionDlg::OnTimer),
        ON_MESSAGE(WM_ERASEBKGND, &CTelvarionDlg::OnEraseBkgnd),
        ON_MESSAGE(WM_NCHITTEST, &CTelvarionDlg::OnNcHitTest),
        ON_MESSAGE(WM_CTLCOLORMSGBOX, &CTelvarionDlg::OnCtlColor),
        ON_MESSAGE(WM_CTLCOLOREDIT, &CTelvarionDlg::OnCtlColor),
        ON_MESSAGE(WM_CTLCOLORLISTBOX, &CTelvarionDlg::OnCtlColor),
        ON_MESSAGE(WM_CTLCOLORBTN, &CTelvarionDlg::OnCtlColor),
        ON_MESSAGE(WM_CTLCOLORDLG, &CTelvarionDlg::OnCtlColor),
        ON_MESSAGE(WM_CTLCOLORSCROLLBAR, &CTelvarionDlg::OnCtlColor),
        ON_MESSAGE(WM_CTLCOLORSTATIC, &CTelvarionDlg::OnCtlColor),
        ON_MESSAGE(WM_LBUTTONDOWN, &CTelvarionDlg::OnLButtonDown),
        ON_MESSAGE(WM_SETCURSOR, &CTelvarionDlg::OnSetCursor),
        ON_MESSAGE(WM_WINDOWPOSCHANGING, &CTelvarionDlg::OnWindowPosChanging),
        END_MESSAGE_MAP,
    };
    return map;
}

void CTelvarionDlg::DoDataExchange(CDataExchange& dx) {
    DDX_Control(dx, IDC_SLIDER_SPEAKER, m_speakerSlider);
    DDX_Control(dx, IDC_SLIDER_MIC, m_micSlider);
}

BOOL CTelvarionDlg::OnInitDialog() {
    CDialog::OnInitDialog();

    SendMessage(WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_hIcon));
    SendMessage(WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_hIcon));

    // A second start of the program finds this panel by its title.
    wchar_t title[kTextUnits] = L"";
    ReadAppString(L"SWText", title);
    SetWindowTextW(m_hWnd, title);

    m_look.Apply(m_hWnd, m_speakerSlider, m_micSlider);

    wchar_t tooltip[kTextUnits] = L"";
    ReadIniString(szUserIniPath, szAppSection, L"Software", L"", tooltip, kTextUnits);
    if (!m_trayIcon.Create(this, WM_TRAYICON_NOTIFY, tooltip, m_hIcon, IDR_TRAYMENU)) return TRUE;

    wchar_t hide[kTextUnits] = L"";
    ReadIniIfExists(szUserIniPath, L"Device", L"bHideTelvarionDlg", hide);
    if (wcscmp(hide, L"1") == 0)
        m_hideAtStart = 1;
    else
        SetTimer(m_hWnd, kTimerHideAtStart, 2000, nullptr);

    SelectStartupLanguage();
    UpdateStatusIcon();

    if (!m_library.Install(m_hWnd))
        Platform().MessageBox(m_hWnd, L"InstallTelvarion Failed", AfxGetApp() ? AfxGetApp()->AppName() : L"", MB_OK);
    m_library.SendLanguageFile(g_szLanguagePath);

    m_speakerSlider.SetRange(0, 100, FALSE);
    m_micSlider.SetRange(0, 100, FALSE);
    m_speakerSlider.SetPos(50);
    m_micSlider.SetPos(50);

    UpdateStatusIcon();
    return TRUE;
}

void CTelvarionDlg::UpdateStatusIcon() {
    const StatusPresentation status = PresentStatus(m_skypeOnline, m_devicePresent, m_offHook);

    // A path that does not fit names no file: the icon then shows empty rather than wrong.
    wchar_t path[kTextUnits] = L"";
    if (!FormatText(path, kTextUnits, L"%s\\Resource\\", GetModuleDir().text) || !AppendText(path, status.iconFile))
        path[0] = L'\0';

    wchar_t tooltip[kTextUnits] = L"";
    ReadIniIfExists(g_szLanguagePath, L"Tooltip", status.tooltipKey, tooltip);

    m_trayIcon.SetIconFromFile(path);
    m_trayIcon.SetTooltip(tooltip);
}

void CTelvarionDlg::HidePanel() {
    if (HWND main = AfxGetMainHwnd()) {
        ::ShowWindow(main, SW_HIDE);
        UpdateWindow(main);
    }
}

LRESULT CTelvarionDlg::WindowProc(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_DEVLIB_SKYPE_ONLINE:
    case WM_DEVLIB_SKYPE_OFFLINE:
        m_skypeOnline = msg == WM_DEVLIB_SKYPE_ONLINE;
        UpdateStatusIcon();
        break;
    case WM_DEVLIB_DEVICE_ARRIVED:
        g_wDeviceVersion = LOWORD(wp);
        if (g_wDeviceVersion >= kSiblingFirst && g_wDeviceVersion <= kSiblingLast) {
            QuitApplication(true);
            return 0;
        }
        m_devicePresent = 1;
        UpdateStatusIcon();
        SetTimer(m_hWnd, kTimerApplyVolumes, 2000, nullptr);
        break;
    case WM_DEVLIB_DEVICE_REMOVED:
        KillTimer(m_hWnd, kTimerPollVolumes);
        m_speakerSlider.EnableWindow(FALSE);
        m_micSlider.EnableWindow(FALSE);
        m_devicePresent = 0;
        UpdateStatusIcon();
        break;
    case WM_DEVLIB_OFFHOOK:
    case WM_DEVLIB_ONHOOK:
        m_offHook = msg == WM_DEVLIB_OFFHOOK;
        UpdateStatusIcon();
        break;
    case WM_TRAYICON_COMMAND:
        OnTrayCommand(wp, lp);
        break;
    default:
        // The shell restarted (Explorer crashed or was restarted): without the icon the hidden
        // panel could not be reached again.
        if (msg == TaskbarCreatedMessage()) m_trayIcon.Restore();
        return CDialog::WindowProc(msg, wp, lp);
    }
    return DefWindowProc(msg, wp, lp);
}

LRESULT CTelvarionDlg::OnTimer(WPARAM wp, LPARAM) {
    switch (wp) {
    case kTimerHideAtStart:
    case kTimerHide:
        HidePanel();
        KillTimer(m_hWnd, wp);
        break;
    case kTimerApplyVolumes:
        ApplySavedVolumes();
        break;
    case kTimerPollVolumes:
        PollVolumes();
        break;
    default:
        return Default();
    }
    return 0;
}

LRESULT CTelvarionDlg::OnEraseBkgnd(WPARAM wp, LPARAM) {
    Default();
    return m_look.PaintBackground(m_hWnd, reinterpret_cast<HDC>(wp));
}

LRESULT CTelvarionDlg::OnNcHitTest(WPARAM, LPARAM lp) { return CPanelLook::HitTest(m_hWnd, lp, Default()); }

LRESULT CTelvarionDlg::OnCtlColor(WPARAM, LPARAM lp) {
    const LRESULT fallback = Default();
    HBRUSH brush = m_look.SliderBrush(GetDlgCtrlID(reinterpret_cast<HWND>(lp)));
    return brush ? reinterpret_cast<LRESULT>(brush) : fallback;
}

LRESULT CTelvarionDlg::OnLButtonDown(WPARAM wp, LPARAM lp) {
    CPanelLook::LeftButtonDown(wp, lp);
    return Default();
}

LRESULT CTelvarionDlg::OnSetCursor(WPARAM, LPARAM) {
    return CPanelLook::SetHotSpotCursor(m_hWnd) ? TRUE : Default();
}

LRESULT CTelvarionDlg::OnWindowPosChanging(WPARAM, LPARAM lp) {
    if (!m_hideAtStart) return Default();
    CPanelLook::HoldHidden(reinterpret_cast<WINDOWPOS*>(lp));
    return 0;
}
