// The real program under Wine: starts, shows its panel, and ends on request with nothing left.
#include <doctest/doctest.h>
#include "tests/process/Deployment.h"

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
