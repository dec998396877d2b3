#include "framework/Text.h"

#include <cwchar>
#include <stdio.h>

bool FormatTextV(wchar_t* buffer, size_t units, const wchar_t* format, va_list args) {
    if (!buffer || units == 0) return false;
    // The runtime's bounded formatter neither terminates nor reports the length on overflow,
    // so leave room for the terminator ourselves.
    const int written = _vsnwprintf(buffer, units - 1, format, args);
    buffer[units - 1] = L'\0';
    if (written < 0) return false;
    buffer[written] = L'\0';
    return true;
}

bool FormatText(wchar_t* buffer, size_t units, const wchar_t* format, ...) {
    va_list args;
    va_start(args, format);
    const bool ok = FormatTextV(buffer, units, format, args);
    va_end(args);
    return ok;
}

bool CopyText(wchar_t* buffer, size_t units, const wchar_t* text) {
    if (!buffer || units == 0) return false;
    buffer[0] = L'\0';
    return AppendText(buffer, units, text);
}

bool AppendText(wchar_t* buffer, size_t units, const wchar_t* text) {
    if (!buffer || units == 0) return false;
    size_t used = wcsnlen(buffer, units - 1);
    if (!text) return true;
    for (; *text; ++text) {
        if (used + 1 >= units) {
            buffer[used] = L'\0';
            return false;
        }
        buffer[used++] = *text;
    }
    buffer[used] = L'\0';
    return true;
}
