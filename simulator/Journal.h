// What the program asked of the simulator, kept for tests and shown to a developer at once.
#pragma once
#include <string>

namespace sim {

// Appends "sim: <text>" to the journal and writes the same line to the debugger output, so that
// in-process tests read it back and process-level tests see it through their debugger loop.
void Journal(const std::wstring& text);

// The journal's lines, each ended by '\n'; only the most recent ~64 KiB are kept.
const std::wstring& JournalText();
void ClearJournal();

}
