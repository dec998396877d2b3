// A window object bound to a window handle: the root of the framework's window classes.
// It routes every message of a subclassed window through WindowProc, which looks the message
// up in the class's message map and otherwise passes it to the procedure it replaced.
#pragma once
#include <windows.h>

class CWindow;

// One row of a message map. For WM_COMMAND and WM_NOTIFY, `id` selects the control and
// `code` the notification; 0 in `id` matches every control.
struct MessageMapEntry {
    UINT message;
    UINT code;
    UINT id;
    LRESULT (CWindow::*handler)(WPARAM, LPARAM);
};

// Turns a derived class's handler into the map's uniform type.
template <class T>
constexpr LRESULT (CWindow::*MapHandler(LRESULT (T::*handler)(WPARAM, LPARAM)))(WPARAM, LPARAM) {
    return static_cast<LRESULT (CWindow::*)(WPARAM, LPARAM)>(handler);
}

#define ON_MESSAGE(msg, fn)       { (msg), 0, 0, MapHandler(fn) }
#define ON_NOTIFY(code, id, fn)   { WM_NOTIFY, (UINT)(code), (id), MapHandler(fn) }
#define ON_COMMAND(id, fn)        { WM_COMMAND, 0, (id), MapHandler(fn) }
#define END_MESSAGE_MAP           { 0, 0, 0, nullptr }

class CWindow {
public:
    CWindow() = default;
    virtual ~CWindow();
    CWindow(const CWindow&) = delete;
    CWindow& operator=(const CWindow&) = delete;

    HWND GetSafeHwnd() const { return m_hWnd; }
    operator HWND() const { return m_hWnd; }

    // Routes the window's messages through this object until it is destroyed or detached.
    bool SubclassWindow(HWND hwnd);
    HWND UnsubclassWindow();

    // The object that subclassed hwnd, if any.
    static CWindow* FromHandle(HWND hwnd);

    BOOL ShowWindow(int cmd) { return ::ShowWindow(m_hWnd, cmd); }
    BOOL EnableWindow(BOOL enable) { return ::EnableWindow(m_hWnd, enable); }
    BOOL IsWindowEnabled() const { return ::IsWindowEnabled(m_hWnd); }
    BOOL IsWindowVisible() const { return ::IsWindowVisible(m_hWnd); }
    HWND GetDlgItem(int id) const { return ::GetDlgItem(m_hWnd, id); }
    LRESULT SendMessage(UINT msg, WPARAM wp = 0, LPARAM lp = 0) const { return ::SendMessageW(m_hWnd, msg, wp, lp); }

protected:
    // Every message of a subclassed window arrives here first.
    virtual LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp);
    // The class's message map, ended by END_MESSAGE_MAP; none by default.
    virtual const MessageMapEntry* GetMessageMap() const;
    // The default handling of the message being processed.
    LRESULT Default();
    // The replaced window procedure, for any message.
    LRESULT DefWindowProc(UINT msg, WPARAM wp, LPARAM lp);
    // Called after the window's last message; the handle is already cleared.
    virtual void PostNcDestroy() {}

    HWND m_hWnd = nullptr;

private:
    static LRESULT CALLBACK SubclassProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
    bool Dispatch(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result);

    WNDPROC m_previousProc = nullptr;
    struct CurrentMessage { UINT msg; WPARAM wp; LPARAM lp; } m_current{};
};
