// The start-up script from TELVARION_SIM_SCRIPT: a scenario that plays against the real
// program without anybody at the keyboard, paced by `wait`.
#pragma once
#include <windows.h>
#include <string>

namespace sim {

// Queues the script's commands and lets a timer on `window` run them, so that the first ones
// run only once InstallTelvarion has returned and the program is back in its message loop.
void StartScript(HWND window, const std::wstring& text);

// WM_TIMER with this id: runs commands until the next `wait` or the end.
constexpr UINT_PTR kScriptTimer = 1;
void OnScriptTimer(HWND window);

// Drops whatever has not run yet.
void StopScript(HWND window);

}
