// Message pumping with a deadline, for tests that wait on windows, timers and other processes.
#pragma once
#include <windows.h>
#include <functional>

// Dispatches this thread's messages for `ms` milliseconds.
void PumpFor(DWORD ms);
// Dispatches messages until `done` holds or `timeoutMs` passes; returns whether it held.
bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs);
// Whether a WM_QUIT reached the pump since the last call (the program's quit path posts one).
bool TakeQuitMessage();
