// The real program under Wine: starts, shows its panel, and ends on request with nothing left.
#include <doctest/doctest.h>
#include "tests/process/Deployment.h"

#include <cstdint>
#include <cstdlib>
#include <string>

TEST_CASE("the program starts from its deployment tree, shows its panel and ends on WM_QUIT") {
    Deployment tree;
    REQUIRE(tree.Ok());
    auto child = tree.Start();
    REQUIRE(child);
    HWND panel = FindPanel(child->ProcessId(), 20000);
    REQUIRE_MESSAGE(panel, child->Transcript());

    PostMessageW(panel, WM_QUIT, 0, 0);
    CHECK_MESSAGE(child->WaitForExit(20000), child->Transcript());
    CHECK(child->ExitCode() == 0);
}

TEST_CASE("the deployable tree holds a 32-bit Windows program and device library") {
    const wchar_t* dist = _wgetenv(L"TELVARION_DIST");
    REQUIRE(dist);
    struct Case { const wchar_t* file; WORD subsystem; };
    for (const Case& c : {Case{L"\\Telvarion.exe", IMAGE_SUBSYSTEM_WINDOWS_GUI}, Case{L"\\Telvarion.dll", 0}}) {
        const std::string bytes = ReadFileBytes(std::wstring(dist) + c.file);
        REQUIRE(bytes.size() > 0x200);
        CHECK(bytes.compare(0, 2, "MZ") == 0);
        const uint32_t pe = *reinterpret_cast<const uint32_t*>(bytes.data() + 0x3C);
        REQUIRE(pe + 0x60 < bytes.size());
        CHECK(bytes.compare(pe, 4, std::string("PE\0\0", 4)) == 0);
        const auto* header = reinterpret_cast<const IMAGE_FILE_HEADER*>(bytes.data() + pe + 4);
        CHECK(header->Machine == IMAGE_FILE_MACHINE_I386);
        const auto* optional = reinterpret_cast<const IMAGE_OPTIONAL_HEADER32*>(header + 1);
        CHECK(optional->Magic == IMAGE_NT_OPTIONAL_HDR32_MAGIC);
        if (c.subsystem) CHECK(optional->Subsystem == c.subsystem);
    }
}
