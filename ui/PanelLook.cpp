#include "ui/PanelLook.h"
#include "framework/Application.h"
#include "ids.h"
#include "ui/FileBitmap.h"

#include <windowsx.h>

namespace {
// One counter per process: the panel exists once.
int g_suppressedShows = 0;

bool InRect(const RECT& r, POINT p) { return p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom; }
}  // namespace

int& panel::SuppressedShowCount() { return g_suppressedShows; }

bool panel::InHotSpot(POINT client) { return InRect(kRightHotSpot, client) || InRect(kLeftHotSpot, client); }

void CPanelLook::Apply(HWND panelWindow, HWND speakerSlider, HWND micSlider) {
    m_micBrush.Reset(CreateSolidBrush(panel::kMicColour));
    m_speakerBrush.Reset(CreateSolidBrush(panel::kSpeakerColour));

    // The window owns the region once it has it.
    HRGN region = CreateRoundRectRgn(0, 0, panel::kWidth, panel::kHeight, panel::kCornerEllipse, panel::kCornerEllipse);
    if (region && !SetWindowRgn(panelWindow, region, TRUE)) DeleteObject(region);

    SetWindowPos(panelWindow, nullptr, 0, 0, panel::kWidth, panel::kHeight, SWP_NOMOVE | SWP_NOZORDER);
    const RECT& s = panel::kSpeakerSlider;
    const RECT& m = panel::kMicSlider;
    MoveWindow(speakerSlider, s.left, s.top, s.right - s.left, s.bottom - s.top, TRUE);
    MoveWindow(micSlider, m.left, m.top, m.right - m.left, m.bottom - m.top, TRUE);
}

BOOL CPanelLook::PaintBackground(HWND panelWindow, HDC dc) const {
    RECT client = {};
    GetClientRect(panelWindow, &client);
    // Read anew at every erase: the user may replace the picture while the program runs.
    CFileBitmap picture;
    if (!picture.Load(L"\\Resource\\bk.bmp", true)) return TRUE;

    UniqueMemoryDC memory(CreateCompatibleDC(dc));
    if (!memory) return TRUE;
    BITMAP info = {};
    GetObjectW(picture.Get(), sizeof info, &info);
    SelectedObject selected(memory.Get(), picture.Get());
    BitBlt(dc, client.left, client.top, info.bmWidth, info.bmHeight, memory.Get(), 0, 0, SRCCOPY);
    return TRUE;
}

HBRUSH CPanelLook::SliderBrush(int controlId) const {
    if (controlId == IDC_SLIDER_MIC) return m_micBrush.Get();
    if (controlId == IDC_SLIDER_SPEAKER) return m_speakerBrush.Get();
    return nullptr;
}

LRESULT CPanelLook::HitTest(HWND panelWindow, LPARAM screenPoint, LRESULT defaultResult) {
    POINT p = {GET_X_LPARAM(screenPoint), GET_Y_LPARAM(screenPoint)};
    ScreenToClient(panelWindow, &p);
    if (panel::InHotSpot(p)) return defaultResult;
    return defaultResult == HTCLIENT ? HTCAPTION : defaultResult;
}

void CPanelLook::LeftButtonDown(WPARAM keys, LPARAM clientPoint) {
    const POINT p = {GET_X_LPARAM(clientPoint), GET_Y_LPARAM(clientPoint)};
    if (keys != MK_LBUTTON || !panel::InHotSpot(p)) return;
    if (HWND main = AfxGetMainHwnd()) {
        ShowWindow(main, SW_HIDE);
        UpdateWindow(main);
    }
}

bool CPanelLook::SetHotSpotCursor(HWND panelWindow) {
    POINT p = {};
    GetCursorPos(&p);
    ScreenToClient(panelWindow, &p);
    if (!panel::InHotSpot(p)) return false;
    SetCursor(LoadCursorW(nullptr, IDC_HAND));  // a shared system cursor: never destroyed
    return true;
}

void CPanelLook::HoldHidden(WINDOWPOS* request) {
    if (g_suppressedShows >= panel::kSuppressedShows) return;
    request->flags &= ~SWP_SHOWWINDOW;
    ++g_suppressedShows;
}
