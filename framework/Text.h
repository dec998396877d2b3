// Bounded text into fixed buffers: every result is terminated, nothing is written past the
// buffer, and the caller learns whether the whole text fitted.
#pragma once
#include <cstdarg>
#include <cstddef>

// printf-style with the platform's wide conventions (%s takes a wide string). Returns false
// when the text was cut or the format failed; the buffer then holds what fitted.
bool FormatText(wchar_t* buffer, size_t units, const wchar_t* format, ...);
bool FormatTextV(wchar_t* buffer, size_t units, const wchar_t* format, va_list args);

// Copies or appends `text`; returns false when it had to be cut.
bool CopyText(wchar_t* buffer, size_t units, const wchar_t* text);
bool AppendText(wchar_t* buffer, size_t units, const wchar_t* text);

template <size_t N>
bool CopyText(wchar_t (&buffer)[N], const wchar_t* text) { return CopyText(buffer, N, text); }
template <size_t N>
bool AppendText(wchar_t (&buffer)[N], const wchar_t* text) { return AppendText(buffer, N, text); }
