#include "tests/support/Pump.h"

namespace {
void DispatchPending() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        // A WM_QUIT seen here belongs to the test in progress; keep it for whoever waits on it.
        if (msg.message == WM_QUIT) { PostQuitMessage(static_cast<int>(msg.wParam)); return; }
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}
}

void PumpFor(DWORD ms) {
    PumpUntil([] { return false; }, ms);
}

bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs) {
    const DWORD start = GetTickCount();
    for (;;) {
        DispatchPending();
        if (done()) return true;
        const DWORD elapsed = GetTickCount() - start;
        if (elapsed >= timeoutMs) return done();
        MsgWaitForMultipleObjects(0, nullptr, FALSE, timeoutMs - elapsed < 20 ? timeoutMs - elapsed : 20, QS_ALLINPUT);
    }
}
