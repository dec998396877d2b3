#include "tests/support/TempDir.h"

#include <windows.h>
#include <shlwapi.h>
#include <cwchar>

TempDir::TempDir(const wchar_t* tag) {
    wchar_t base[MAX_PATH] = L"";
    GetTempPathW(MAX_PATH, base);
    static unsigned counter = 0;
    wchar_t name[MAX_PATH];
    for (;;) {
        swprintf(name, MAX_PATH, L"%lstelvarion-%ls-%lx-%u", base, tag, GetCurrentProcessId(), ++counter);
        if (CreateDirectoryW(name, nullptr)) break;
        if (GetLastError() != ERROR_ALREADY_EXISTS) break;
    }
    m_path = name;
}

TempDir::~TempDir() { RemoveTree(m_path); }

bool WriteBinaryFile(const std::wstring& path, const void* data, size_t size) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    BOOL ok = WriteFile(file, data, static_cast<DWORD>(size), &written, nullptr);
    CloseHandle(file);
    return ok && written == size;
}

bool WriteTextFile(const std::wstring& path, const std::string& text) {
    return WriteBinaryFile(path, text.data(), text.size());
}

std::string ReadFileBytes(const std::wstring& path) {
    std::string bytes;
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return bytes;
    char buffer[4096];
    DWORD got = 0;
    while (ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got) bytes.append(buffer, got);
    CloseHandle(file);
    return bytes;
}

bool FileExists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

bool CopyTree(const std::wstring& from, const std::wstring& to) {
    CreateDirectoryW(to.c_str(), nullptr);
    WIN32_FIND_DATAW entry;
    HANDLE find = FindFirstFileW((from + L"\\*").c_str(), &entry);
    if (find == INVALID_HANDLE_VALUE) return false;
    bool ok = true;
    do {
        if (!wcscmp(entry.cFileName, L".") || !wcscmp(entry.cFileName, L"..")) continue;
        const std::wstring src = from + L"\\" + entry.cFileName, dst = to + L"\\" + entry.cFileName;
        if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            ok = CopyTree(src, dst) && ok;
        else
            ok = CopyFileW(src.c_str(), dst.c_str(), FALSE) && ok;
    } while (FindNextFileW(find, &entry));
    FindClose(find);
    return ok;
}

bool RemoveTree(const std::wstring& path) {
    WIN32_FIND_DATAW entry;
    HANDLE find = FindFirstFileW((path + L"\\*").c_str(), &entry);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            if (!wcscmp(entry.cFileName, L".") || !wcscmp(entry.cFileName, L"..")) continue;
            const std::wstring child = path + L"\\" + entry.cFileName;
            if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                RemoveTree(child);
            } else {
                SetFileAttributesW(child.c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileW(child.c_str());
            }
        } while (FindNextFileW(find, &entry));
        FindClose(find);
    }
    return RemoveDirectoryW(path.c_str()) != 0;
}
