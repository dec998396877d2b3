// The panel: the program's one main window.
#pragma once
#include "framework/Dialog.h"
#include "framework/SliderCtrl.h"

class CTelvarionDlg : public CDialog {
public:
    CTelvarionDlg();

    // Start-up hands over the device library before the modal run; the panel keeps it.
    void SetLibraryModule(HMODULE library) { m_hLibrary = library; }

protected:
    void DoDataExchange(CDataExchange& dx) override;
    BOOL OnInitDialog() override;
    void OnOK() override {}
    void OnCancel() override {}

private:
    HMODULE m_hLibrary = nullptr;
    CSliderCtrl m_speakerSlider;
    CSliderCtrl m_micSlider;
};
