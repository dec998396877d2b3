// The process entry and the process-wide objects.
#include <windows.h>
#include "app/TelvarionApp.h"
#include "diag/DebugTrace.h"
#include "i18n/LanguageManager.h"

// Constructed in exactly this order before anything else runs, so that start-up's trace lines
// already follow the switch and every window can be translated.
CTelvarionApp theApp;
CDebugTrace theTrace;
CLanguageManager theLanguageManager;

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    return theApp.Run(instance);
}
