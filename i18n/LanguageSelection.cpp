#include "i18n/LanguageSelection.h"
#include "app/Configuration.h"
#include "framework/Text.h"
#include "i18n/LanguageManager.h"
#include "platform/Platform.h"

wchar_t g_szLanguagePath[260];

namespace {

constexpr size_t kListValueUnits = 256;

struct DefaultFile {
    BYTE primary;
    const wchar_t* file;
};
const DefaultFile kDefaults[] = {
    {0x06, L"Denmark.ini"},  {0x09, L"English.ini"}, {0x0A, L"Spanish.ini"}, {0x0B, L"Finland.ini"},
    {0x0C, L"French.ini"},   {0x0D, L"Hevrew.ini"},  {0x11, L"Japanese.ini"}, {0x12, L"Korea.ini"},
    {0x13, L"Dutch.ini"},    {0x19, L"Russian.ini"}, {0x1D, L"Sweden.ini"},  {0x2A, L"Vietnamese.ini"},
};

bool ListPath(wchar_t* buffer) {
    return FormatText(buffer, kTextUnits, L"%s\\%s\\%s", GetModuleDir().text, L"Language", L"LangType.ini");
}

// A path that does not fit keeps the current file rather than naming a cut one.
bool SetLanguagePath(const wchar_t* fileName) {
    wchar_t path[260];
    if (!FormatText(path, 260, L"%s\\%s\\%s", GetModuleDir().text, L"Language", fileName)) return false;
    CopyText(g_szLanguagePath, path);
    return true;
}

void LoadCurrent() {
    if (CLanguageManager* languages = CLanguageManager::Instance()) languages->LoadLanguageFile(g_szLanguagePath);
}

}  // namespace

const wchar_t* DefaultLanguageFile(LANGID language) {
    const BYTE primary = LOBYTE(language);
    if (primary == 0x04) return language == 0x0404 ? L"ChineseT.ini" : L"ChineseS.ini";
    for (const DefaultFile& entry : kDefaults)
        if (entry.primary == primary) return entry.file;
    return L"English.ini";
}

void SelectStartupLanguage() {
    const LANGID language = Platform().GetSystemDefaultLangID();
    wchar_t path[260];
    if (FormatText(path, 260, L"%s\\%s\\", GetModuleDir().text, L"Language") &&
        AppendText(path, DefaultLanguageFile(language)))
        CopyText(g_szLanguagePath, path);

    wchar_t listPath[kTextUnits] = L"";
    const bool haveList = ListPath(listPath);
    wchar_t saved[3] = L"";
    ReadIniString(szUserIniPath, szAppSection, L"LanguageID", L"", saved, 3);
    wchar_t file[kListValueUnits] = L"";
    if (haveList && saved[0]) GetPrivateProfileStringW(L"Files", saved, L"", file, kListValueUnits, listPath);
    if (file[0]) SetLanguagePath(file);

    LoadCurrent();
}

bool OnLanguageCommand(int commandId) {
    wchar_t listPath[kTextUnits] = L"";
    const bool haveList = ListPath(listPath);
    wchar_t key[3];
    FormatText(key, 3, L"%d", commandId - 1);
    WriteIniString(szUserIniPath, szAppSection, L"LanguageID", key);

    wchar_t file[kListValueUnits] = L"";
    if (haveList) GetPrivateProfileStringW(L"Files", key, L"", file, kListValueUnits, listPath);
    if (!file[0]) return false;
    if (!SetLanguagePath(file)) return false;
    LoadCurrent();
    return true;
}
