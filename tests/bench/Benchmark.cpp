// How long the program's everyday work takes, and whether its memory stays put while doing
// it over and over: a status change, a language switch, a repaint of the panel's face and the
// start-up integrity check. Run by hand (see the README); it prints one line per measurement.
#include "app/Configuration.h"
#include "app/IntegrityCheck.h"
#include "ids.h"
#include "tests/inproc/PanelFixture.h"

#include <psapi.h>

#include <cstdio>
#include <functional>

namespace {

double Milliseconds(const LARGE_INTEGER& from, const LARGE_INTEGER& to) {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return (to.QuadPart - from.QuadPart) * 1000.0 / frequency.QuadPart;
}

// The committed memory of the process (Wine leaves PrivateUsage at 0, but fills this).
SIZE_T CommittedBytes() {
    PROCESS_MEMORY_COUNTERS counters = {};
    counters.cb = sizeof counters;
    GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
    return counters.PagefileUsage;
}

// Runs `step` a few times to settle, then `count` times under the clock. The test seam's
// records and the simulator's journal are emptied at every run, so that only the program's
// own memory is counted.
void Measure(PanelFixture& f, const char* name, int count, const std::function<void(int)>& work) {
    auto step = [&](int i) {
        work(i);
        f.seam.Clear();
        f.ClearJournal();
    };
    for (int i = 0; i < 50; ++i) step(i);
    const SIZE_T before = CommittedBytes();
    LARGE_INTEGER start, end;
    QueryPerformanceCounter(&start);
    for (int i = 0; i < count; ++i) step(i);
    QueryPerformanceCounter(&end);
    const SIZE_T after = CommittedBytes();
    std::printf("%-34s %7d runs  %9.1f us each  committed %+ld KiB\n", name, count,
                Milliseconds(start, end) * 1000.0 / count, static_cast<long>(after - before) / 1024);
}

}  // namespace

int main() {
    PanelFixture f;
    f.tree.WriteUserIni("[SoftInfo]\r\nVersion=3.0.1\r\n[Device]\r\nbHideTelvarionDlg=1\r\n");
    if (!f.Start()) {
        std::fprintf(stderr, "the panel could not be created (is TELVARION_DIST set?)\n");
        return 1;
    }
    HWND panel = f.Hwnd();
    std::printf("committed at start: %lu KiB\n", static_cast<unsigned long>(CommittedBytes() / 1024));

    Measure(f, "status change (icon and tooltip)", 5000, [&](int i) {
        SendMessageW(panel, i % 2 ? WM_DEVLIB_OFFHOOK : WM_DEVLIB_ONHOOK, 0, 0);
    });
    Measure(f, "language switch (3 files in turn)", 1000, [&](int i) { f.Command(1 + i % 3); });

    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP canvas = CreateCompatibleBitmap(screen, 300, 305);
    HGDIOBJ old = SelectObject(memory, canvas);
    Measure(f, "panel face repaint (reads bk.bmp)", 2000, [&](int) {
        SendMessageW(panel, WM_ERASEBKGND, reinterpret_cast<WPARAM>(memory), 0);
    });
    SelectObject(memory, old);
    DeleteObject(canvas);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);

    Measure(f, "integrity check at start-up", 500, [&](int) { CheckResourceIntegrity(); });
    return 0;
}
