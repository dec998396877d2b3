#include "device/TelvarionDlg.h"
#include "ids.h"

CTelvarionDlg::CTelvarionDlg() : CDialog(IDD_TELVARION_DIALOG, nullptr) {}

void CTelvarionDlg::DoDataExchange(CDataExchange& dx) {
    DDX_Control(dx, IDC_SLIDER_SPEAKER, m_speakerSlider);
    DDX_Control(dx, IDC_SLIDER_MIC, m_micSlider);
}

BOOL CTelvarionDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    return TRUE;
}
