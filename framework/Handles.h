// Owners for GDI and USER handles: each releases its handle exactly once, when replaced or
// destroyed. A handle that is only referred to (a shared system icon, say) is never put in one.
#pragma once
#include <windows.h>

template <class H, BOOL (WINAPI* Release)(H)>
class UniqueHandle {
public:
    UniqueHandle() = default;
    explicit UniqueHandle(H handle) : m_handle(handle) {}
    ~UniqueHandle() { Reset(); }
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    UniqueHandle(UniqueHandle&& other) noexcept : m_handle(other.Detach()) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        if (this != &other) Reset(other.Detach());
        return *this;
    }

    H Get() const { return m_handle; }
    explicit operator bool() const { return m_handle != nullptr; }
    // Takes ownership of `handle`, releasing the one held before (unless it is the same).
    void Reset(H handle = nullptr) {
        if (m_handle && m_handle != handle) Release(m_handle);
        m_handle = handle;
    }
    H Detach() {
        H handle = m_handle;
        m_handle = nullptr;
        return handle;
    }

private:
    H m_handle = nullptr;
};

inline BOOL WINAPI DeleteGdiObject(HGDIOBJ object) { return DeleteObject(object); }
inline BOOL WINAPI DeleteBrush(HBRUSH brush) { return DeleteObject(brush); }
inline BOOL WINAPI DeleteBitmap(HBITMAP bitmap) { return DeleteObject(bitmap); }
inline BOOL WINAPI DeleteRegion(HRGN region) { return DeleteObject(region); }

using UniqueBrush = UniqueHandle<HBRUSH, DeleteBrush>;
using UniqueBitmap = UniqueHandle<HBITMAP, DeleteBitmap>;
using UniqueRegion = UniqueHandle<HRGN, DeleteRegion>;
using UniqueIcon = UniqueHandle<HICON, DestroyIcon>;
using UniqueMenu = UniqueHandle<HMENU, DestroyMenu>;
using UniqueMemoryDC = UniqueHandle<HDC, DeleteDC>;

// Selects an object into a device context for one scope and puts the previous one back.
class SelectedObject {
public:
    SelectedObject(HDC dc, HGDIOBJ object) : m_dc(dc), m_previous(SelectObject(dc, object)) {}
    ~SelectedObject() {
        if (m_previous) SelectObject(m_dc, m_previous);
    }
    SelectedObject(const SelectedObject&) = delete;
    SelectedObject& operator=(const SelectedObject&) = delete;

private:
    HDC m_dc;
    HGDIOBJ m_previous;
};
