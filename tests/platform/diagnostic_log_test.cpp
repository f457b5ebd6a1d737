#include <cstdlib>

#include <gtest/gtest.h>

#include "platform/diagnostic_log.h"

namespace tavrix::platform {
namespace {

// The log decides once per process: each case runs in a fresh child.
class DiagnosticLogTest : public ::testing::Test {
protected:
    void SetUp() override { GTEST_FLAG_SET(death_test_style, "threadsafe"); }
};

void LogWith(const char* debug)
{
    if (debug != nullptr) {
        ::setenv("TAVRIX_DEBUG", debug, 1);
    } else {
        ::unsetenv("TAVRIX_DEBUG");
    }
    LogDiagnostic("keyboard found: %d", 1);
    std::_Exit(0);
}

TEST_F(DiagnosticLogTest, WritesShortLinesToStandardErrorOnlyWhenAskedFor)
{
    EXPECT_EXIT(LogWith("1"), ::testing::ExitedWithCode(0), "^tavrix: +[0-9]+\\.[0-9]{3} keyboard found: 1\n$");
    EXPECT_EXIT(LogWith(nullptr), ::testing::ExitedWithCode(0), "^$");
    EXPECT_EXIT(LogWith("0"), ::testing::ExitedWithCode(0), "^$");
    EXPECT_EXIT(LogWith("yes"), ::testing::ExitedWithCode(0), "^$");
}

} // namespace
} // namespace tavrix::platform
