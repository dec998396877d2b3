// The program's side of the device library: the module start-up loaded, its two volume
// operations bound by ordinal as soon as the module is handed over, and the library's window.
#pragma once
#include "device/DeviceLibraryContract.h"

class CDeviceLibrary {
public:
    CDeviceLibrary() = default;
    ~CDeviceLibrary();  // frees the module if it is still held
    CDeviceLibrary(const CDeviceLibrary&) = delete;
    CDeviceLibrary& operator=(const CDeviceLibrary&) = delete;

    // Takes the loaded module and binds ordinals 5 and 6 through it.
    void Attach(HMODULE module);
    HMODULE Module() const { return m_module; }
    HWND Window() const { return m_window; }

    // Looks InstallTelvarion up by name and starts the library with `panel`; returns its window.
    HWND Install(HWND panel);
    // Looks UninstallTelvarion up by name and stops the library.
    void Uninstall();
    // Both preset to -1 by the caller; a missing operation leaves them so.
    void GetVolumes(int* speaker, int* mic) const;
    void SetVolumes(int speaker, int mic) const;
    // Asks the library for its options window (posted).
    void PostOptions() const;
    // Tells the library the full path of the current language file (sent).
    void SendLanguageFile(const wchar_t* path) const;
    void Free();

private:
    HMODULE m_module = nullptr;
    HWND m_window = nullptr;
    GetVolumesFn m_getVolumes = nullptr;
    SetVolumesFn m_setVolumes = nullptr;
};
