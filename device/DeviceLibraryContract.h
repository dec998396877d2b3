// The device library's four operations as the program calls them, through pointers from
// GetProcAddress: the two named ones by name, the volume ones by ordinal.
//
// Every operation is __stdcall (WINAPI): the callee removes its arguments, and on 32-bit
// Windows calling one of them through a pointer of another convention corrupts the stack.
// The exported names carry no decoration ("InstallTelvarion", not "_InstallTelvarion@4").
#pragma once
#include <windows.h>

// Starts the library, which reports to `panel`; returns the library's own window, or null.
typedef HWND (WINAPI* InstallTelvarionFn)(HWND panel);
// Stops the library; nothing is reported afterwards.
typedef void (WINAPI* UninstallTelvarionFn)(void);
// Writes each current volume (0..100); a volume that is not available keeps the caller's -1.
typedef void (WINAPI* GetVolumesFn)(int* speaker, int* mic);
// Applies each volume; -1 leaves that one as it is.
typedef void (WINAPI* SetVolumesFn)(int speaker, int mic);

#define TELVARION_INSTALL_NAME    "InstallTelvarion"
#define TELVARION_UNINSTALL_NAME  "UninstallTelvarion"
#define TELVARION_GETVOLUMES_ORDINAL 5
#define TELVARION_SETVOLUMES_ORDINAL 6
