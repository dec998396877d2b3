// The simulated adapter and Skype link: the state a real device library would watch, and the
// reports it sends the program's panel when that state changes.
#pragma once
#include <windows.h>

namespace sim {

constexpr int kNoVolume = -1;  // a volume the adapter does not offer

struct DeviceState {
    bool online = false;          // Skype available
    bool present = false;         // adapter connected
    unsigned short version = 0;   // device version number of the connected (or last) adapter
    bool offHook = false;
    int speaker = 50;             // 0..100 or kNoVolume
    int mic = 50;
};

const DeviceState& Device();

// Back to the start state, without telling anybody: a new installation starts afresh.
void ResetDevice();

// Where reports go; null while the simulator is not installed, so nothing reaches the program
// before InstallTelvarion or after UninstallTelvarion.
void SetReportWindow(HWND panel);

// Called after every change, so that the options window can follow the model.
void SetDeviceObserver(void (*observer)());

// Device-side events; each one reports to the panel.
void SetOnline(bool online);
// The arrival message carries `number` whole, so a test can also put bits above the 16-bit
// version number into wParam; the model keeps the low 16 bits.
void Arrive(unsigned long number);
void Remove();
void SetOffHook(bool offHook);
// A change made at the adapter itself; kNoVolume makes that volume unavailable. Not reported:
// the program polls the volumes.
void SetDeviceVolumes(int speaker, int mic);

// The program's side, with the library's semantics: SetVolumes ignores -1 and clamps the rest
// to 0..100; GetVolumes writes only the volumes that exist on a connected adapter.
void ProgramSetVolumes(int speaker, int mic);
void ProgramGetVolumes(int* speaker, int* mic);

}
