// The simulator's own hidden window: the handle InstallTelvarion gives the program, the target
// of the program's two messages, and the door through which other processes send commands.
#pragma once
#include <windows.h>

namespace sim {

constexpr wchar_t kWindowClass[] = L"TelvarionSimulator";
// WM_COPYDATA's dwData for command text ("TI"); any other value is not ours and is refused.
constexpr ULONG_PTR kCommandChannel = 0x5449;
// Language paths are recorded as the program keeps them: at most 259 units and a terminator.
constexpr int kLanguagePathSize = 260;

// This library's module, which owns its window classes.
HINSTANCE ModuleInstance();

// Creates the hidden window on the calling thread (the program's user-interface thread, whose
// message loop then serves it); null when that fails.
HWND CreateSimulatorWindow();
// Destroys it together with the options window and forgets the language path.
void DestroySimulatorWindow();

// The window while the simulator is installed, null otherwise.
HWND SimulatorWindow();

// The language file the program named last; empty until it names one.
const wchar_t* LanguagePath();

}
