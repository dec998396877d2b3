// The tray icon object against a recorder behind the shell seam: what each call hands the
// shell, what it refuses while the icon is absent, and how long tooltips are carried.
#include <doctest/doctest.h>
#include "tests/inproc/PanelFixture.h"
#include "tray/SystemIcon.h"

#include <string>

namespace {

constexpr UINT kCallback = WM_APP + 7;
constexpr UINT kId = 153;

// A plain window to own the icon.
class OwnerWindow : public CWindow {
public:
    OwnerWindow() {
        SubclassWindow(CreateWindowExW(0, L"Static", L"owner", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr));
    }
    ~OwnerWindow() override {
        if (HWND hwnd = UnsubclassWindow()) DestroyWindow(hwnd);
    }
};

// Sits in front of the recorder and checks, for every record the shell gets, that the members
// the program never fills are still zero: a tooltip written past szTip lands in them first.
class UntouchedTail {
public:
    UntouchedTail() : m_next(Platform().ShellNotifyIcon) {
        s_current = this;
        Platform().ShellNotifyIcon = &Check;
    }
    ~UntouchedTail() {
        Platform().ShellNotifyIcon = m_next;
        s_current = nullptr;
    }
    int dirty = 0;

private:
    static BOOL WINAPI Check(DWORD message, PNOTIFYICONDATAW data) {
        NOTIFYICONDATAW zero = {};
        const bool clean = data->dwState == 0 && data->dwStateMask == 0 &&
                           !memcmp(data->szInfo, zero.szInfo, sizeof zero.szInfo) && data->uTimeout == 0 &&
                           !memcmp(data->szInfoTitle, zero.szInfoTitle, sizeof zero.szInfoTitle) &&
                           data->dwInfoFlags == 0;
        s_current->dirty += !clean;
        return s_current->m_next(message, data);
    }
    static UntouchedTail* s_current;
    BOOL(WINAPI* m_next)(DWORD, PNOTIFYICONDATAW);
};
UntouchedTail* UntouchedTail::s_current = nullptr;

std::string Narrow(const std::wstring& w) { return std::string(w.begin(), w.end()); }

}  // namespace

TEST_CASE("tray icon: while the icon is absent nothing reaches the shell") {
    struct Case {
        const char* name;
        bool owner;
        BOOL shellAccepts;
        size_t addCalls;
    };
    const Case cases[] = {
        {"no owner", false, TRUE, 0},
        {"the shell refuses the icon", true, FALSE, 1},
    };
    for (const Case& c : cases) {
        CAPTURE(c.name);
        SeamRecorder seam;
        seam.trayResult = c.shellAccepts;
        OwnerWindow owner;
        {
            CSystemIcon icon;
            CHECK_FALSE(icon.Create(c.owner ? &owner : nullptr, kCallback, L"tip", nullptr, kId));
            CHECK(seam.tray.size() == c.addCalls);
            seam.tray.clear();
            CHECK_FALSE(icon.SetIcon(LoadIconW(nullptr, MAKEINTRESOURCEW(32512))));
            CHECK_FALSE(icon.SetIconFromFile(L"C:\\no\\such.ico"));
            CHECK_FALSE(icon.SetTooltip(L"other"));
            CHECK_FALSE(icon.Remove());
        }
        CHECK(seam.tray.empty());
    }
}

