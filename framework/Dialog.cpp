#include "framework/Dialog.h"
#include "framework/Application.h"

CDialog::CDialog(UINT templateId, HWND parent) : m_templateId(templateId), m_parent(parent) {}

CDialog::~CDialog() {
    if (m_hWnd) {
        HWND hwnd = m_hWnd;
        DestroyWindow(hwnd);
    }
}

INT_PTR CDialog::DoModal() {
    m_modal = true;
    // The platform's modal loop ends on EndDialog, and on WM_QUIT, which it posts again and
    // answers by destroying the dialog.
    INT_PTR result = DialogBoxParamW(AppInstance(), MAKEINTRESOURCEW(m_templateId), m_parent,
                                     &CDialog::DialogProc, reinterpret_cast<LPARAM>(this));
    m_modal = false;
    return result;
}

bool CDialog::Create() {
    m_modal = false;
    return CreateDialogParamW(AppInstance(), MAKEINTRESOURCEW(m_templateId), m_parent,
                              &CDialog::DialogProc, reinterpret_cast<LPARAM>(this)) != nullptr;
}

void CDialog::EndDialog(INT_PTR result) {
    if (!m_hWnd) return;
    if (m_modal)
        ::EndDialog(m_hWnd, result);
    else
        DestroyWindow(m_hWnd);
}

BOOL CDialog::UpdateData(BOOL saveAndValidate) {
    CDataExchange dx(m_hWnd, saveAndValidate);
    DoDataExchange(dx);
    return TRUE;
}

BOOL CDialog::OnInitDialog() {
    UpdateData(FALSE);
    return TRUE;
}

void CDialog::DoDataExchange(CDataExchange&) {}

void CDialog::OnOK() { EndDialog(IDOK); }

void CDialog::OnCancel() { EndDialog(IDCANCEL); }

LRESULT CDialog::WindowProc(UINT msg, WPARAM wp, LPARAM lp) {
    // Enter and Escape reach the dialog as clicks on IDOK and IDCANCEL.
    if (msg == WM_COMMAND && HIWORD(wp) == BN_CLICKED) {
        if (LOWORD(wp) == IDOK) { OnOK(); return 0; }
        if (LOWORD(wp) == IDCANCEL) { OnCancel(); return 0; }
    }
    return CWindow::WindowProc(msg, wp, lp);
}

INT_PTR CALLBACK CDialog::DialogProc(HWND hwnd, UINT msg, WPARAM, LPARAM lp) {
    if (msg != WM_INITDIALOG) return FALSE;
    // From here on every message goes through the object first; the dialog manager's own
    // handling is what Default() reaches.
    CDialog* self = reinterpret_cast<CDialog*>(lp);
    self->SubclassWindow(hwnd);
    return self->OnInitDialog();
}

bool DDX_Control(CDataExchange& dx, int id, CWindow& control) {
    if (control.GetSafeHwnd()) return true;
    return control.SubclassWindow(GetDlgItem(dx.Dialog(), id));
}
