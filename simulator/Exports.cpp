// The library's exported operations. Telvarion.def gives the names and ordinals.

#include "simulator/Commands.h"
#include "simulator/Device.h"
#include "device/DeviceLibraryContract.h"
#include "simulator/Journal.h"
#include "simulator/Script.h"
#include "simulator/SimulatorControl.h"
#include "simulator/OptionsWindow.h"
#include "simulator/SimulatorWindow.h"

#include <cwchar>
#include <string>
#include <vector>

namespace {

// An environment variable's whole value; empty when it is not set.
std::wstring Environment(const wchar_t* name) {
    const DWORD size = GetEnvironmentVariableW(name, nullptr, 0);
    if (!size) return std::wstring();
    std::vector<wchar_t> value(size);
    const DWORD length = GetEnvironmentVariableW(name, value.data(), size);
    return length < size ? std::wstring(value.data(), length) : std::wstring();
}

}

extern "C" {

HWND WINAPI InstallTelvarion(HWND panel) {
    sim::Journal(L"InstallTelvarion");
    // Lets a test see the program's "InstallTelvarion Failed" path with the real library loaded.
    if (Environment(L"TELVARION_SIM_FAIL_INSTALL") == L"1") return nullptr;
    if (!sim::SimulatorWindow()) {
        sim::ResetDevice();
        if (!sim::CreateSimulatorWindow()) return nullptr;
        sim::SetDeviceObserver(sim::RefreshOptionsWindow);
        sim::StartScript(sim::SimulatorWindow(), Environment(L"TELVARION_SIM_SCRIPT"));
    }
    sim::SetReportWindow(panel);
    return sim::SimulatorWindow();
}

void WINAPI UninstallTelvarion(void) {
    sim::Journal(L"UninstallTelvarion");
    sim::SetReportWindow(nullptr);
    sim::StopScript(sim::SimulatorWindow());
    sim::DestroySimulatorWindow();
    sim::SetDeviceObserver(nullptr);
}

void WINAPI GetVolumes(int* speaker, int* mic) {
    int gotSpeaker = sim::kNoVolume, gotMic = sim::kNoVolume;
    sim::ProgramGetVolumes(&gotSpeaker, &gotMic);
    if (speaker && gotSpeaker != sim::kNoVolume) *speaker = gotSpeaker;
    if (mic && gotMic != sim::kNoVolume) *mic = gotMic;
    sim::Journal(L"GetVolumes " + std::to_wstring(gotSpeaker) + L" " + std::to_wstring(gotMic));
}

void WINAPI SetVolumes(int speaker, int mic) {
    sim::Journal(L"SetVolumes " + std::to_wstring(speaker) + L" " + std::to_wstring(mic));
    sim::ProgramSetVolumes(speaker, mic);
}

int WINAPI TelvarionSimCommand(const wchar_t* commands) {
    return commands && sim::RunCommandsNow(commands) ? 1 : 0;
}

int WINAPI TelvarionSimJournal(wchar_t* buffer, int size) {
    const std::wstring& journal = sim::JournalText();
    const int length = static_cast<int>(journal.size());
    if (buffer && size > 0) {
        const int copied = length < size - 1 ? length : size - 1;
        wmemcpy(buffer, journal.data(), copied);
        buffer[copied] = L'\0';
    }
    return length;
}

void WINAPI TelvarionSimClearJournal(void) { sim::ClearJournal(); }

}
