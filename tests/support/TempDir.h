// A folder of its own for one test, removed with everything in it afterwards.
#pragma once
#include <string>

class TempDir {
public:
    explicit TempDir(const wchar_t* tag = L"t");
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::wstring& Path() const { return m_path; }
    // Path of a file or folder inside, joined with a backslash.
    std::wstring operator/(const std::wstring& name) const { return m_path + L"\\" + name; }

private:
    std::wstring m_path;
};

// Small file helpers for fixtures.
bool WriteTextFile(const std::wstring& path, const std::string& utf8OrAnsi);
bool WriteBinaryFile(const std::wstring& path, const void* data, size_t size);
std::string ReadFileBytes(const std::wstring& path);
bool FileExists(const std::wstring& path);
bool CopyTree(const std::wstring& from, const std::wstring& to);
bool RemoveTree(const std::wstring& path);
