#include "app/Configuration.h"
#include "framework/Text.h"

#include <shlobj.h>
#include <cwchar>

wchar_t szInstallIniPath[kTextUnits];
wchar_t szUserIniPath[kTextUnits];
wchar_t szAppSection[kTextUnits];

namespace {

bool CanOpenForReading(const wchar_t* file) {
    if (!file || !*file) return false;
    HANDLE handle = CreateFileW(file, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return false;
    CloseHandle(handle);
    return true;
}

// APPDATA normally comes from the environment; without it, the shell's own answer for the
// same folder keeps the per-user copy where the user's other programs keep theirs.
bool ApplicationDataFolder(wchar_t* buffer, size_t units) {
    const DWORD got = GetEnvironmentVariableW(L"APPDATA", buffer, static_cast<DWORD>(units));
    if (got > 0 && got < units) return true;
    if (got >= units) return false;  // set, but longer than any path we could build on it
    wchar_t shell[MAX_PATH] = L"";
    if (FAILED(SHGetFolderPathW(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, shell))) return false;
    return CopyText(buffer, units, shell);
}

}  // namespace

void CutToDirectory(wchar_t* path) {
    wchar_t* last = nullptr;
    for (wchar_t* p = path; *p; ++p)
        if (*p == L'\\' || *p == L'/') last = p;
    if (last)
        *last = L'\0';
    else
        path[0] = L'\0';
}

ModuleDir GetModuleDir(HMODULE module) {
    ModuleDir dir = {};
    GetModuleFileNameW(module, dir.text, static_cast<DWORD>(kTextUnits));
    dir.text[kTextUnits] = L'\0';
    CutToDirectory(dir.text);
    return dir;
}

void PrepareConfiguration() {
    if (!FormatText(szInstallIniPath, kTextUnits, L"%s\\Resource\\%s", GetModuleDir().text, L"Custom.ini"))
        szInstallIniPath[0] = L'\0';

    wchar_t software[kTextUnits] = L"";
    ReadIniString(szInstallIniPath, L"SoftInfo", L"Software", L"SoftInfo", software, kTextUnits);

    wchar_t appData[kTextUnits] = L"";
    wchar_t userFolder[kTextUnits] = L"";
    wchar_t userPath[kTextUnits] = L"";
    if (!ApplicationDataFolder(appData, kTextUnits) ||
        !FormatText(userFolder, kTextUnits, L"%s\\%s", appData, software) ||
        !FormatText(userPath, kTextUnits, L"%s\\%s\\%s", appData, software, L"Custom.ini")) {
        userFolder[0] = userPath[0] = L'\0';
    }

    if (userPath[0] && szInstallIniPath[0]) {
        if (!CanOpenForReading(userPath)) {
            CreateDirectoryW(userFolder, nullptr);
            CopyFileW(szInstallIniPath, userPath, TRUE);
        } else {
            wchar_t installVersion[kTextUnits] = L"";
            wchar_t userVersion[kTextUnits] = L"";
            ReadIniString(szInstallIniPath, L"SoftInfo", L"Version", L"0", installVersion, kTextUnits);
            ReadIniString(userPath, L"SoftInfo", L"Version", L"0", userVersion, kTextUnits);
            if (wcscmp(installVersion, userVersion) != 0) {
                DeleteFileW(userPath);
                CreateDirectoryW(userFolder, nullptr);
                CopyFileW(szInstallIniPath, userPath, TRUE);
            }
        }
    }
    CopyText(szUserIniPath, userPath);

    ReadIniString(szInstallIniPath, L"Company", L"Company", L"SoftInfo", szAppSection, kTextUnits);
}

DWORD ReadAppString(const wchar_t* key, wchar_t* buffer) {
    return ReadIniString(szInstallIniPath, szAppSection, key, L"", buffer, kTextUnits);
}

int ReadIniIfExists(const wchar_t* file, const wchar_t* section, const wchar_t* key, wchar_t* buffer) {
    if (!file || !section || !key || !buffer) return 0;
    if (!CanOpenForReading(file)) return 0;
    return static_cast<int>(GetPrivateProfileStringW(section, key, L"", buffer, kTextUnits, file));
}

DWORD ReadIniString(const wchar_t* file, const wchar_t* section, const wchar_t* key, const wchar_t* fallback,
                    wchar_t* buffer, DWORD units) {
    if (!file || !*file) {
        CopyText(buffer, units, fallback);
        return static_cast<DWORD>(wcslen(buffer));
    }
    return GetPrivateProfileStringW(section, key, fallback, buffer, units, file);
}

UINT ReadIniInt(const wchar_t* file, const wchar_t* section, const wchar_t* key, int fallback) {
    if (!file || !*file) return static_cast<UINT>(fallback);
    return GetPrivateProfileIntW(section, key, fallback, file);
}

BOOL WriteIniString(const wchar_t* file, const wchar_t* section, const wchar_t* key, const wchar_t* value) {
    if (!file || !*file) return FALSE;
    return WritePrivateProfileStringW(section, key, value, file);
}
