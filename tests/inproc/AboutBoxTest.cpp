// The about box: software version, copyright and the adapter's version number, one box at a
// time, its labels kept out of translation. The box runs modally inside the About command, so
// a thread timer looks at it from within its own modal loop and then closes it.
#include <doctest/doctest.h>
#include "tests/inproc/PanelFixture.h"
#include "ui/AboutDlg.h"

#include <functional>
#include <utility>
#include <string>
#include <vector>

namespace {
BOOL CALLBACK CollectAboutBox(HWND hwnd, LPARAM boxes) {
    if (GetDlgItem(hwnd, IDC_ABOUT_VERSION) && IsWindowVisible(hwnd))
        reinterpret_cast<std::vector<HWND>*>(boxes)->push_back(hwnd);
    return TRUE;
}

// The about boxes on screen: top-level windows of this thread with the version label.
std::vector<HWND> AboutBoxes() {
    std::vector<HWND> boxes;
    EnumThreadWindows(GetCurrentThreadId(), &CollectAboutBox, reinterpret_cast<LPARAM>(&boxes));
    return boxes;
}

std::wstring TextOf(HWND hwnd) {
    wchar_t text[512] = L"";
    GetWindowTextW(hwnd, text, 512);
    return text;
}

// Runs the About command; `look` is called once from inside the box's modal loop with the box,
// then the box is closed with OK. A box still open after five seconds, or a second one, is
// ended, so the command always returns. Returns whether `look` saw a box.
class AboutDriver {
public:
    explicit AboutDriver(std::function<void(HWND)> look) : m_look(std::move(look)) {}

    bool Run(PanelFixture& f) {
        s_current = this;
        m_start = GetTickCount();
        const UINT_PTR timer = SetTimer(nullptr, 0, 50, &AboutDriver::Tick);
        f.Command(ID_APP_ABOUT);
        KillTimer(nullptr, timer);
        s_current = nullptr;
        return m_looked;
    }
    size_t mostBoxes = 0;

private:
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
        AboutDriver* self = s_current;
        if (!self) return;
        const std::vector<HWND> boxes = AboutBoxes();
        if (boxes.size() > self->mostBoxes) self->mostBoxes = boxes.size();
        const bool late = GetTickCount() - self->m_start > 5000;
        if (self->m_busy || late) {
            // A nested box (or one that never closed): end everything but the box being looked at.
            for (HWND box : boxes)
                if (late || box != self->m_box) EndDialog(box, IDCANCEL);
            return;
        }
        if (self->m_looked || boxes.empty()) return;
        self->m_box = boxes.front();
        self->m_busy = true;
        self->m_look(self->m_box);
        self->m_busy = false;
        self->m_looked = true;
        PostMessageW(self->m_box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    }

    static AboutDriver* s_current;
    std::function<void(HWND)> m_look;
    DWORD m_start = 0;
    HWND m_box = nullptr;
    bool m_busy = false;
    bool m_looked = false;
};
AboutDriver* AboutDriver::s_current = nullptr;

struct Seen {
    std::wstring version, copyright, number, caption, title;
    bool numberShown = false, captionShown = false;
    HICON smallIcon = nullptr;
};

Seen Look(HWND box) {
    Seen s;
    s.version = TextOf(GetDlgItem(box, IDC_ABOUT_VERSION));
    s.copyright = TextOf(GetDlgItem(box, IDC_ABOUT_COPYRIGHT));
    s.number = TextOf(GetDlgItem(box, IDC_ABOUT_DEVICE_NUMBER));
    s.caption = TextOf(GetDlgItem(box, IDC_ABOUT_DEVICE_LABEL));
    s.title = TextOf(box);
    s.numberShown = IsWindowVisible(GetDlgItem(box, IDC_ABOUT_DEVICE_NUMBER)) != FALSE;
    s.captionShown = IsWindowVisible(GetDlgItem(box, IDC_ABOUT_DEVICE_LABEL)) != FALSE;
    s.smallIcon = reinterpret_cast<HICON>(SendMessageW(box, WM_GETICON, ICON_SMALL, 0));
    return s;
}

bool StartWithAdapter(PanelFixture& f, const wchar_t* arrival) {
    if (!f.Start()) return false;
    KillTimer(f.Hwnd(), kTimerHideAtStart);
    if (!arrival) return true;
    f.Sim(arrival);
    const bool arrived = PumpUntil([&] { return f.panel->DevicePresent(); }, 3000);
    KillTimer(f.Hwnd(), kTimerApplyVolumes);
    return arrived;
}
}  // namespace

