// The windows of a running Telvarion process, seen from another process: its panel and the
// simulated device library's command window.
#pragma once
#include <windows.h>

#include <string>

// The panel of a running instance: its top-level dialog window with the speaker slider.
HWND FindPanel(DWORD processId, DWORD timeoutMs);
// Sends simulator commands to the simulated device library inside that process.
bool SimulatorCommand(DWORD processId, const std::wstring& commands);
