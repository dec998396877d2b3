// The program's one icon in the notification area: picture, tooltip, and the mouse
// notifications that the shell sends back to the owner window.
#pragma once
#include "framework/Handles.h"
#include "framework/Object.h"

#include <windows.h>
#include <shellapi.h>

class CWindow;

class CSystemIcon : public CObject {
public:
    CSystemIcon();
    const CRuntimeClass* GetRuntimeClass() const override;
    ~CSystemIcon() override;  // removes the icon if it is still shown
    // The shell's mouse notification on the icon (tray/TrayMenu.cpp).
    virtual LRESULT OnTrayNotification(WPARAM wp, LPARAM lp);

    BOOL Create(CWindow* owner, UINT callbackMessage, const wchar_t* tooltip, HICON icon, UINT id);
    BOOL SetIcon(HICON icon);
    // Loads an .ico file at the size stored in it; a file that does not load sends a null icon.
    BOOL SetIconFromFile(const wchar_t* path);
    BOOL SetTooltip(const wchar_t* text);
    BOOL Remove();

    // Adds the icon again with its current picture and tooltip, for a shell that restarted
    // ("TaskbarCreated"); does nothing while the icon is not shown.
    BOOL Restore();

    bool Shown() const { return m_shown != 0; }
    HWND Owner() const { return m_data.hWnd; }
    UINT Id() const { return m_data.uID; }

private:
    BOOL Notify(DWORD message, UINT flags);

    int m_shown = 0;
    NOTIFYICONDATAW m_data;
    // An icon loaded from a file belongs to this object; the icon given to Create does not.
    UniqueIcon m_fileIcon;
};

// The record size the shell is told: the second version of the record, up to and including
// the balloon flags (936 bytes on 32-bit Windows).
constexpr DWORD kNotifyRecordSize = NOTIFYICONDATAW_V2_SIZE;
