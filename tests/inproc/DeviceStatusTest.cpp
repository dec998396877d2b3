// The device library's reports turned into the tray icon's picture and tooltip, the adapters
// that belong to the sibling program, and the timer that applies the saved volumes.
#include <doctest/doctest.h>
#include "app/Configuration.h"
#include "i18n/LanguageSelection.h"
#include "tests/inproc/PanelFixture.h"

#include <map>
#include <string>
#include <vector>

namespace {

const wchar_t* const kIconFiles[] = {L"SKYPEOK_NODEVICE.ico", L"SKYPEOK_IDLE.ico",     L"SKYPEOK_OFFHOOK.ico",
                                     L"NOSKYPE_NODEVICE.ico", L"NOSKYPE_IDLE.ico",     L"NOSKYPE_OFFHOOK.ico"};

std::string Narrow(const std::wstring& w) {
    std::string s;
    for (wchar_t c : w) s += c < 128 ? static_cast<char>(c) : '?';
    return s;
}

// An icon's picture as 32-bit pixels, colour then mask, so two handles can be compared.
std::vector<DWORD> Pixels(HICON icon) {
    std::vector<DWORD> pixels;
    ICONINFO info = {};
    if (!icon || !GetIconInfo(icon, &info)) return pixels;
    HDC dc = GetDC(nullptr);
    for (HBITMAP bitmap : {info.hbmColor, info.hbmMask}) {
        BITMAP bm = {};
        if (!bitmap || !GetObjectW(bitmap, sizeof bm, &bm)) continue;
        BITMAPINFO bi = {};
        bi.bmiHeader = {sizeof(BITMAPINFOHEADER), bm.bmWidth, -bm.bmHeight, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        std::vector<DWORD> part(static_cast<size_t>(bm.bmWidth) * bm.bmHeight);
        GetDIBits(dc, bitmap, 0, bm.bmHeight, part.data(), &bi, DIB_RGB_COLORS);
        pixels.push_back(bm.bmWidth);
        pixels.insert(pixels.end(), part.begin(), part.end());
    }
    ReleaseDC(nullptr, dc);
    if (info.hbmColor) DeleteObject(info.hbmColor);
    if (info.hbmMask) DeleteObject(info.hbmMask);
    return pixels;
}

// Tells which of the six status files a tray icon was loaded from, by its picture.
class StatusIcons {
public:
    explicit StatusIcons(const std::wstring& programDir) {
        for (const wchar_t* name : kIconFiles) {
            const std::wstring path = programDir + L"\\Resource\\" + name;
            HICON icon = static_cast<HICON>(LoadImageW(nullptr, path.c_str(), IMAGE_ICON, 0, 0, LR_LOADFROMFILE));
            m_pictures[name] = Pixels(icon);
            if (icon) DestroyIcon(icon);
        }
    }
    // The six sample pictures must differ, or the picture would not tell the file.
    bool Distinct() const {
        for (auto a = m_pictures.begin(); a != m_pictures.end(); ++a) {
            if (a->second.empty()) return false;
            for (auto b = std::next(a); b != m_pictures.end(); ++b)
                if (a->second == b->second) return false;
        }
        return true;
    }
    std::string FileOf(HICON icon) const {
        if (!icon) return "(no icon)";
        const std::vector<DWORD> pixels = Pixels(icon);
        for (const auto& [name, picture] : m_pictures)
            if (picture == pixels) return Narrow(name);
        return "(unknown picture)";
    }

private:
    std::map<std::wstring, std::vector<DWORD>> m_pictures;
};

// The status the shell was last told. The current picture is still alive, so it can be read.
struct Shown {
    std::string file;
    std::wstring tip;
};
Shown LastShown(const SeamRecorder& seam, const StatusIcons& icons) {
    HICON icon = nullptr;
    Shown shown;
    bool sawIcon = false;
    for (const TrayCall& call : seam.tray) {
        if (call.message != NIM_MODIFY) continue;
        if (call.uFlags & NIF_ICON) icon = call.hIcon, sawIcon = true;
        if (call.uFlags & NIF_TIP) shown.tip = call.tip;
    }
    shown.file = sawIcon ? icons.FileOf(icon) : "(no icon change)";
    return shown;
}

std::wstring TooltipText(const wchar_t* key) {
    wchar_t text[260] = L"";
    GetPrivateProfileStringW(L"Tooltip", key, L"", text, 260, g_szLanguagePath);
    return text;
}

// Milliseconds since `start` at which the journal first shows `text`, or -1.
long WaitForJournalAfter(PanelFixture& f, const wchar_t* text, DWORD start, DWORD timeoutMs) {
    if (!f.WaitForJournal(text, timeoutMs)) return -1;
    return static_cast<long>(GetTickCount() - start);
}

// Starts the panel kept hidden from the start. Timing checks need this under Wine: hiding a
// shown window without a window manager stalls the thread for about two seconds, which would
// hold up the panel's timers.
bool StartHidden(PanelFixture& f) {
    CreateDirectoryW((f.tree.AppData() + L"\\Telvarion").c_str(), nullptr);
    CopyFileW(f.tree.InstallIni().c_str(), f.tree.UserIni().c_str(), FALSE);
    WritePrivateProfileStringW(L"Device", L"bHideTelvarionDlg", L"1", f.tree.UserIni().c_str());
    return f.Start() && f.panel->HideAtStart();
}

size_t Count(const std::wstring& text, const std::wstring& part) {
    size_t n = 0;
    for (size_t at = text.find(part); at != std::wstring::npos; at = text.find(part, at + 1)) ++n;
    return n;
}

}  // namespace

TEST_CASE("status: the first status shows no Skype and no adapter") {
    PanelFixture f;
    REQUIRE(StartHidden(f));
    StatusIcons icons(f.tree.Dir());
    REQUIRE(icons.Distinct());
    const Shown shown = LastShown(f.seam, icons);
    CHECK(shown.file == "NOSKYPE_NODEVICE.ico");
    REQUIRE_FALSE(TooltipText(L"NeedDevice").empty());
    CHECK(Narrow(shown.tip) == Narrow(TooltipText(L"NeedDevice")));
    f.Command(ID_TRAY_EXIT);
}

TEST_CASE("status: every combination of the three flags has its picture and tooltip") {
    PanelFixture f;
    REQUIRE(StartHidden(f));
    StatusIcons icons(f.tree.Dir());
    REQUIRE(icons.Distinct());

    struct Row {
        bool online, present, offHook;
        const char* file;
        const wchar_t* key;
    };
    const Row rows[] = {
        {true, false, false, "SKYPEOK_NODEVICE.ico", L"NeedDevice"},
        {true, false, true, "SKYPEOK_NODEVICE.ico", L"NeedDevice"},
        {true, true, false, "SKYPEOK_IDLE.ico", L"Online"},
        {true, true, true, "SKYPEOK_OFFHOOK.ico", L"Online"},
        {false, false, false, "NOSKYPE_NODEVICE.ico", L"NeedDevice"},
        {false, false, true, "NOSKYPE_NODEVICE.ico", L"NeedDevice"},
        {false, true, false, "NOSKYPE_IDLE.ico", L"NeedSkype"},
        {false, true, true, "NOSKYPE_OFFHOOK.ico", L"NeedSkype"},
    };
    for (const Row& row : rows) {
        CAPTURE(row.file);
        CAPTURE(row.online);
        CAPTURE(row.offHook);
        std::wstring commands = row.online ? L"online" : L"offline";
        commands += row.present ? L"; arrive 0x0200" : L"; remove";
        commands += row.offHook ? L"; offhook" : L"; onhook";
        f.seam.Clear();
        REQUIRE(f.Sim(commands));
        REQUIRE(PumpUntil([&] {
            return f.panel->SkypeOnline() == row.online && f.panel->DevicePresent() == row.present &&
                   f.panel->OffHook() == row.offHook;
        }, 3000));
        const Shown shown = LastShown(f.seam, icons);
        CHECK(shown.file == row.file);
        REQUIRE_FALSE(TooltipText(row.key).empty());
        CHECK(Narrow(shown.tip) == Narrow(TooltipText(row.key)));
    }
    f.Command(ID_TRAY_EXIT);
}

TEST_CASE("status: off hook outlasts a removal and an arrival until the handset is put down") {
    PanelFixture f;
    REQUIRE(StartHidden(f));
    StatusIcons icons(f.tree.Dir());
    REQUIRE(icons.Distinct());

    struct Step {
        const wchar_t* command;
        const char* file;
        WORD version;  // a removal keeps the last arrival's number
    };
    const Step steps[] = {
        {L"online; arrive 0x0301; offhook", "SKYPEOK_OFFHOOK.ico", 0x0301},
        {L"remove", "SKYPEOK_NODEVICE.ico", 0x0301},
        {L"arrive 0x0302", "SKYPEOK_OFFHOOK.ico", 0x0302},
        {L"offline", "NOSKYPE_OFFHOOK.ico", 0x0302},
        {L"onhook", "NOSKYPE_IDLE.ico", 0x0302},
    };
    for (const Step& step : steps) {
        CAPTURE(Narrow(step.command));
        f.seam.Clear();
        REQUIRE(f.Sim(step.command));
        PumpFor(0);
        CHECK(LastShown(f.seam, icons).file == step.file);
        CHECK(g_wDeviceVersion == step.version);
    }
    f.Command(ID_TRAY_EXIT);
}

TEST_CASE("status: without a tray icon the panel stays up as it is and never starts the library") {
    PanelFixture f;
    f.seam.trayResult = FALSE;  // the shell refuses the icon
    REQUIRE(f.Start());
    CHECK(f.seam.tray.size() == 1);  // the refused add, and nothing after it
    CHECK(f.Journal().find(L"sim: InstallTelvarion") == std::wstring::npos);
    CHECK(g_szLanguagePath[0] == L'\0');
    CHECK(f.panel->LibraryWindow() == nullptr);
    PumpFor(2500);  // longer than the hide timer would take
    CHECK(IsWindowVisible(f.Hwnd()));
    f.Command(ID_TRAY_EXIT);
    CHECK(TakeQuitMessage());
}

TEST_CASE("status: adapters 0x0540 to 0x056F go to the sibling program, whatever the high bits of wParam") {
    for (WPARAM wParam : {WPARAM(0x0540), WPARAM(0x056F), WPARAM(0x12340540)}) {
        CAPTURE(wParam);
        PanelFixture f;
        REQUIRE(StartHidden(f));
        const HWND panel = f.Hwnd();
        f.seam.Clear();
        f.ClearJournal();

        PostMessageW(panel, WM_DEVLIB_DEVICE_ARRIVED, wParam, 0);
        PumpFor(0);
        CHECK(g_wDeviceVersion == LOWORD(wParam));
        CHECK(TakeQuitMessage());
        CHECK_FALSE(IsWindow(panel));
        CHECK(f.seam.CountTray(NIM_DELETE) == 1);
        CHECK(f.Journal().find(L"sim: UninstallTelvarion") != std::wstring::npos);

        wchar_t name[260] = L"";
        GetPrivateProfileStringW(L"Telvarion", L"Q7RExeName", L"", name, 260, f.tree.InstallIni().c_str());
        REQUIRE(name[0]);
        const std::wstring path = f.tree.Dir() + name;  // no separator added: the value brings its own
        REQUIRE(f.seam.shell.size() == 1);
        const ShellCall& launch = f.seam.shell[0];
        CHECK(launch.owner == panel);
        CHECK(Narrow(launch.verb) == "open");
        CHECK(Narrow(launch.file) == Narrow(path));
        CHECK(Narrow(launch.parameters) == "Q7R");
        CHECK(Narrow(launch.directory) == "(null)");
        CHECK(launch.show == SW_SHOWDEFAULT);

        std::vector<std::string> lines;
        for (const std::wstring& line : f.seam.debug) lines.push_back(Narrow(line));
        const std::vector<std::string> expected = {"Uninstall Telvarion.dll", Narrow(path), "Run Kelvorshunt.exe",
                                                   "::PostQuitMessage"};
        CHECK(lines == expected);
    }
}

TEST_CASE("status: other adapters are ordinary arrivals, whatever the high bits of wParam") {
    PanelFixture f;
    REQUIRE(StartHidden(f));
    for (WPARAM wParam : {WPARAM(0x053F), WPARAM(0x0570), WPARAM(0xABCD0123), WPARAM(0x0540FFFF)}) {
        CAPTURE(wParam);
        REQUIRE(f.Sim(L"remove"));
        PumpFor(0);
        REQUIRE_FALSE(f.panel->DevicePresent());
        PostMessageW(f.Hwnd(), WM_DEVLIB_DEVICE_ARRIVED, wParam, 0);
        PumpFor(0);
        CHECK(g_wDeviceVersion == LOWORD(wParam));
        CHECK(f.panel->DevicePresent());
        CHECK(IsWindow(f.Hwnd()));
    }
    CHECK(f.seam.shell.empty());
    CHECK_FALSE(TakeQuitMessage());
    f.Command(ID_TRAY_EXIT);
}

TEST_CASE("status: a second arrival restarts the two seconds before the saved volumes are applied") {
    PanelFixture f;
    REQUIRE(StartHidden(f));
    const UINT speaker = GetPrivateProfileIntW(L"Device", L"iSpkVolume", 100, szUserIniPath);
    const UINT mic = GetPrivateProfileIntW(L"Device", L"iMicVolume", 100, szUserIniPath);
    const std::wstring applied = L"sim: SetVolumes " + std::to_wstring(speaker) + L" " + std::to_wstring(mic);

    f.ClearJournal();
    REQUIRE(f.Sim(L"arrive 0x0300"));
    PumpFor(1200);
    REQUIRE(f.Journal().find(L"sim: SetVolumes") == std::wstring::npos);
    const DWORD second = GetTickCount();
    REQUIRE(f.Sim(L"arrive 0x0300"));

    const long after = WaitForJournalAfter(f, applied.c_str(), second, 5000);
    CAPTURE(after);
    CHECK(after >= 1900);
    CHECK(after < 3500);
    CHECK(Count(f.Journal(), L"sim: SetVolumes") == 1);
    f.Command(ID_TRAY_EXIT);
}

TEST_CASE("status: a removal stops the polling but not a pending application of the saved volumes") {
    PanelFixture f;
    REQUIRE(StartHidden(f));
    REQUIRE(f.Sim(L"arrive 0x0300"));
    REQUIRE(f.WaitForJournal(L"sim: GetVolumes", 5000));  // applied, and polling every second

    REQUIRE(f.Sim(L"arrive 0x0300; remove"));  // timer 259 pending again, then the adapter goes
    PumpFor(0);
    CHECK_FALSE(f.panel->DevicePresent());
    CHECK_FALSE(IsWindowEnabled(GetDlgItem(f.Hwnd(), IDC_SLIDER_SPEAKER)));
    CHECK_FALSE(IsWindowEnabled(GetDlgItem(f.Hwnd(), IDC_SLIDER_MIC)));
    f.ClearJournal();
    const DWORD removed = GetTickCount();

    // No poll until the pending timer runs its course: it applies the volumes, then polls.
    const long applied = WaitForJournalAfter(f, L"sim: SetVolumes", removed, 5000);
    CAPTURE(applied);
    CHECK(applied >= 1500);
    const std::wstring journal = f.Journal();
    const size_t set = journal.find(L"sim: SetVolumes");
    const size_t get = journal.find(L"sim: GetVolumes");
    CHECK(set != std::wstring::npos);
    CHECK((get == std::wstring::npos || get > set));
    CHECK(f.WaitForJournal(L"sim: GetVolumes", 3000));
    f.Command(ID_TRAY_EXIT);
}
