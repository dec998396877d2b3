#include "simulator/Script.h"

#include "simulator/Commands.h"

#include <deque>

namespace sim {
namespace {

std::deque<std::wstring> g_pending;

}

void StartScript(HWND window, const std::wstring& text) {
    StopScript(window);
    for (std::wstring& command : SplitCommands(text)) g_pending.push_back(std::move(command));
    if (!g_pending.empty()) SetTimer(window, kScriptTimer, 0, nullptr);
}

void OnScriptTimer(HWND window) {
    KillTimer(window, kScriptTimer);
    while (!g_pending.empty()) {
        const std::wstring command = std::move(g_pending.front());
        g_pending.pop_front();
        DWORD waitMs = 0;
        if (RunCommand(command, true, &waitMs) == Outcome::Wait) {
            if (!g_pending.empty()) SetTimer(window, kScriptTimer, waitMs, nullptr);
            return;
        }
    }
}

void StopScript(HWND window) {
    g_pending.clear();
    if (window) KillTimer(window, kScriptTimer);
}

}
