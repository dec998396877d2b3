#include "tray/SystemIcon.h"
#include "framework/Text.h"
#include "framework/Window.h"
#include "platform/Platform.h"

#include <cstring>

#ifndef _WIN64
static_assert(kNotifyRecordSize == 936, "the 32-bit shell expects the 936-byte record");
#endif

CSystemIcon::CSystemIcon() { std::memset(&m_data, 0, sizeof m_data); }

const CRuntimeClass* CSystemIcon::GetRuntimeClass() const {
    static const CRuntimeClass info = {"CSystemIcon"};
    return &info;
}

CSystemIcon::~CSystemIcon() { Remove(); }

BOOL CSystemIcon::Create(CWindow* owner, UINT callbackMessage, const wchar_t* tooltip, HICON icon, UINT id) {
    if (LOBYTE(LOWORD(GetVersion())) < 4) {
        m_shown = 0;
        return FALSE;
    }
    if (!owner || !IsWindow(owner->GetSafeHwnd())) {
        m_shown = 0;
        return FALSE;
    }
    m_data.cbSize = kNotifyRecordSize;
    m_data.hWnd = owner->GetSafeHwnd();
    m_data.uCallbackMessage = callbackMessage;
    m_data.uID = id;
    m_data.hIcon = icon;
    // The tip holds 127 characters; a longer text is cut rather than refused.
    CopyText(m_data.szTip, tooltip);
    m_shown = Notify(NIM_ADD, NIF_MESSAGE | NIF_ICON | NIF_TIP);
    return m_shown;
}

BOOL CSystemIcon::SetIcon(HICON icon) {
    if (!m_shown) return FALSE;
    m_data.hIcon = icon;
    return Notify(NIM_MODIFY, NIF_ICON);
}

BOOL CSystemIcon::SetIconFromFile(const wchar_t* path) {
    HICON icon = static_cast<HICON>(LoadImageW(nullptr, path, IMAGE_ICON, 0, 0, LR_LOADFROMFILE));
    // The shell keeps its own copy of the picture, so the previous file icon can go as soon as
    // the new one has been handed over.
    const BOOL result = SetIcon(icon);
    m_fileIcon.Reset(icon);
    return result;
}

BOOL CSystemIcon::SetTooltip(const wchar_t* text) {
    if (!m_shown) return FALSE;
    CopyText(m_data.szTip, text);
    return Notify(NIM_MODIFY, NIF_TIP);
}

BOOL CSystemIcon::Remove() {
    if (!m_shown) return FALSE;
    const BOOL result = Notify(NIM_DELETE, 0);
    m_shown = 0;
    m_data.hIcon = nullptr;
    m_fileIcon.Reset();
    return result;
}

BOOL CSystemIcon::Restore() {
    if (!m_shown) return FALSE;
    return Notify(NIM_ADD, NIF_MESSAGE | NIF_ICON | NIF_TIP);
}

BOOL CSystemIcon::Notify(DWORD message, UINT flags) {
    m_data.uFlags = flags;
    return Platform().ShellNotifyIcon(message, &m_data);
}
