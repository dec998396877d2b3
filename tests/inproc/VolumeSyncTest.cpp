// The adapter's volumes and the panel's sliders: the saved volumes applied two seconds after an
// arrival, the poll every second, a released slider sent and saved, and what the poll leaves
// alone. Timer tests wait on real timers; the rest send the timer message straight away.
#include <doctest/doctest.h>
#include "app/Configuration.h"
#include "tests/inproc/PanelFixture.h"

#include <string>

namespace {
size_t Count(const std::wstring& text, const std::wstring& fragment) {
    size_t n = 0;
    for (size_t at = text.find(fragment); at != std::wstring::npos; at = text.find(fragment, at + 1)) ++n;
    return n;
}

bool Has(const std::wstring& text, const std::wstring& fragment) { return text.find(fragment) != std::wstring::npos; }

HWND Slider(const PanelFixture& f, int id) { return GetDlgItem(f.Hwnd(), id); }
int Pos(const PanelFixture& f, int id) { return static_cast<int>(SendMessageW(Slider(f, id), TBM_GETPOS, 0, 0)); }
bool Enabled(const PanelFixture& f, int id) { return IsWindowEnabled(Slider(f, id)) != FALSE; }

std::wstring SavedText(const wchar_t* key) {
    wchar_t text[64] = L"";
    GetPrivateProfileStringW(L"Device", key, L"(missing)", text, 64, szUserIniPath);
    return text;
}

void Poll(const PanelFixture& f) { SendMessageW(f.Hwnd(), WM_TIMER, kTimerPollVolumes, 0); }

// An adapter with the given volumes, the sliders polled once; the arrival's own timer is
// stopped so that only the test's messages move anything.
bool StartWithAdapter(PanelFixture& f, const wchar_t* volumes) {
    if (!f.Start()) return false;
    KillTimer(f.Hwnd(), kTimerHideAtStart);
    f.Sim(std::wstring(L"arrive; volumes ") + volumes);
    if (!PumpUntil([&] { return f.panel->DevicePresent(); }, 3000)) return false;
    KillTimer(f.Hwnd(), kTimerApplyVolumes);
    Poll(f);
    f.ClearJournal();
    f.seam.Clear();
    return true;
}

const char kUserIniWithoutVolumes[] = "[SoftInfo]\r\nVersion=3.0.1\r\n[Device]\r\nbHideTelvarionDlg=0\r\n";
}  // namespace

TEST_CASE("volumes: missing keys apply 100 and 100 two seconds after an arrival; polling follows until removal") {
    PanelFixture f;
    f.tree.WriteUserIni(kUserIniWithoutVolumes);
    REQUIRE(f.Start());
    CHECK_FALSE(Enabled(f, IDC_SLIDER_SPEAKER));
    CHECK_FALSE(Enabled(f, IDC_SLIDER_MIC));
    f.ClearJournal();

    const DWORD arrival = GetTickCount();
    f.Sim(L"arrive 0x0123");
    REQUIRE(f.WaitForJournal(L"sim: SetVolumes 100 100\n", 5000));
    const DWORD applied = GetTickCount() - arrival;
    CHECK(applied >= 1800);
    CHECK(applied < 4000);
    CHECK(f.seam.HasDebugLine(L"Set : speak = 100, mic = 100"));
    // The first poll runs at once.
    CHECK(Has(f.Journal(), L"sim: SetVolumes 100 100\nsim: GetVolumes 100 100\n"));
    CHECK(f.seam.HasDebugLine(L"Get speak = 100, mic = 100"));
    CHECK(Enabled(f, IDC_SLIDER_SPEAKER));
    CHECK(Enabled(f, IDC_SLIDER_MIC));
    CHECK(Pos(f, IDC_SLIDER_SPEAKER) == 100);
    CHECK(Pos(f, IDC_SLIDER_MIC) == 100);

    // Then once a second; a microphone the adapter lacks disables its slider where it stands.
    f.Sim(L"volumes 30 -1");
    const DWORD changed = GetTickCount();
    REQUIRE(PumpUntil([&] { return f.seam.HasDebugLine(L"Get speak = 30, mic = -1"); }, 2500));
    CHECK(GetTickCount() - changed <= 1500);
    CHECK(Enabled(f, IDC_SLIDER_SPEAKER));
    CHECK(Pos(f, IDC_SLIDER_SPEAKER) == 30);
    CHECK_FALSE(Enabled(f, IDC_SLIDER_MIC));
    CHECK(Pos(f, IDC_SLIDER_MIC) == 100);
    CHECK(Count(f.Journal(), L"sim: SetVolumes") == 1);

    f.Sim(L"volumes 30 45");
    REQUIRE(PumpUntil([&] { return f.seam.HasDebugLine(L"Get speak = 30, mic = 45"); }, 2500));
    CHECK(Enabled(f, IDC_SLIDER_MIC));
    CHECK(Pos(f, IDC_SLIDER_MIC) == 45);

    // Removal: both sliders off, and no more polling.
    f.Sim(L"remove");
    REQUIRE(PumpUntil([&] { return !f.panel->DevicePresent(); }, 3000));
    CHECK_FALSE(Enabled(f, IDC_SLIDER_SPEAKER));
    CHECK_FALSE(Enabled(f, IDC_SLIDER_MIC));
    f.ClearJournal();
    PumpFor(1600);
    CHECK_FALSE(Has(f.Journal(), L"sim: GetVolumes"));
    CHECK(Pos(f, IDC_SLIDER_SPEAKER) == 30);
    CHECK(Pos(f, IDC_SLIDER_MIC) == 45);
}

