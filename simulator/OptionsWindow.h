// The options window, the simulator's face for a person at a demo: it shows the model and
// turns every click into a command for the interpreter, as if a script had said it.
#pragma once
#include <windows.h>

namespace sim {

constexpr wchar_t kOptionsClass[] = L"TelvarionSimulatorOptions";

bool RegisterOptionsClass(HINSTANCE instance);
void UnregisterOptionsClass(HINSTANCE instance);

// Opens the window, or brings it to the front when it is open already; false while the
// simulator is not installed, since the window belongs to the simulator's own.
bool OpenOptionsWindow();
void CloseOptionsWindow();

// Brings the controls in line with the model and the language path; nothing when closed.
void RefreshOptionsWindow();

}
