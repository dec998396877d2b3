#include "device/DeviceLibrary.h"
#include "ids.h"

namespace {
// GetProcAddress hands back a generic pointer; the contract header gives the real types.
template <class Fn>
Fn Lookup(HMODULE module, LPCSTR name) {
    if (!module) return nullptr;
    return reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}
}  // namespace

CDeviceLibrary::~CDeviceLibrary() { Free(); }

void CDeviceLibrary::Attach(HMODULE module) {
    m_module = module;
    m_getVolumes = Lookup<GetVolumesFn>(module, MAKEINTRESOURCEA(TELVARION_GETVOLUMES_ORDINAL));
    m_setVolumes = Lookup<SetVolumesFn>(module, MAKEINTRESOURCEA(TELVARION_SETVOLUMES_ORDINAL));
}

HWND CDeviceLibrary::Install(HWND panel) {
    auto install = Lookup<InstallTelvarionFn>(m_module, TELVARION_INSTALL_NAME);
    m_window = install ? install(panel) : nullptr;
    return m_window;
}

void CDeviceLibrary::Uninstall() {
    if (auto uninstall = Lookup<UninstallTelvarionFn>(m_module, TELVARION_UNINSTALL_NAME)) uninstall();
}

void CDeviceLibrary::GetVolumes(int* speaker, int* mic) const {
    if (m_getVolumes) m_getVolumes(speaker, mic);
}

void CDeviceLibrary::SetVolumes(int speaker, int mic) const {
    if (m_setVolumes) m_setVolumes(speaker, mic);
}

// Without a library window there is nobody to tell; a null target would reach this thread's
// own queue instead.
void CDeviceLibrary::PostOptions() const {
    if (m_window) PostMessageW(m_window, WM_DEVLIB_POPUP_OPTIONS, 0, 0);
}

void CDeviceLibrary::SendLanguageFile(const wchar_t* path) const {
    if (m_window) SendMessageW(m_window, WM_DEVLIB_LANGUAGE_FILE, reinterpret_cast<WPARAM>(path), 0);
}

void CDeviceLibrary::Free() {
    if (m_module) FreeLibrary(m_module);
    m_module = nullptr;
    m_getVolumes = nullptr;
    m_setVolumes = nullptr;
}