TEST_CASE("volumes: a second arrival restarts the wait; the saved volumes are applied once, two seconds after it") {
    PanelFixture f;
    f.tree.WriteUserIni("[SoftInfo]\r\nVersion=3.0.1\r\n[Device]\r\niSpkVolume=45\r\niMicVolume=55\r\n");
    REQUIRE(f.Start());
    f.ClearJournal();
    f.Sim(L"arrive");
    PumpFor(1000);
    CHECK_FALSE(Has(f.Journal(), L"sim: SetVolumes"));
    const DWORD second = GetTickCount();
    f.Sim(L"arrive");
    REQUIRE(f.WaitForJournal(L"sim: SetVolumes 45 55\n", 5000));
    CHECK(GetTickCount() - second >= 1800);
    PumpFor(300);
    CHECK(Count(f.Journal(), L"sim: SetVolumes") == 1);
}

TEST_CASE("volumes: an arrival followed at once by a removal still applies the volumes and starts polling") {
    PanelFixture f;
    REQUIRE(f.Start());  // the sample's saved volumes: 80 and 60
    f.ClearJournal();
    f.Sim(L"arrive; remove");
    REQUIRE(PumpUntil([&] { return Has(f.Journal(), L"command remove"); }, 1000));
    REQUIRE(f.WaitForJournal(L"sim: SetVolumes 80 60\n", 5000));
    // Nobody answers the poll now: both stay -1 and both sliders stay off.
    CHECK(PumpUntil([&] { return Count(f.Journal(), L"sim: GetVolumes -1 -1") >= 2; }, 2500));
    CHECK(f.seam.HasDebugLine(L"Get speak = -1, mic = -1"));
    CHECK_FALSE(Enabled(f, IDC_SLIDER_SPEAKER));
    CHECK_FALSE(Enabled(f, IDC_SLIDER_MIC));
}

TEST_CASE("volumes: saved volumes as the adapter gets them") {
    PanelFixture f;
    REQUIRE(StartWithAdapter(f, L"50 50"));
    struct Case {
        const wchar_t* speaker;  // null: no key
        const wchar_t* mic;
        int sentSpeaker, sentMic;
    };
    // Outside 0..100 a volume is not sent as it stands: -1 leaves the adapter's own volume.
    const Case cases[] = {
        {nullptr, nullptr, 100, 100},
        {L"37", L"0", 37, 0},
        {L"100", L"101", 100, -1},
        {L"250", L"-7", -1, -1},
        {L"-1", nullptr, -1, 100},
    };
    for (const Case& c : cases) {
        const std::wstring sent = std::to_wstring(c.sentSpeaker) + L" " + std::to_wstring(c.sentMic);
        CAPTURE(sent);
        WritePrivateProfileStringW(L"Device", L"iSpkVolume", c.speaker, szUserIniPath);
        WritePrivateProfileStringW(L"Device", L"iMicVolume", c.mic, szUserIniPath);
        f.ClearJournal();
        f.seam.Clear();
        SendMessageW(f.Hwnd(), WM_TIMER, kTimerApplyVolumes, 0);
        CHECK(Has(f.Journal(), L"sim: SetVolumes " + sent + L"\n"));
        CHECK(f.seam.HasDebugLine(L"Set : speak = " + std::to_wstring(c.sentSpeaker) + L", mic = " + std::to_wstring(c.sentMic)));
    }
}

