// Loads the device library from the program directory by its full path.
#pragma once
#include <windows.h>

// Writes the path to the debugger output and loads it; null when it cannot be loaded.
HMODULE LoadDeviceLibrary();
