// A stand-in for the sibling program that takes some adapters over. It only notes how it was
// started: one line per start, its whole command line in UTF-8, appended to the file named by
// TELVARION_SIBLING_LOG, or else to a file beside itself named after it with ".log" added.
// It shows no window and ends at once.
#include <windows.h>

#include <string>

namespace {

std::wstring LogPath() {
    wchar_t path[MAX_PATH + 8] = L"";
    const DWORD length = GetEnvironmentVariableW(L"TELVARION_SIBLING_LOG", path, MAX_PATH);
    if (length > 0 && length < MAX_PATH) return path;
    const DWORD got = GetModuleFileNameW(nullptr, path, MAX_PATH);
    if (got == 0 || got >= MAX_PATH) return std::wstring();
    return std::wstring(path) + L".log";
}

std::string Utf8(const std::wstring& text) {
    if (text.empty()) return std::string();
    const int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    if (size <= 0) return std::string();
    std::string out(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), &out[0], size, nullptr, nullptr);
    return out;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    const std::wstring log = LogPath();
    if (log.empty()) return 1;
    HANDLE file = CreateFileW(log.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return 1;
    const std::string line = Utf8(GetCommandLineW()) + "\r\n";
    DWORD written = 0;
    const BOOL ok = WriteFile(file, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
    CloseHandle(file);
    return ok && written == line.size() ? 0 : 1;
}
