// The one command interpreter behind every way of driving the simulator: tests in process and
// across processes, the start-up script and the options window all end up here, so each of
// them changes the model, reports to the program and journals in exactly the same way.
#pragma once
#include <windows.h>
#include <string>
#include <vector>

namespace sim {

// Command text split at ';' and line ends; surrounding blanks trimmed, empty commands dropped.
std::vector<std::wstring> SplitCommands(const std::wstring& text);

enum class Outcome { Done, Wait, Failed };

// Runs one command and journals it ("command ..." or "error ..."). A `wait` is only honoured
// where a timer can carry on afterwards (`allowWait`); it then yields its delay in *waitMs.
Outcome RunCommand(const std::wstring& command, bool allowWait, DWORD* waitMs);

// Runs every command of `text` at once; true when every one was understood. Failed commands
// are skipped, not fatal, so one typo does not hide the effect of the rest.
bool RunCommandsNow(const std::wstring& text);

// Numbers as the language writes them: decimal with an optional '-', or hex after "0x".
bool ParseNumber(const std::wstring& word, long long* value);

}