TEST_CASE("volumes: a released slider sends its volume alone and saves it") {
    struct Case {
        int id;
        const wchar_t* sent;
        const wchar_t* key;
        const wchar_t* otherKey;
        const wchar_t* otherSaved;
    };
    const Case cases[] = {
        {IDC_SLIDER_SPEAKER, L"sim: SetVolumes 37 -1\n", L"iSpkVolume", L"iMicVolume", L"60"},
        {IDC_SLIDER_MIC, L"sim: SetVolumes -1 37\n", L"iMicVolume", L"iSpkVolume", L"80"},
    };
    for (const Case& c : cases) {
        CAPTURE(c.id);
        PanelFixture f;
        REQUIRE(StartWithAdapter(f, L"50 50"));
        const HWND slider = Slider(f, c.id);
        SendMessageW(slider, TBM_SETPOS, TRUE, 37);
        NMHDR released = {slider, static_cast<UINT_PTR>(c.id), static_cast<UINT>(NM_RELEASEDCAPTURE)};
        SendMessageW(f.Hwnd(), WM_NOTIFY, c.id, reinterpret_cast<LPARAM>(&released));
        CHECK(f.Journal() == c.sent);
        CHECK(SavedText(c.key) == L"37");
        CHECK(SavedText(c.otherKey) == c.otherSaved);
    }
}

TEST_CASE("volumes: dragging the speaker slider's thumb with the mouse sends and saves where it stopped") {
    PanelFixture f;
    REQUIRE(StartWithAdapter(f, L"50 50"));
    const HWND slider = Slider(f, IDC_SLIDER_SPEAKER);
    REQUIRE(Enabled(f, IDC_SLIDER_SPEAKER));
    RECT thumb = {}, channel = {};
    SendMessageW(slider, TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&thumb));
    SendMessageW(slider, TBM_GETCHANNELRECT, 0, reinterpret_cast<LPARAM>(&channel));
    const int y = (thumb.top + thumb.bottom) / 2;
    const int from = (thumb.left + thumb.right) / 2;
    const int to = channel.left + 2;

    SendMessageW(slider, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(from, y));
    CHECK(GetCapture() == slider);
    SendMessageW(slider, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(to, y));
    SendMessageW(slider, WM_LBUTTONUP, 0, MAKELPARAM(to, y));
    PumpFor(0);

    const int pos = Pos(f, IDC_SLIDER_SPEAKER);
    CHECK(pos < 50);
    CHECK(f.Journal() == L"sim: SetVolumes " + std::to_wstring(pos) + L" -1\n");
    CHECK(SavedText(L"iSpkVolume") == std::to_wstring(pos));
    if (GetCapture() == slider) ReleaseCapture();
}

TEST_CASE("volumes: while a slider holds the mouse capture the poll leaves both sliders alone") {
    for (int holder : {IDC_SLIDER_SPEAKER, IDC_SLIDER_MIC}) {
        CAPTURE(holder);
        PanelFixture f;
        REQUIRE(StartWithAdapter(f, L"40 40"));
        REQUIRE(Pos(f, IDC_SLIDER_SPEAKER) == 40);
        f.Sim(L"volumes 70 20");
        f.ClearJournal();

        SetCapture(Slider(f, holder));
        REQUIRE(GetCapture() == Slider(f, holder));
        f.panel->PollVolumes();
        Poll(f);
        CHECK_FALSE(Has(f.Journal(), L"GetVolumes"));
        CHECK(Pos(f, IDC_SLIDER_SPEAKER) == 40);
        CHECK(Pos(f, IDC_SLIDER_MIC) == 40);
        ReleaseCapture();

        // Capture held elsewhere is no reason to skip.
        SetCapture(f.Hwnd());
        Poll(f);
        ReleaseCapture();
        CHECK(Has(f.Journal(), L"sim: GetVolumes 70 20\n"));
        CHECK(Pos(f, IDC_SLIDER_SPEAKER) == 70);
        CHECK(Pos(f, IDC_SLIDER_MIC) == 20);
    }
}

TEST_CASE("volumes: a slider moved with the keyboard sends and saves nothing, and the next poll puts it back") {
    PanelFixture f;
    REQUIRE(StartWithAdapter(f, L"40 40"));
    for (int id : {IDC_SLIDER_SPEAKER, IDC_SLIDER_MIC}) {
        CAPTURE(id);
        const HWND slider = Slider(f, id);
        SendMessageW(slider, WM_KEYDOWN, VK_RIGHT, 0);
        SendMessageW(slider, WM_KEYUP, VK_RIGHT, 0);
        PumpFor(0);
        CHECK(Pos(f, id) == 41);
        CHECK_FALSE(Has(f.Journal(), L"SetVolumes"));
        Poll(f);
        CHECK(Pos(f, id) == 40);
    }
    CHECK(SavedText(L"iSpkVolume") == L"80");
    CHECK(SavedText(L"iMicVolume") == L"60");
}
