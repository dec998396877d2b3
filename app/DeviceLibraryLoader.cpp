#include "app/DeviceLibraryLoader.h"
#include "app/Configuration.h"
#include "framework/Text.h"
#include "platform/Platform.h"

HMODULE LoadDeviceLibrary() {
    wchar_t path[kTextUnits];
    // A path that does not fit is not loaded at all: a cut path could name another file.
    if (!FormatText(path, kTextUnits, L"%s\\%s", GetModuleDir().text, L"Telvarion.dll")) return nullptr;
    Platform().OutputDebugString(path);
    return LoadLibraryW(path);
}
