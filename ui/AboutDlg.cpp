#include "ui/AboutDlg.h"
#include "app/Configuration.h"
#include "framework/Application.h"
#include "framework/Text.h"
#include "i18n/LanguageManager.h"
#include "ids.h"

#include <cwctype>

CAboutDlg::CAboutDlg(HWND parent, WORD deviceVersion) : CDialog(IDD_ABOUTBOX, parent), m_deviceVersion(deviceVersion) {}

void FormatDeviceVersion(WORD version, wchar_t (&text)[8]) {
    FormatText(text, 8, L"%.4x", version);
    // Only the digits: the units after the terminator were never written.
    for (wchar_t* c = text; *c; ++c) *c = static_cast<wchar_t>(towupper(*c));
}

BOOL CAboutDlg::OnInitDialog() {
    CDialog::OnInitDialog();

    // These labels show data, not words: take them out of translation, so a language switch
    // never overwrites them. The caption beside the number keeps its template text.
    if (CLanguageManager* languages = CLanguageManager::Instance()) {
        for (int id : {IDC_ABOUT_VERSION, IDC_ABOUT_COPYRIGHT, IDC_ABOUT_DEVICE_LABEL, IDC_ABOUT_DEVICE_NUMBER})
            languages->ForgetWindow(GetDlgItem(id));
    }

    SendMessage(WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(LoadIconW(AppInstance(), MAKEINTRESOURCEW(IDR_MAINFRAME))));

    wchar_t text[kTextUnits] = L"";
    ReadIniString(szInstallIniPath, L"SoftInfo", L"Version", L"", text, kTextUnits);
    SetDlgItemTextW(m_hWnd, IDC_ABOUT_VERSION, text);
    ReadAppString(L"Copyright", text);
    SetDlgItemTextW(m_hWnd, IDC_ABOUT_COPYRIGHT, text);

    if (m_deviceVersion != 0) {
        wchar_t number[8];
        FormatDeviceVersion(m_deviceVersion, number);
        SetDlgItemTextW(m_hWnd, IDC_ABOUT_DEVICE_NUMBER, number);
        ::ShowWindow(GetDlgItem(IDC_ABOUT_DEVICE_NUMBER), SW_SHOW);
        ::ShowWindow(GetDlgItem(IDC_ABOUT_DEVICE_LABEL), SW_SHOW);
    }
    return TRUE;
}
