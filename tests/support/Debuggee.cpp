#include "tests/support/Debuggee.h"

#include <cwchar>

namespace {

std::wstring BuildEnvironment(const std::map<std::wstring, std::wstring>& overrides) {
    // Variable names compare without regard to case, so index by the upper-case name.
    std::map<std::wstring, std::wstring> vars;
    auto key = [](std::wstring name) {
        for (auto& c : name) c = towupper(c);
        return name;
    };
    if (wchar_t* block = GetEnvironmentStringsW()) {
        for (const wchar_t* p = block; *p; p += wcslen(p) + 1) {
            const wchar_t* eq = wcschr(p + 1, L'=');  // names may start with '=' (drive entries)
            if (!eq) continue;
            vars[key(std::wstring(p, eq))] = p;
        }
        FreeEnvironmentStringsW(block);
    }
    for (const auto& [name, value] : overrides) {
        if (value.empty())
            vars.erase(key(name));
        else
            vars[key(name)] = name + L"=" + value;
    }
    std::wstring out;
    for (const auto& entry : vars) out += entry.second + L'\0';
    out += L'\0';
    return out;
}

std::string ReadDebugString(HANDLE process, const OUTPUT_DEBUG_STRING_INFO& info) {
    const size_t units = info.nDebugStringLength;
    if (!units || units > 65536) return {};
    if (info.fUnicode) {
        std::wstring text(units, L'\0');
        SIZE_T got = 0;
        ReadProcessMemory(process, info.lpDebugStringData, text.data(), units * 2, &got);
        text.resize(got / 2);
        std::string narrow;
        for (wchar_t c : text) narrow += c < 128 ? char(c) : '?';
        return narrow;
    }
    std::string text(units, '\0');
    SIZE_T got = 0;
    ReadProcessMemory(process, info.lpDebugStringData, text.data(), units, &got);
    text.resize(got);
    return text;
}

}  // namespace

Debuggee::~Debuggee() {
    Kill();
    if (m_thread.joinable()) m_thread.join();
}

bool Debuggee::Start(const std::wstring& program, const std::wstring& commandLine, const std::wstring& directory,
                     const std::map<std::wstring, std::wstring>& environment) {
    m_thread = std::thread(&Debuggee::Loop, this, program, commandLine, directory, BuildEnvironment(environment));
    WaitFor([this] { return m_started || m_startFailed; }, 30000);
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_started;
}

void Debuggee::Loop(std::wstring program, std::wstring commandLine, std::wstring directory, std::wstring envBlock) {
    STARTUPINFOW si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi = {};
    std::vector<wchar_t> line(commandLine.begin(), commandLine.end());
    line.push_back(L'\0');
    if (!CreateProcessW(program.c_str(), line.data(), nullptr, nullptr, FALSE,
                        DEBUG_ONLY_THIS_PROCESS | CREATE_UNICODE_ENVIRONMENT, envBlock.data(),
                        directory.empty() ? nullptr : directory.c_str(), &si, &pi)) {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_startFailed = true;
        m_changed.notify_all();
        return;
    }
    CloseHandle(pi.hThread);
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_process = pi.hProcess;
        m_processId = pi.dwProcessId;
        m_started = true;
        m_changed.notify_all();
    }
    for (;;) {
        DEBUG_EVENT event;
        if (!WaitForDebugEvent(&event, 500)) {
            if (WaitForSingleObject(pi.hProcess, 0) == WAIT_OBJECT_0) break;
            continue;
        }
        DWORD status = DBG_CONTINUE;
        switch (event.dwDebugEventCode) {
        case CREATE_PROCESS_DEBUG_EVENT:
            if (event.u.CreateProcessInfo.hFile) CloseHandle(event.u.CreateProcessInfo.hFile);
            break;
        case LOAD_DLL_DEBUG_EVENT:
            if (event.u.LoadDll.hFile) CloseHandle(event.u.LoadDll.hFile);
            break;
        case OUTPUT_DEBUG_STRING_EVENT: {
            std::string text = ReadDebugString(pi.hProcess, event.u.DebugString);
            while (!text.empty() && (text.back() == '\0' || text.back() == '\n' || text.back() == '\r')) text.pop_back();
            std::lock_guard<std::mutex> lock(m_mutex);
            m_lines.push_back(text);
            m_changed.notify_all();
            break;
        }
        case EXCEPTION_DEBUG_EVENT:
            // The loader's breakpoint is ours to swallow; anything else is the child's own.
            if (event.u.Exception.ExceptionRecord.ExceptionCode != EXCEPTION_BREAKPOINT)
                status = DBG_EXCEPTION_NOT_HANDLED;
            break;
        default:
            break;
        }
        const bool last = event.dwDebugEventCode == EXIT_PROCESS_DEBUG_EVENT;
        if (last) {
            std::lock_guard<std::mutex> lock(m_mutex);
            m_exitCode = event.u.ExitProcess.dwExitCode;
        }
        ContinueDebugEvent(event.dwProcessId, event.dwThreadId, status);
        if (last) break;
    }
    WaitForSingleObject(pi.hProcess, 5000);
    std::lock_guard<std::mutex> lock(m_mutex);
    m_exited = true;
    m_changed.notify_all();
}

bool Debuggee::WaitFor(const std::function<bool()>& ready, DWORD timeoutMs) const {
    std::unique_lock<std::mutex> lock(m_mutex);
    return m_changed.wait_for(lock, std::chrono::milliseconds(timeoutMs), ready);
}

int Debuggee::IndexOf(const std::string& text, size_t from) const {
    std::lock_guard<std::mutex> lock(m_mutex);
    for (size_t i = from; i < m_lines.size(); ++i)
        if (m_lines[i].find(text) != std::string::npos) return static_cast<int>(i);
    return -1;
}

int Debuggee::WaitForLine(const std::string& text, DWORD timeoutMs, size_t from) {
    int found = -1;
    WaitFor([&] {
        for (size_t i = from; i < m_lines.size(); ++i)
            if (m_lines[i].find(text) != std::string::npos) { found = static_cast<int>(i); return true; }
        return m_exited;
    }, timeoutMs);
    return found;
}

bool Debuggee::WaitForExit(DWORD timeoutMs) {
    return WaitFor([this] { return m_exited || m_startFailed; }, timeoutMs) && m_exited;
}

void Debuggee::Kill() {
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (!m_started || m_exited) return;
        TerminateProcess(m_process, 1);
    }
    WaitForExit(15000);
}

std::vector<std::string> Debuggee::Lines() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_lines;
}

bool Debuggee::Exited() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_exited;
}

DWORD Debuggee::ExitCode() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_exitCode;
}

std::string Debuggee::Transcript() const {
    std::string all;
    for (const auto& line : Lines()) all += "  | " + line + "\n";
    return all;
}

namespace {
struct WindowSearch {
    DWORD pid;
    const wchar_t* cls;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectWindow(HWND hwnd, LPARAM lp) {
    auto* s = reinterpret_cast<WindowSearch*>(lp);
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    if (pid != s->pid) return TRUE;
    if (s->cls && *s->cls) {
        wchar_t cls[256] = L"";
        GetClassNameW(hwnd, cls, 256);
        if (wcscmp(cls, s->cls) != 0) return TRUE;
    }
    s->found.push_back(hwnd);
    return TRUE;
}
}  // namespace

std::vector<HWND> WindowsOfProcess(DWORD processId, const wchar_t* className) {
    WindowSearch search{processId, className, {}};
    EnumWindows(&CollectWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}
