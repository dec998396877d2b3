// One instance per logon session and user: two named mutexes, and the running instance's
// panel found by its window title.
#pragma once
#include <windows.h>

// Creates the mutexes; true when another instance already holds one of them.
bool AnotherInstanceRuns();

// The running instance's panel: a dialog window with exactly this title. An empty title
// finds nothing, since any untitled window of any program would match it.
HWND FindRunningPanel(const wchar_t* title);

// Shows and brings forward the running instance's panel, if there is one.
void ActivateRunningPanel(const wchar_t* title);
