#include "app/CleanupMode.h"
#include "app/Configuration.h"
#include "app/SingleInstance.h"
#include "diag/DebugTrace.h"
#include "framework/Text.h"
#include "platform/Platform.h"

#include <cwchar>

namespace {
// The search pattern and every file path are built in buffers of this size; an entry whose
// path would not fit is skipped rather than cut, so that no other file is ever touched.
constexpr size_t kPathUnits = 256;

void DeleteVirtualisedCopy(const wchar_t* localAppData, const wchar_t* entry, const wchar_t* folder) {
    wchar_t path[kPathUnits];
    if (!FormatText(path, kPathUnits, L"%s\\VirtualStore\\%s\\%s\\Resource\\Custom.ini", localAppData, entry, folder))
        return;
    const DWORD attributes = GetFileAttributesW(path);
    if (attributes != INVALID_FILE_ATTRIBUTES) SetFileAttributesW(path, attributes & ~FILE_ATTRIBUTE_READONLY);
    DeleteFileW(path);
    TraceLog(L"delfile = %s", path);
}
}  // namespace

void RunCleanupMode(const wchar_t* windowTitle) {
    HWND running = FindRunningPanel(windowTitle);
    Platform().OutputDebugString(L"uninstall");

    wchar_t localAppData[kPathUnits];
    const DWORD got = GetEnvironmentVariableW(L"LOCALAPPDATA", localAppData, kPathUnits);
    if (got == 0) {
        Platform().OutputDebugString(L"szLocalAppDataPath == NULL");
        return;
    }

    wchar_t folder[kTextUnits] = L"";
    ReadIniString(szInstallIniPath, szAppSection, L"Software", L"Telvarion", folder, kTextUnits);

    wchar_t pattern[kPathUnits];
    WIN32_FIND_DATAW entry;
    HANDLE find = INVALID_HANDLE_VALUE;
    if (got < kPathUnits && FormatText(pattern, kPathUnits, L"%s\\VirtualStore\\*.*", localAppData))
        find = FindFirstFileW(pattern, &entry);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            if (wcsstr(entry.cFileName, L"Program")) DeleteVirtualisedCopy(localAppData, entry.cFileName, folder);
        } while (FindNextFileW(find, &entry));
        FindClose(find);
    }

    if (running) PostMessageW(running, WM_QUIT, 0, 0);
}
