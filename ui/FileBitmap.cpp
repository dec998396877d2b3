#include "ui/FileBitmap.h"
#include "app/Configuration.h"
#include "framework/Text.h"

bool CFileBitmap::Load(const wchar_t* name, bool relativeToProgram) {
    wchar_t path[kTextUnits];
    const wchar_t* file = name;
    if (relativeToProgram) {
        // A cut path could name another file: load nothing instead.
        if (!FormatText(path, kTextUnits, L"%s%s", GetModuleDir().text, name)) {
            m_bitmap.Reset();
            return false;
        }
        file = path;
    }
    m_bitmap.Reset(static_cast<HBITMAP>(LoadImageW(nullptr, file, IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE)));
    return static_cast<bool>(m_bitmap);
}
