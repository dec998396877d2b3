// The two copies of Custom.ini and the program directory. The installation copy beside the
// program is only ever read; run-time changes go to the per-user copy under APPDATA.
#pragma once
#include <windows.h>

// INI values and paths are read into buffers of this many units (at most 259 characters).
constexpr size_t kTextUnits = 260;

// Set once by PrepareConfiguration, read-only afterwards. A path that would not fit its
// buffer is left empty, and an empty path is treated as a file that does not exist.
extern wchar_t szInstallIniPath[kTextUnits];
extern wchar_t szUserIniPath[kTextUnits];
extern wchar_t szAppSection[kTextUnits];

// The directory of the executable, without a trailing separator; empty when unknown. Asks
// the platform afresh at every call. `module` may be null (the executable itself).
struct ModuleDir {
    wchar_t text[kTextUnits + 1];
    operator const wchar_t*() const { return text; }
};
ModuleDir GetModuleDir(HMODULE module = nullptr);
// Ends `path` at its last backslash or slash, or empties it when there is none:
// C:\\Tools\\phone.exe gives C:\\Tools, and C:\\phone.exe gives C:.
void CutToDirectory(wchar_t* path);

// Builds both paths, creates or refreshes the per-user copy and reads the section name.
void PrepareConfiguration();

// Reads `key` of the application section of the installation copy (default empty) into a
// buffer of kTextUnits; returns the count of characters copied.
DWORD ReadAppString(const wchar_t* key, wchar_t* buffer);

// Reads section/key (default empty) into a buffer of kTextUnits, but only when `file` can be
// opened for reading; otherwise returns 0 and leaves the buffer untouched.
int ReadIniIfExists(const wchar_t* file, const wchar_t* section, const wchar_t* key, wchar_t* buffer);

// Private-profile access that treats an empty path as a missing file and never writes to it.
DWORD ReadIniString(const wchar_t* file, const wchar_t* section, const wchar_t* key, const wchar_t* fallback,
                    wchar_t* buffer, DWORD units);
UINT ReadIniInt(const wchar_t* file, const wchar_t* section, const wchar_t* key, int fallback);
BOOL WriteIniString(const wchar_t* file, const wchar_t* section, const wchar_t* key, const wchar_t* value);
