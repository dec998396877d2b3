// The panel: the program's one main window. It starts the device library, turns the
// library's reports into the tray icon's picture and tooltip, keeps the adapter's volumes and
// its two sliders in step, answers the tray menu's commands, and is the program's one way out.
#pragma once
#include "device/DeviceLibrary.h"
#include "framework/Dialog.h"
#include "tray/SystemIcon.h"
#include "ui/PanelLook.h"
#include "ui/SliderCtrl.h"

// The device version number of the last adapter reported; 0 until one arrives.
extern WORD g_wDeviceVersion;

// Timers of the panel window.
enum PanelTimer : UINT_PTR {
    kTimerHideAtStart = 3,
    kTimerHide = 4,
    kTimerApplyVolumes = 259,
    kTimerPollVolumes = 260,
};

class CTelvarionDlg : public CDialog {
public:
    CTelvarionDlg();

    // Start-up hands over the loaded device library before the modal run; the panel keeps it
    // and frees it when its window is destroyed.
    void SetLibraryModule(HMODULE library) { m_library.Attach(library); }

    void UpdateStatusIcon();
    void HidePanel();
    // Stops the library, optionally starts the sibling program, destroys the panel and ends
    // the message loop.
    void QuitApplication(bool launchSibling);
    void OnTrayCommand(WPARAM wp, LPARAM lp);
    void PollVolumes();

    // For tests and the tray: the state behind the tray icon.
    const CSystemIcon& TrayIcon() const { return m_trayIcon; }
    HWND LibraryWindow() const { return m_library.Window(); }
    bool SkypeOnline() const { return m_skypeOnline != 0; }
    bool DevicePresent() const { return m_devicePresent != 0; }
    bool OffHook() const { return m_offHook != 0; }
    bool AboutOpen() const { return m_aboutOpen != 0; }
    bool HideAtStart() const { return m_hideAtStart != 0; }

protected:
    void DoDataExchange(CDataExchange& dx) override;
    LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) override;
    BOOL OnInitDialog() override;
    // Enter and Escape never end the panel.
    void OnOK() override {}
    void OnCancel() override {}
    const MessageMapEntry* GetMessageMap() const override;

private:
    void OpenAboutBox();
    void OpenLink(const wchar_t* key);
    void ApplySavedVolumes();
    void SliderReleased(bool speaker);

    LRESULT OnSpeakerReleased(WPARAM, LPARAM);
    LRESULT OnMicReleased(WPARAM, LPARAM);
    LRESULT OnTrayNotify(WPARAM wp, LPARAM lp);
    LRESULT OnQueryEndSession(WPARAM, LPARAM);
    LRESULT OnEndSession(WPARAM wp, LPARAM);
    LRESULT OnDestroy(WPARAM, LPARAM);
    LRESULT OnClose(WPARAM, LPARAM);
    LRESULT OnTimer(WPARAM wp, LPARAM);
    LRESULT OnEraseBkgnd(WPARAM wp, LPARAM);
    LRESULT OnNcHitTest(WPARAM, LPARAM lp);
    LRESULT OnCtlColor(WPARAM, LPARAM lp);
    LRESULT OnLButtonDown(WPARAM wp, LPARAM lp);
    LRESULT OnSetCursor(WPARAM, LPARAM);
    LRESULT OnWindowPosChanging(WPARAM, LPARAM lp);

    CDeviceLibrary m_library;  // the library's window and module
    int m_devicePresent = 0;
    int m_skypeOnline = 0;
    int m_offHook = 0;
    int m_aboutOpen = 0;
    int m_hideAtStart = 0;
    CPanelLook m_look;  // the two slider brushes
    CSystemIcon m_trayIcon;
    chSliderCtrl m_speakerSlider;
    chSliderCtrl m_micSlider;
    HICON m_hIcon;  // a shared resource icon: never destroyed
};