TEST_CASE("tray icon: add, one field per change, and one delete") {
    SeamRecorder seam;
    OwnerWindow owner;
    HICON first = LoadIconW(nullptr, MAKEINTRESOURCEW(32512));   // shared system icons: not owned
    HICON second = LoadIconW(nullptr, MAKEINTRESOURCEW(32516));
    {
        CSystemIcon icon;
        REQUIRE(icon.Create(&owner, kCallback, L"Telvarion", first, kId));
        CHECK(icon.SetTooltip(L"status"));
        CHECK(icon.SetIcon(second));
        CHECK(icon.SetIconFromFile(L"C:\\no\\such\\folder\\missing.ico"));
        CHECK(icon.Remove());
        CHECK_FALSE(icon.Remove());
    }
    REQUIRE(seam.tray.size() == 5);

    const TrayCall& add = seam.tray[0];
    CHECK(add.message == NIM_ADD);
#ifndef _WIN64
    CHECK(add.cbSize == 936);
#endif
    CHECK(add.hWnd == owner.GetSafeHwnd());
    CHECK(add.uID == kId);
    CHECK(add.uFlags == (NIF_MESSAGE | NIF_ICON | NIF_TIP));
    CHECK(add.uCallbackMessage == kCallback);
    CHECK(add.hIcon == first);
    CHECK(add.tip == L"Telvarion");

    struct Expected {
        DWORD message;
        UINT flags;
        HICON icon;
        const wchar_t* tip;
    };
    const Expected rest[] = {
        {NIM_MODIFY, NIF_TIP, first, L"status"},
        {NIM_MODIFY, NIF_ICON, second, L"status"},
        {NIM_MODIFY, NIF_ICON, nullptr, L"status"},  // a file that does not load sends no picture
        {NIM_DELETE, 0, nullptr, nullptr},
    };
    for (size_t i = 0; i < 4; ++i) {
        CAPTURE(i);
        const TrayCall& call = seam.tray[i + 1];
        CHECK(call.message == rest[i].message);
        CHECK(call.uFlags == rest[i].flags);
        CHECK(call.hWnd == owner.GetSafeHwnd());
        CHECK(call.uID == kId);
        CHECK(call.cbSize == add.cbSize);
        if (rest[i].message == NIM_MODIFY) {
            CHECK(call.hIcon == rest[i].icon);
            CHECK(call.tip == rest[i].tip);
        }
    }
}

TEST_CASE("tray icon: a tooltip is carried up to 127 characters and cut beyond") {
    const size_t lengths[] = {0, 1, 126, 127, 128, 200, 259};  // texts come from 260-unit buffers
    for (size_t length : lengths) {
        CAPTURE(length);
        std::wstring text;
        for (size_t i = 0; i < length; ++i) text += static_cast<wchar_t>(L'a' + i % 26);
        const std::wstring carried = text.substr(0, 127);

        SeamRecorder seam;
        UntouchedTail tail;
        OwnerWindow owner;
        CSystemIcon icon;
        REQUIRE(icon.Create(&owner, kCallback, text.c_str(), nullptr, kId));
        CHECK(icon.SetTooltip(text.c_str()));
        REQUIRE(seam.tray.size() == 2);
        CHECK(Narrow(seam.tray[0].tip) == Narrow(carried));
        CHECK(Narrow(seam.tray[1].tip) == Narrow(carried));
        CHECK(tail.dirty == 0);
    }
}

TEST_CASE("tray icon: a restarted shell gets the icon again with its current picture and tooltip") {
    PanelFixture f;
    REQUIRE(f.Start());
    REQUIRE(f.panel->TrayIcon().Shown());
    f.Sim(L"online");
    REQUIRE(PumpUntil([&] { return f.panel->SkypeOnline(); }, 3000));

    // The picture and tooltip the shell was last given.
    HICON icon = nullptr;
    std::wstring tip;
    for (const TrayCall& call : f.seam.tray) {
        if (call.uFlags & NIF_ICON) icon = call.hIcon;
        if (call.uFlags & NIF_TIP) tip = call.tip;
    }
    REQUIRE(icon);
    REQUIRE_FALSE(tip.empty());
    f.seam.Clear();

    SendMessageW(f.Hwnd(), RegisterWindowMessageW(L"TaskbarCreated"), 0, 0);
    REQUIRE(f.seam.tray.size() == 1);
    const TrayCall& add = f.seam.tray[0];
    CHECK(add.message == NIM_ADD);
    CHECK(add.uFlags == (NIF_MESSAGE | NIF_ICON | NIF_TIP));
    CHECK(add.hWnd == f.Hwnd());
    CHECK(add.uID == IDR_TRAYMENU);
    CHECK(add.uCallbackMessage == WM_TRAYICON_NOTIFY);
    CHECK(add.hIcon == icon);
    CHECK(Narrow(add.tip) == Narrow(tip));
    CHECK(IsWindow(f.Hwnd()));


    f.Command(ID_TRAY_EXIT);
    CHECK(TakeQuitMessage());
}
