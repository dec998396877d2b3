// Starts a program as a debuggee and collects its debugger output, for process-level tests.
// A thread of its own creates the process and runs the debug loop (the platform binds both to
// one thread), so the test's thread stays free to send messages to the child.
#pragma once
#include <windows.h>

#include <condition_variable>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

class Debuggee {
public:
    Debuggee() = default;
    ~Debuggee();  // ends the child if it still runs, and waits for the debug thread
    Debuggee(const Debuggee&) = delete;
    Debuggee& operator=(const Debuggee&) = delete;

    // `commandLine` is the whole line, program path included. `environment` entries replace or
    // add variables of this process's environment for the child.
    bool Start(const std::wstring& program, const std::wstring& commandLine, const std::wstring& directory,
               const std::map<std::wstring, std::wstring>& environment = {});

    // Waits for a debug line containing `text` (from line index `from` on); returns its index or -1.
    int WaitForLine(const std::string& text, DWORD timeoutMs, size_t from = 0);
    bool WaitForExit(DWORD timeoutMs);
    // Ends the child (only the child this object started).
    void Kill();

    std::vector<std::string> Lines() const;
    bool HasLine(const std::string& text) const { return IndexOf(text) >= 0; }
    int IndexOf(const std::string& text, size_t from = 0) const;
    bool Exited() const;
    DWORD ExitCode() const;
    DWORD ProcessId() const { return m_processId; }
    // Every line, for a failure message.
    std::string Transcript() const;

private:
    void Loop(std::wstring program, std::wstring commandLine, std::wstring directory, std::wstring envBlock);
    bool WaitFor(const std::function<bool()>& ready, DWORD timeoutMs) const;

    std::thread m_thread;
    mutable std::mutex m_mutex;
    mutable std::condition_variable m_changed;
    std::vector<std::string> m_lines;
    bool m_started = false, m_startFailed = false, m_exited = false;
    DWORD m_exitCode = 0, m_processId = 0;
    HANDLE m_process = nullptr;
};

// The top-level windows of a process with the given class name (empty: any class).
std::vector<HWND> WindowsOfProcess(DWORD processId, const wchar_t* className = nullptr);
