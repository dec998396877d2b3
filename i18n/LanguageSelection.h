// Which language file the program uses: the user's saved choice when LangType.ini maps it to
// a file, otherwise a default from the system language.
#pragma once
#include <windows.h>

// The full path of the current language file; empty until the start-up selection.
extern wchar_t g_szLanguagePath[260];

// The default file for a system LANGID, keyed by its low 8 bits.
const wchar_t* DefaultLanguageFile(LANGID language);

// Chooses the language at start and makes it current.
void SelectStartupLanguage();

// A language picked from the tray menu (command id 1..99): saves the choice and, when
// LangType.ini names a file for it, makes that file current. Returns whether it switched; the
// caller then refreshes the tooltip and tells the device library.
bool OnLanguageCommand(int commandId);
