#include "simulator/Device.h"

#include "resources/ids.h"

namespace sim {
namespace {

DeviceState g_state;
HWND g_panel = nullptr;
void (*g_observer)() = nullptr;

void Changed() {
    if (g_observer) g_observer();
}

void Report(UINT message, WPARAM wp = 0) {
    // PostMessageW with a null window would land in this thread's own queue instead.
    if (g_panel) PostMessageW(g_panel, message, wp, 0);
}

int Clamp(int volume) { return volume < 0 ? 0 : volume > 100 ? 100 : volume; }

}

const DeviceState& Device() { return g_state; }

void ResetDevice() {
    g_state = DeviceState{};
    Changed();
}

void SetReportWindow(HWND panel) { g_panel = panel; }

void SetDeviceObserver(void (*observer)()) { g_observer = observer; }

void SetOnline(bool online) {
    g_state.online = online;
    Report(online ? WM_DEVLIB_SKYPE_ONLINE : WM_DEVLIB_SKYPE_OFFLINE);
    Changed();
}

void Arrive(unsigned long number) {
    g_state.present = true;
    g_state.version = static_cast<unsigned short>(number & 0xFFFF);
    Report(WM_DEVLIB_DEVICE_ARRIVED, number);
    Changed();
}

void Remove() {
    g_state.present = false;
    Report(WM_DEVLIB_DEVICE_REMOVED);
    Changed();
}

void SetOffHook(bool offHook) {
    g_state.offHook = offHook;
    Report(offHook ? WM_DEVLIB_OFFHOOK : WM_DEVLIB_ONHOOK);
    Changed();
}

void SetDeviceVolumes(int speaker, int mic) {
    g_state.speaker = speaker;
    g_state.mic = mic;
    Changed();
}

void ProgramSetVolumes(int speaker, int mic) {
    if (!g_state.present) return;
    // A volume the adapter lacks cannot be brought into being from the program's side.
    if (speaker != -1 && g_state.speaker != kNoVolume) g_state.speaker = Clamp(speaker);
    if (mic != -1 && g_state.mic != kNoVolume) g_state.mic = Clamp(mic);
    Changed();
}

void ProgramGetVolumes(int* speaker, int* mic) {
    if (!g_state.present) return;
    if (speaker && g_state.speaker != kNoVolume) *speaker = g_state.speaker;
    if (mic && g_state.mic != kNoVolume) *mic = g_state.mic;
}

}
