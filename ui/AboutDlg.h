// The about box: software version, copyright text and, once an adapter was reported, its
// device version number.
#pragma once
#include "framework/Dialog.h"

class CAboutDlg : public CDialog {
public:
    CAboutDlg(HWND parent, WORD deviceVersion);

protected:
    BOOL OnInitDialog() override;

private:
    WORD m_deviceVersion;
};

// "%.4x" in capitals: exactly four hexadecimal digits.
void FormatDeviceVersion(WORD version, wchar_t (&text)[8]);
