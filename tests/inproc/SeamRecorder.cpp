#include "tests/inproc/SeamRecorder.h"

namespace {
SeamRecorder* g_current = nullptr;

BOOL WINAPI RecordTray(DWORD message, PNOTIFYICONDATAW data) {
    SeamRecorder* r = g_current;
    r->tray.push_back({message, data->cbSize, data->hWnd, data->uID, data->uFlags, data->uCallbackMessage,
                       data->hIcon, std::wstring(data->szTip, wcsnlen(data->szTip, 128))});
    return r->trayResult;
}

HINSTANCE WINAPI RecordShell(HWND owner, LPCWSTR verb, LPCWSTR file, LPCWSTR parameters, LPCWSTR directory, INT show) {
    auto text = [](LPCWSTR s) { return s ? std::wstring(s) : std::wstring(L"(null)"); };
    g_current->shell.push_back({owner, text(verb), text(file), text(parameters), text(directory), show});
    return reinterpret_cast<HINSTANCE>(42);
}

int WINAPI RecordBox(HWND, LPCWSTR text, LPCWSTR caption, UINT type) {
    g_current->boxes.push_back({text ? text : L"", caption ? caption : L"", type});
    return IDOK;
}

void WINAPI RecordDebug(LPCWSTR text) { g_current->debug.push_back(text ? text : L""); }

LANGID WINAPI AnswerLanguage() { return g_current->systemLanguage; }
}  // namespace

SeamRecorder::SeamRecorder() : m_saved(Platform()) {
    g_current = this;
    Platform() = {&RecordTray, &RecordShell, &RecordBox, &RecordDebug, &AnswerLanguage};
}

SeamRecorder::~SeamRecorder() {
    Platform() = m_saved;
    g_current = nullptr;
}

SeamRecorder* SeamRecorder::Current() { return g_current; }

size_t SeamRecorder::CountTray(DWORD message) const {
    size_t n = 0;
    for (const auto& call : tray) n += call.message == message;
    return n;
}

bool SeamRecorder::HasDebugLine(const std::wstring& fragment) const {
    for (const auto& line : debug)
        if (line.find(fragment) != std::wstring::npos) return true;
    return false;
}

void SeamRecorder::Clear() {
    tray.clear();
    shell.clear();
    boxes.clear();
    debug.clear();
}
