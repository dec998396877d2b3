#include "framework/Window.h"

namespace {
// The object pointer travels as a window property, so no global table is needed.
const wchar_t kObjectProperty[] = L"Telvarion.CWindow";
}

CWindow::~CWindow() {
    if (m_hWnd && FromHandle(m_hWnd) == this) UnsubclassWindow();
}

bool CWindow::SubclassWindow(HWND hwnd) {
    if (!hwnd || m_hWnd || FromHandle(hwnd)) return false;
    if (!SetPropW(hwnd, kObjectProperty, this)) return false;
    m_hWnd = hwnd;
    m_previousProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CWindow::SubclassProc)));
    return true;
}

HWND CWindow::UnsubclassWindow() {
    HWND hwnd = m_hWnd;
    if (!hwnd) return nullptr;
    SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_previousProc));
    RemovePropW(hwnd, kObjectProperty);
    m_hWnd = nullptr;
    m_previousProc = nullptr;
    return hwnd;
}

CWindow* CWindow::FromHandle(HWND hwnd) {
    return hwnd ? static_cast<CWindow*>(GetPropW(hwnd, kObjectProperty)) : nullptr;
}

const MessageMapEntry* CWindow::GetMessageMap() const { return nullptr; }

bool CWindow::Dispatch(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
    const MessageMapEntry* entry = GetMessageMap();
    for (; entry && entry->handler; ++entry) {
        if (entry->message != msg) continue;
        if (msg == WM_COMMAND) {
            if (lp == 0 && HIWORD(wp) == 1) continue;  // accelerators are not menu or control commands
            if (entry->id && entry->id != LOWORD(wp)) continue;
        } else if (msg == WM_NOTIFY) {
            const NMHDR* hdr = reinterpret_cast<const NMHDR*>(lp);
            if (entry->code != hdr->code) continue;
            if (entry->id && entry->id != hdr->idFrom) continue;
        }
        result = (this->*(entry->handler))(wp, lp);
        return true;
    }
    return false;
}

LRESULT CWindow::WindowProc(UINT msg, WPARAM wp, LPARAM lp) {
    LRESULT result = 0;
    if (Dispatch(msg, wp, lp, result)) return result;
    return DefWindowProc(msg, wp, lp);
}

LRESULT CWindow::Default() {
    return DefWindowProc(m_current.msg, m_current.wp, m_current.lp);
}

LRESULT CWindow::DefWindowProc(UINT msg, WPARAM wp, LPARAM lp) {
    if (m_previousProc) return CallWindowProcW(m_previousProc, m_hWnd, msg, wp, lp);
    return ::DefWindowProcW(m_hWnd, msg, wp, lp);
}

LRESULT CALLBACK CWindow::SubclassProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    CWindow* self = FromHandle(hwnd);
    if (!self) return ::DefWindowProcW(hwnd, msg, wp, lp);

    // Handlers may nest (a handler can send messages to its own window), so keep the outer
    // message for Default() and put it back afterwards.
    const CurrentMessage outer = self->m_current;
    self->m_current = {msg, wp, lp};
    LRESULT result = self->WindowProc(msg, wp, lp);
    self->m_current = outer;

    if (msg == WM_NCDESTROY) {
        // The window is gone: detach, and let the object know it no longer has one.
        if (self->m_hWnd == hwnd) {
            RemovePropW(hwnd, kObjectProperty);
            self->m_hWnd = nullptr;
            self->m_previousProc = nullptr;
        }
        self->PostNcDestroy();
    }
    return result;
}
