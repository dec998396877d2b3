// The adapter's two volumes and the panel's sliders: saved volumes applied after an arrival,
// the device polled every second, and a released slider sent and saved.
#include "device/TelvarionDlg.h"
#include "app/Configuration.h"
#include "framework/Text.h"
#include "platform/Platform.h"

namespace {
// A hand-edited volume outside the slider's scale is not sent as it stands: the device then
// keeps that volume as it is.
int SavedVolume(const wchar_t* key) {
    const int value = static_cast<int>(ReadIniInt(szUserIniPath, L"Device", key, 100));
    return value >= 0 && value <= 100 ? value : -1;
}

void DebugLine(const wchar_t* format, int speaker, int mic) {
    wchar_t line[64];
    FormatText(line, 64, format, speaker, mic);
    Platform().OutputDebugString(line);
}
}  // namespace

void CTelvarionDlg::ApplySavedVolumes() {
    KillTimer(m_hWnd, kTimerApplyVolumes);
    const int speaker = SavedVolume(L"iSpkVolume");
    const int mic = SavedVolume(L"iMicVolume");
    m_library.SetVolumes(speaker, mic);
    DebugLine(L"Set : speak = %d, mic = %d", speaker, mic);
    SetTimer(m_hWnd, kTimerPollVolumes, 1000, nullptr);
    PollVolumes();
}

void CTelvarionDlg::PollVolumes() {
    // The user is moving a slider: leave both alone this time.
    const HWND capture = GetCapture();
    if (capture && (capture == m_speakerSlider.GetSafeHwnd() || capture == m_micSlider.GetSafeHwnd())) return;

    int speaker = -1, mic = -1;
    m_library.GetVolumes(&speaker, &mic);
    DebugLine(L"Get speak = %d, mic = %d", speaker, mic);

    m_speakerSlider.EnableWindow(speaker != -1);
    m_micSlider.EnableWindow(mic != -1);
    if (speaker != -1) m_speakerSlider.SetPos(speaker);
    if (mic != -1) m_micSlider.SetPos(mic);
}

void CTelvarionDlg::SliderReleased(bool speaker) {
    const int position = (speaker ? m_speakerSlider : m_micSlider).GetPos();
    if (speaker)
        m_library.SetVolumes(position, -1);
    else
        m_library.SetVolumes(-1, position);
    wchar_t text[16];
    FormatText(text, 16, L"%d", position);
    WriteIniString(szUserIniPath, L"Device", speaker ? L"iSpkVolume" : L"iMicVolume", text);
}

LRESULT CTelvarionDlg::OnSpeakerReleased(WPARAM, LPARAM) {
    SliderReleased(true);
    return 0;
}

LRESULT CTelvarionDlg::OnMicReleased(WPARAM, LPARAM) {
    SliderReleased(false);
    return 0;
}
