// The tray's picture and tooltip for each combination of the three status flags.
#pragma once

struct StatusPresentation {
    const wchar_t* iconFile;    // in the Resource folder
    const wchar_t* tooltipKey;  // in section "Tooltip" of the language file
};

StatusPresentation PresentStatus(bool skypeOnline, bool devicePresent, bool offHook);
