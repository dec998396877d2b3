// The panel as the program runs it, in-process: a sample installation beside the test
// executable, the simulated device library, the language manager's hook, a recorder behind the
// platform seam, and CTelvarionDlg created modelessly so the test pumps its messages.
#pragma once
#include "device/TelvarionDlg.h"
#include "framework/Application.h"
#include "i18n/LanguageManager.h"
#include "ids.h"
#include "tests/inproc/ProgramTree.h"
#include "tests/inproc/SeamRecorder.h"
#include "tests/support/Pump.h"

#include <memory>
#include <string>

class PanelFixture {
public:
    PanelFixture();
    ~PanelFixture();

    // Prepares the configuration and creates the panel; false when it could not be created.
    bool Start();
    HWND Hwnd() const { return panel ? panel->GetSafeHwnd() : nullptr; }

    // Runs simulator commands now; the messages it posts arrive at the next pump.
    bool Sim(const std::wstring& commands);
    // What the program asked of the simulator, one "sim: ..." line per call.
    std::wstring Journal() const;
    void ClearJournal();
    // Pumps until the journal holds `text`.
    bool WaitForJournal(const std::wstring& text, DWORD timeoutMs = 5000);

    // Sends a tray command as the tray menu would.
    void Command(LPARAM id) { SendMessageW(Hwnd(), WM_TRAYICON_COMMAND, TRAYCMD_MENU, id); }

    ProgramTree tree;
    SeamRecorder seam;
    CApplication app;
    CLanguageManager languages;
    std::unique_ptr<CTelvarionDlg> panel;

private:
    HMODULE m_simulator = nullptr;
};
