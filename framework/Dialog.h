// A dialog built from a resource template, run modally (the program) or modelessly (tests).
#pragma once
#include "framework/Window.h"
#include "framework/DataExchange.h"

class CDialog : public CWindow {
public:
    CDialog(UINT templateId, HWND parent);
    ~CDialog() override;

    // Runs the dialog until EndDialog, its destruction or WM_QUIT; returns the EndDialog result,
    // or -1 when the dialog could not be created.
    virtual INT_PTR DoModal();
    // Creates the dialog without a modal loop; the caller pumps messages.
    bool Create();
    void EndDialog(INT_PTR result);
    BOOL UpdateData(BOOL saveAndValidate);

protected:
    virtual BOOL OnInitDialog();
    virtual void DoDataExchange(CDataExchange& dx);
    // Enter and Escape arrive as IDOK and IDCANCEL; both end the dialog unless overridden.
    virtual void OnOK();
    virtual void OnCancel();

    LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);

    UINT m_templateId;
    HWND m_parent;
    bool m_modal = false;
};
