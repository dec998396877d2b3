#include "app/SingleInstance.h"
#include "app/TelvarionApp.h"
#include "app/Configuration.h"
#include "framework/Text.h"

HANDLE hInstanceMutex = nullptr;
HANDLE hProgramMutex = nullptr;

namespace {
const wchar_t kProgramMutex[] = L"Telvarion3.0";

// Creates the named mutex, initially owned; true when it existed before. A failed call that
// is not about an existing mutex counts as finding nobody.
bool CreateAndTest(const wchar_t* name) {
    hInstanceMutex = CreateMutexW(nullptr, TRUE, name);
    return GetLastError() == ERROR_ALREADY_EXISTS;
}
}  // namespace

bool AnotherInstanceRuns() {
    if (CreateAndTest(kProgramMutex)) return true;

    wchar_t user[kTextUnits] = L"";
    DWORD size = kTextUnits;
    if (!GetUserNameW(user, &size)) user[0] = L'\0';
    wchar_t perUser[kTextUnits + 16];
    FormatText(perUser, kTextUnits + 16, L"%s%s", user, L"-Telvarion3.0");
    if (CreateAndTest(perUser)) return true;

    hProgramMutex = CreateMutexW(nullptr, TRUE, kProgramMutex);
    return false;
}

HWND FindRunningPanel(const wchar_t* title) {
    if (!title || !*title) return nullptr;
    return FindWindowW(L"#32770", title);
}

void ActivateRunningPanel(const wchar_t* title) {
    HWND panel = FindRunningPanel(title);
    if (!panel) return;
    ShowWindow(panel, SW_SHOW);
    SetForegroundWindow(panel);
}
