// Drives a modal popup menu of this thread from a second thread, the way a user at the
// keyboard would: it waits for this process's visible "#32768" window, lets the test look at
// the open menu, then posts keys to it. Every wait has a deadline, and a menu that is still
// open when the deadline passes is ended, so a test never hangs in TrackPopupMenuEx.
#pragma once
#include <windows.h>

#include <atomic>
#include <functional>
#include <vector>

class MenuDriver {
public:
    // `keys` are posted one by one once the menu shows; none leaves it to the deadline.
    // `inspect` runs on the driver's thread with the open top popup's window and menu, before
    // the keys are posted.
    explicit MenuDriver(std::vector<UINT> keys, std::function<void(HWND, HMENU)> inspect = nullptr,
                        DWORD timeoutMs = 5000);
    // Waits for the driver to finish (it gives up at its deadline).
    ~MenuDriver();
    MenuDriver(const MenuDriver&) = delete;
    MenuDriver& operator=(const MenuDriver&) = delete;

    // Tells the driver that the menu can no longer appear (the call that would have run it
    // returned) and waits for it to finish.
    void Finish();

    bool SawMenu() const { return m_sawMenu; }
    // The menu had to be ended at the deadline: the keys did not close it.
    bool TimedOut() const { return m_timedOut; }

private:
    static DWORD WINAPI ThreadProc(void* self);
    void Run();

    std::vector<UINT> m_keys;
    std::function<void(HWND, HMENU)> m_inspect;
    DWORD m_timeoutMs;
    HANDLE m_thread = nullptr;
    std::atomic<bool> m_stop{false};
    std::atomic<bool> m_sawMenu{false};
    std::atomic<bool> m_timedOut{false};
};

// This process's visible top-level popup menu window, or null.
HWND FindOpenMenuWindow();
