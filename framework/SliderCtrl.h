// A trackbar control wrapper.
#pragma once
#include "framework/Window.h"
#include <commctrl.h>

class CSliderCtrl : public CWindow {
public:
    void SetRange(int low, int high, BOOL redraw) { SendMessage(TBM_SETRANGE, redraw, MAKELPARAM(low, high)); }
    void SetPos(int pos) { SendMessage(TBM_SETPOS, TRUE, pos); }
    int GetPos() const { return static_cast<int>(SendMessage(TBM_GETPOS)); }
    int GetRangeMin() const { return static_cast<int>(SendMessage(TBM_GETRANGEMIN)); }
    int GetRangeMax() const { return static_cast<int>(SendMessage(TBM_GETRANGEMAX)); }
};
