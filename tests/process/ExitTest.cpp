// The real program's ways out: the tray menu's Exit, and an adapter that belongs to the sibling
// program, which is started before the program ends. A stand-in sibling beside the program
// notes each start in a log file.
#include <doctest/doctest.h>
#include "tests/process/Deployment.h"

#include <string>
#include <vector>

namespace {

const DWORD kTimeout = 20000;

std::string Narrow(const std::wstring& w) {
    std::string s;
    for (wchar_t c : w) s += c < 128 ? static_cast<char>(c) : '?';
    return s;
}

std::wstring TestExeDir() {
    wchar_t path[MAX_PATH] = L"";
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring dir = path;
    return dir.substr(0, dir.find_last_of(L'\\'));
}

// The deployed Custom.ini names the sibling "\Kelvorshunt.exe", joined to the program directory.
struct SiblingTree {
    Deployment tree;
    std::wstring log = tree.AppData() + L"\\sibling.log";
    bool installed = CopyFileW((TestExeDir() + L"\\telvarion_sibling.exe").c_str(),
                               (tree.App() + L"\\Kelvorshunt.exe").c_str(), FALSE) != 0;

    std::unique_ptr<Debuggee> Start() const { return tree.Start(L"", {{L"TELVARION_SIBLING_LOG", log}}); }

    // The sibling's command lines, one a start.
    std::vector<std::string> Starts() const {
        std::vector<std::string> lines;
        const std::string text = ReadFileBytes(log);
        for (size_t at = 0; at < text.size();) {
            const size_t end = text.find("\r\n", at);
            lines.push_back(text.substr(at, end - at));
            at = end == std::string::npos ? text.size() : end + 2;
        }
        return lines;
    }
};

// The positions of `texts` in the debugger output, each searched after the one before; -1 for
// one that does not follow.
std::vector<int> InOrder(const Debuggee& child, const std::vector<std::string>& texts) {
    std::vector<int> at;
    int from = 0;
    for (const std::string& text : texts) {
        const int found = from >= 0 ? child.IndexOf(text, static_cast<size_t>(from)) : -1;
        at.push_back(found);
        from = found >= 0 ? found + 1 : -1;
    }
    return at;
}

bool AllFound(const std::vector<int>& at) {
    for (int i : at)
        if (i < 0) return false;
    return true;
}

}  // namespace

TEST_CASE("exit: the tray menu's Exit stops the library, then ends the program with code 0") {
    SiblingTree s;
    REQUIRE(s.tree.Ok());
    REQUIRE(s.installed);
    auto child = s.Start();
    REQUIRE(child);
    const HWND panel = FindPanel(child->ProcessId(), kTimeout);
    REQUIRE_MESSAGE(panel, child->Transcript());
    // The library has its window once it has been told the language file.
    REQUIRE(child->WaitForLine("sim: language", kTimeout) >= 0);

    PostMessageW(panel, 2028 /* WM_TRAYICON_COMMAND */, 9510 /* TRAYCMD_MENU */, 32771 /* Exit */);
    REQUIRE_MESSAGE(child->WaitForExit(kTimeout), child->Transcript());
    CHECK(child->ExitCode() == 0);
    CHECK_MESSAGE(AllFound(InOrder(*child, {"Uninstall Telvarion.dll", "sim: UninstallTelvarion", "::PostQuitMessage"})),
                  child->Transcript());
    CHECK_FALSE(child->HasLine("Run Kelvorshunt.exe"));
    CHECK(s.Starts().empty());
}

TEST_CASE("exit: an adapter of the sibling program starts the sibling with Q7R and ends the program") {
    SiblingTree s;
    REQUIRE(s.tree.Ok());
    REQUIRE(s.installed);
    auto child = s.Start();
    REQUIRE(child);
    REQUIRE_MESSAGE(FindPanel(child->ProcessId(), kTimeout), child->Transcript());
    // The library has its window once it has been told the language file.
    REQUIRE(child->WaitForLine("sim: language", kTimeout) >= 0);

    REQUIRE(SimulatorCommand(child->ProcessId(), L"arrive 0x0540"));
    REQUIRE_MESSAGE(child->WaitForExit(kTimeout), child->Transcript());
    CHECK(child->ExitCode() == 0);
    CHECK_MESSAGE(AllFound(InOrder(*child, {"Uninstall Telvarion.dll", "sim: UninstallTelvarion", "\\Kelvorshunt.exe",
                                            "Run Kelvorshunt.exe", "::PostQuitMessage"})),
                  child->Transcript());

    // The sibling runs on its own; give it the time to note its start.
    const DWORD start = GetTickCount();
    while (s.Starts().empty() && GetTickCount() - start < kTimeout) Sleep(50);
    const std::vector<std::string> starts = s.Starts();
    REQUIRE(starts.size() == 1);
    CAPTURE(starts[0]);
    CHECK(starts[0].find(Narrow(s.tree.App() + L"\\Kelvorshunt.exe")) != std::string::npos);
    CHECK(starts[0].size() >= 4);
    CHECK(starts[0].compare(starts[0].size() - 4, 4, " Q7R") == 0);
}
