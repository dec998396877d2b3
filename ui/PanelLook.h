// The panel's look and mouse behaviour: rounded shape, the picture on its face, the sliders'
// colours, dragging by the face, the two hot spots that hide it, and staying hidden at start.
#pragma once
#include "framework/Handles.h"

#include <windows.h>

namespace panel {
constexpr int kWidth = 300;
constexpr int kHeight = 305;
constexpr int kCornerEllipse = 50;
constexpr COLORREF kMicColour = RGB(230, 248, 34);
constexpr COLORREF kSpeakerColour = RGB(163, 233, 34);
constexpr RECT kRightHotSpot = {262, 25, 279, 40};
constexpr RECT kLeftHotSpot = {242, 25, 259, 40};
constexpr RECT kSpeakerSlider = {51, 96, 51 + 80, 96 + 15};
constexpr RECT kMicSlider = {167, 96, 167 + 80, 96 + 15};
// Show requests swallowed while the panel is to stay hidden at start.
constexpr int kSuppressedShows = 5;

// Half-open: left <= x < right and top <= y < bottom.
bool InHotSpot(POINT client);
// The process's count of swallowed show requests (tests start each panel afresh).
int& SuppressedShowCount();
}  // namespace panel

class CPanelLook {
public:
    // The brushes, then the region, the size and the sliders' places.
    void Apply(HWND panelWindow, HWND speakerSlider, HWND micSlider);
    // Paints the picture file over the face after the default erase; always TRUE.
    BOOL PaintBackground(HWND panelWindow, HDC dc) const;
    // The background brush of a slider control, or null for any other control.
    HBRUSH SliderBrush(int controlId) const;
    // HTCAPTION in place of HTCLIENT outside the hot spots, so the face drags the panel.
    static LRESULT HitTest(HWND panelWindow, LPARAM screenPoint, LRESULT defaultResult);
    // A plain left click on a hot spot hides the main window.
    static void LeftButtonDown(WPARAM keys, LPARAM clientPoint);
    // The hand over a hot spot; returns whether it set the cursor.
    static bool SetHotSpotCursor(HWND panelWindow);
    // While the panel is to stay hidden, the first show requests lose their show bit.
    static void HoldHidden(WINDOWPOS* request);

private:
    UniqueBrush m_micBrush;
    UniqueBrush m_speakerBrush;
};
