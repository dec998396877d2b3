// The "*exit*" mode: ends a running instance and deletes the copies of the installation's
// Custom.ini that the platform's file virtualisation keeps under LOCALAPPDATA\VirtualStore.
#pragma once

void RunCleanupMode(const wchar_t* windowTitle);
