// The panel comes up as the program runs it and reaches the simulated library.
#include <doctest/doctest.h>
#include "tests/inproc/PanelFixture.h"

TEST_CASE("panel: initialisation installs the library, creates the tray icon and tells the language file") {
    PanelFixture f;
    REQUIRE(f.Start());
    CHECK(f.panel->LibraryWindow());
    CHECK(f.panel->TrayIcon().Shown());
    CHECK(f.Journal().find(L"sim: InstallTelvarion") != std::wstring::npos);
    CHECK(f.Journal().find(L"sim: language ") != std::wstring::npos);
    REQUIRE(f.seam.CountTray(NIM_ADD) == 1);
    f.Sim(L"online; arrive 0x0123");
    CHECK(PumpUntil([&] { return f.panel->DevicePresent() && f.panel->SkypeOnline(); }, 3000));
    f.Command(32771);  // Exit
    CHECK(TakeQuitMessage());
    CHECK_FALSE(IsWindow(f.Hwnd()));
    CHECK(f.seam.CountTray(NIM_DELETE) == 1);
}