TEST_CASE("about box: the device version number is four capital hexadecimal digits") {
    struct Case {
        WORD version;
        const wchar_t* text;
    };
    for (const Case& c : {Case{0x00AB, L"00AB"}, Case{0x0000, L"0000"}, Case{0x0F0a, L"0F0A"}, Case{0xFFFF, L"FFFF"},
                          Case{0x1234, L"1234"}}) {
        CAPTURE(c.version);
        wchar_t text[8];
        wmemset(text, L'#', 8);
        FormatDeviceVersion(c.version, text);
        CHECK(std::wstring(text) == c.text);
    }
}

TEST_CASE("about box: version, copyright, icon and the adapter's number once one arrived") {
    struct Case {
        const wchar_t* arrival;  // null: no adapter yet
        const wchar_t* number;   // null: number and caption stay hidden
    };
    const Case cases[] = {{nullptr, nullptr}, {L"arrive 0x00AB", L"00AB"}, {L"arrive 0xBEEF", L"BEEF"}};
    for (const Case& c : cases) {
        CAPTURE(std::wstring(c.arrival ? c.arrival : L"(none)"));
        PanelFixture f;
        REQUIRE(StartWithAdapter(f, c.arrival));
        Seen seen;
        AboutDriver driver([&](HWND box) { seen = Look(box); });
        REQUIRE(driver.Run(f));
        CHECK(driver.mostBoxes == 1);
        CHECK(seen.version == L"3.0.1");
        CHECK(seen.copyright == L"Copyright (C) 2026 Telvarion");
        CHECK(seen.smallIcon);
        CHECK(seen.smallIcon == LoadIconW(AppInstance(), MAKEINTRESOURCEW(IDR_MAINFRAME)));
        CHECK(seen.numberShown == (c.number != nullptr));
        CHECK(seen.captionShown == (c.number != nullptr));
        CHECK(seen.caption == L"Device Version:");
        if (c.number) CHECK(seen.number == c.number);
        CHECK_FALSE(f.panel->AboutOpen());
    }
}

TEST_CASE("about box: missing keys leave the labels empty; the copyright comes from the application section") {
    PanelFixture f;
    f.tree.WriteInstallIni(
        "[SoftInfo]\r\nSoftware=Telvarion\r\nCopyright=not this one\r\n"
        "[Company]\r\nCompany=Brand\r\n"
        "[Brand]\r\nSWText=Brand Panel\r\nVersion=not this one either\r\nCopyright=(c) Brand\r\n");
    REQUIRE(StartWithAdapter(f, nullptr));
    Seen seen;
    AboutDriver driver([&](HWND box) { seen = Look(box); });
    REQUIRE(driver.Run(f));
    CHECK(seen.version.empty());
    CHECK(seen.copyright == L"(c) Brand");

    f.tree.WriteInstallIni("[SoftInfo]\r\nSoftware=Telvarion\r\nVersion=3.0.1\r\n[Company]\r\nCompany=Brand\r\n");
    Seen second;
    AboutDriver again([&](HWND box) { second = Look(box); });
    REQUIRE(again.Run(f));
    CHECK(second.version == L"3.0.1");
    CHECK(second.copyright.empty());
}

TEST_CASE("about box: About while the box is open does nothing; after it closes About opens it again") {
    PanelFixture f;
    REQUIRE(StartWithAdapter(f, nullptr));
    bool openWhileShown = false;
    size_t boxesAfterSecond = 0;
    AboutDriver driver([&](HWND) {
        openWhileShown = f.panel->AboutOpen();
        f.Command(ID_APP_ABOUT);  // returns at once: no nested box
        boxesAfterSecond = AboutBoxes().size();
    });
    REQUIRE(driver.Run(f));
    CHECK(openWhileShown);
    CHECK(boxesAfterSecond == 1);
    CHECK(driver.mostBoxes == 1);
    CHECK_FALSE(f.panel->AboutOpen());
    CHECK(AboutBoxes().empty());

    AboutDriver next([](HWND) {});
    CHECK(next.Run(f));
    CHECK_FALSE(f.panel->AboutOpen());
}

TEST_CASE("about box: a language switch while the box is open leaves its data labels alone") {
    PanelFixture f;
    REQUIRE(StartWithAdapter(f, L"arrive 0x00AB"));
    Seen before, after;
    AboutDriver driver([&](HWND box) {
        before = Look(box);
        f.Command(2);  // the second language of the list: French
        after = Look(box);
    });
    REQUIRE(driver.Run(f));
    // The switch reached the box: its title is translated ...
    CHECK(before.title == L"About Telvarion");
    CHECK(after.title == L"\u00C0 propos de Telvarion");
    // ... but the four labels keep their texts, the caption its untranslated template text.
    CHECK(after.version == L"3.0.1");
    CHECK(after.copyright == L"Copyright (C) 2026 Telvarion");
    CHECK(after.number == L"00AB");
    CHECK(after.caption == L"Device Version:");
    CHECK(after.numberShown);
    CHECK(after.captionShown);
}
