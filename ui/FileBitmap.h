// Loads a bitmap file and owns the result.
#pragma once
#include "framework/Handles.h"

class CFileBitmap {
public:
    // `name` is a path, or with `relativeToProgram` a name with its own leading backslash that
    // is appended to the program directory. Returns whether a bitmap was loaded.
    bool Load(const wchar_t* name, bool relativeToProgram);
    HBITMAP Get() const { return m_bitmap.Get(); }

private:
    UniqueBitmap m_bitmap;
};
