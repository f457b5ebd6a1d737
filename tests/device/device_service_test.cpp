#include <cstdlib>
#include <filesystem>

#include <gtest/gtest.h>

#include "device/device_service.h"

namespace tavrix::device {
namespace {

// Binding happens in a child process: a failure must end the process with exit code 0.
class DeviceServiceBindingTest : public ::testing::Test {
protected:
    void SetUp() override { GTEST_FLAG_SET(death_test_style, "threadsafe"); }
};

constexpr int kBoundExitCode = 7;

void BindAndReport(const std::string& folder, const char* backend)
{
    ::setenv("DEXLINK_BACKEND", backend, 1);
    BindDeviceServiceOrExit(folder);
    std::_Exit(kBoundExitCode);
}

TEST_F(DeviceServiceBindingTest, BindsTheLibraryBesideTheProgram)
{
    EXPECT_EXIT(BindAndReport(TAVRIX_BIN_DIR, "sim"), ::testing::ExitedWithCode(kBoundExitCode), "");
}

TEST_F(DeviceServiceBindingTest, MissingLibraryEndsTheProcessQuietly)
{
    const auto empty = std::filesystem::temp_directory_path() / "tavrix-no-library";
    std::filesystem::create_directories(empty);
    EXPECT_EXIT(BindAndReport(empty.string(), "sim"), ::testing::ExitedWithCode(0), "^$");
}

TEST_F(DeviceServiceBindingTest, MissingExportEndsTheProcessQuietly)
{
    EXPECT_EXIT(BindAndReport(INCOMPLETE_LIBRARY_DIR, "sim"), ::testing::ExitedWithCode(0), "^$");
}

TEST_F(DeviceServiceBindingTest, FailingInitEndsTheProcessQuietly)
{
    EXPECT_EXIT(BindAndReport(TAVRIX_BIN_DIR, "no-such-backend"), ::testing::ExitedWithCode(0), "^$");
}

TEST(DeviceServiceTest, ReportsWhyBindingFailed)
{
    DeviceService service;
    EXPECT_EQ(BindDeviceService("/nonexistent", service), BindResult::MissingLibrary);
    EXPECT_EQ(BindDeviceService(INCOMPLETE_LIBRARY_DIR, service), BindResult::MissingExport);
    EXPECT_EQ(service.Init, nullptr) << "a failed binding leaves the service untouched";
}

} // namespace
} // namespace tavrix::device
