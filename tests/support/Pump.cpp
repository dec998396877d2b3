#include "tests/support/Pump.h"

namespace {
bool g_quitSeen = false;

void DispatchPending() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        // A WM_QUIT belongs to the test in progress: note it for TakeQuitMessage.
        if (msg.message == WM_QUIT) {
            g_quitSeen = true;
            continue;
        }
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}
}

bool TakeQuitMessage() {
    DispatchPending();
    const bool seen = g_quitSeen;
    g_quitSeen = false;
    return seen;
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
