// The simulator's extra exports, for tests that load it into their own process. The program
// never uses them: the adapter maker's library has nothing of the kind.
#pragma once
#include <windows.h>

// Runs the commands now; nonzero when every one was understood. `wait` has no place here.
typedef int (WINAPI* TelvarionSimCommandFn)(const wchar_t* commands);
// Copies the journal ("sim: ..." lines, each ended by '\n') into buffer, at most size - 1
// units and a terminator; returns the journal's full length in units, without terminator.
typedef int (WINAPI* TelvarionSimJournalFn)(wchar_t* buffer, int size);
typedef void (WINAPI* TelvarionSimClearJournalFn)(void);
