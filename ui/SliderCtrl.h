// The panel's volume slider: a standard trackbar that leaves its background to the panel's
// picture instead of erasing it.
#pragma once
#include "framework/SliderCtrl.h"

class chSliderCtrl : public CSliderCtrl {
protected:
    const MessageMapEntry* GetMessageMap() const override;

private:
    LRESULT OnEraseBkgnd(WPARAM, LPARAM) { return TRUE; }
};

inline const MessageMapEntry* chSliderCtrl::GetMessageMap() const {
    static const MessageMapEntry map[] = {
        ON_MESSAGE(WM_ERASEBKGND, &chSliderCtrl::OnEraseBkgnd),
        END_MESSAGE_MAP,
    };
    return map;
}
