#include <vector>

#include <gtest/gtest.h>

#include "platform/shell_open.h"

namespace tavrix::platform {
namespace {

TEST(ShellOpenTest, ReplacedHandlerSeesTheRequest)
{
    std::vector<ShellRequest> seen;
    SetShellOpenHandler([&seen](const ShellRequest& request) {
        seen.push_back(request);
        return false;
    });
    EXPECT_FALSE(ShellOpen(ShellRequest{"/opt/kb/sentrel", "", ShowMode::Hidden}));
    SetShellOpenHandler({});
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].target, "/opt/kb/sentrel");
    EXPECT_EQ(seen[0].show, ShowMode::Hidden);
}

TEST(ShellOpenTest, MissingProgramIsNotStarted)
{
    EXPECT_FALSE(ShellOpen(ShellRequest{"/nonexistent/tavrix-companion", "", ShowMode::Hidden}));
}

}  // namespace
}  // namespace tavrix::platform
