// Data exchange: binds a dialog's controls to wrapper objects when the dialog initialises.
#pragma once
#include <windows.h>

class CWindow;

class CDataExchange {
public:
    CDataExchange(HWND dialog, BOOL saveAndValidate) : m_dialog(dialog), m_saveAndValidate(saveAndValidate) {}
    HWND Dialog() const { return m_dialog; }
    BOOL SaveAndValidate() const { return m_saveAndValidate; }

private:
    HWND m_dialog;
    BOOL m_saveAndValidate;
};

// Subclasses control `id` of the dialog with `control`, once; later calls leave it bound.
bool DDX_Control(CDataExchange& dx, int id, CWindow& control);
