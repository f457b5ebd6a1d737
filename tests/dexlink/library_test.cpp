#include <array>
#include <atomic>
#include <chrono>
#include <cstdlib>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "dexlink.h"
#include "library.h"
#include "sim/sim_backend.h"

namespace tavrix::dexlink {
namespace {

const DeviceSelector kCommand{DEX_MATCH_ALL,          DEX_VENDOR_ID,     DEX_PRODUCT_ID,
                              DEX_COMMAND_USAGE_PAGE, DEX_COMMAND_USAGE, 0};
const DeviceSelector kStatus{DEX_MATCH_ALL, DEX_VENDOR_ID, DEX_PRODUCT_ID, DEX_STATUS_USAGE_PAGE, DEX_STATUS_USAGE, 0};

// What the test callback saw, written on the library's notification thread.
std::atomic<int> g_dataNotifications{0};
std::atomic<int> g_lastCount{-1};

int CountingCallback(const DexNotification* notification)
{
    if (notification->kind == DEX_NOTIFY_DATA) {
        ++g_dataNotifications;
    } else {
        g_lastCount = static_cast<int>(notification->request->value);
    }
    return 1;
}

template <typename Predicate> bool Eventually(Predicate predicate)
{
    for (int i = 0; i < 1000 && !predicate(); ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return predicate();
}

class LibraryTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ::setenv("DEXLINK_BACKEND", "sim", 1);
        ::setenv("DEXLINK_SIM_STATE", "", 1);
        g_dataNotifications = 0;
        g_lastCount = -1;
        ASSERT_EQ(::Init(0), 1);
    }
    void TearDown() override { ::End(); }

    SimBackend& Sim() { return dynamic_cast<SimBackend&>(*Library::Instance().ActiveBackend()); }

    static int Write(const std::array<uint8_t, 64>& report, uint32_t checksum)
    {
        return ::RequestWriteOne(&kCommand, nullptr, 0, report.data(), 64, checksum, nullptr);
    }
};

TEST_F(LibraryTest, CallsWithAWrongChecksumAreRefused)
{
    std::array<uint8_t, 64> report{4, 0, 0, 0x0D};
    const uint32_t checksum = DexCallChecksum(&kCommand, nullptr, 0, report.data(), report.size());

    EXPECT_EQ(Write(report, checksum + 1), 0);
    EXPECT_TRUE(Sim().CommandRequests().empty());
    EXPECT_EQ(::RequestGetDeviceCount(&kCommand, nullptr, 0, 12345, nullptr), 0);

    EXPECT_EQ(Write(report, checksum), 1);
    EXPECT_EQ(Sim().CommandRequests().size(), 1u);
    EXPECT_EQ(
        ::RequestGetDeviceCount(&kCommand, nullptr, 0, DexCallChecksum(&kCommand, nullptr, 0, nullptr, 0), nullptr), 1);
}

TEST_F(LibraryTest, ChecksumCoversEveryByteInOrder)
{
    const std::array<uint8_t, 2> ab{1, 2};
    const std::array<uint8_t, 2> ba{2, 1};
    const uint32_t base = DexCallChecksum(&kCommand, nullptr, 0, nullptr, 0);
    EXPECT_EQ(DexCallChecksum(&kCommand, nullptr, 0, ab.data(), 2),
              base + DEX_CHECKSUM_WEIGHTS[1] + DEX_CHECKSUM_WEIGHTS[2]);
    EXPECT_EQ(DexCallChecksum(&kCommand, nullptr, 0, ab.data(), 2),
              DexCallChecksum(&kCommand, nullptr, 0, ba.data(), 2));
    EXPECT_NE(DexCallChecksum(&kCommand, nullptr, DEX_TAG_CTRL, nullptr, 0), base);
    EXPECT_NE(DexCallChecksum(&kStatus, nullptr, 0, nullptr, 0), base);
}

TEST_F(LibraryTest, RegistrationsHearRepliesAndCountChangesUntilDeleted)
{
    DexHandle handle = 0;
    const uint32_t checksum = DexCallChecksum(&kCommand, &CountingCallback, DEX_TAG_CTRL, nullptr, 0);
    ASSERT_EQ(::RequestAsyncRead(&kCommand, &CountingCallback, DEX_TAG_CTRL, checksum, &handle), 1);
    EXPECT_NE(handle, 0u);

    std::array<uint8_t, 64> report{4, 0, 0, 0x0D};
    ASSERT_EQ(Write(report, DexCallChecksum(&kCommand, nullptr, 0, report.data(), 64)), 1);
    EXPECT_TRUE(Eventually([] { return g_dataNotifications == 1; }));
    Sim().Unplug();
    EXPECT_TRUE(Eventually([] { return g_lastCount == 0; }));
    Sim().Replug();
    EXPECT_TRUE(Eventually([] { return g_lastCount == 1; }));

    EXPECT_EQ(::DeleteRequestFromHandle(&handle), 1);
    EXPECT_EQ(handle, 0u);
    Sim().Unplug();
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_EQ(g_lastCount, 1);
}

TEST_F(LibraryTest, StatusWriteIsKeptForStatusGet)
{
    const std::array<uint8_t, 2> record{0x05, 0x03};
    DexHandle handle = 0;
    ASSERT_EQ(::RequestStatusWrite(&kStatus, nullptr, DEX_TAG_LED, record.data(), 2,
                                   DexCallChecksum(&kStatus, nullptr, DEX_TAG_LED, record.data(), 2), &handle),
              1);
    std::array<uint8_t, 8> out{};
    EXPECT_EQ(::RequestStatusGet(&kStatus, nullptr, 0, out.data(), out.size(),
                                 DexCallChecksum(&kStatus, nullptr, 0, nullptr, 0), nullptr),
              2);
    EXPECT_EQ(out[1], 0x03);
    EXPECT_EQ(::DeleteRequestFromUnitId(handle), 1);
    EXPECT_EQ(::DeleteRequestFromUnitId(handle), 0);
}

TEST_F(LibraryTest, WriteSplitsIntoReports)
{
    std::array<uint8_t, 100> data{};
    data[64 + 3] = 0x0D;
    EXPECT_EQ(::RequestWrite(&kCommand, nullptr, 0, data.data(), data.size(),
                             DexCallChecksum(&kCommand, nullptr, 0, data.data(), data.size()), nullptr),
              2);
    ASSERT_EQ(Sim().CommandRequests().size(), 2u);
    EXPECT_EQ(Sim().CommandRequests()[1][3], 0x0D);
}

TEST(LibraryInitTest, UnknownBackendFailsAndSecondInitIsHarmless)
{
    ::setenv("DEXLINK_BACKEND", "no-such-backend", 1);
    EXPECT_EQ(::Init(0), 0);
    ::setenv("DEXLINK_BACKEND", "sim", 1);
    EXPECT_EQ(::Init(0), 1);
    EXPECT_EQ(::Init(0), 1);
    EXPECT_EQ(::End(), 1);
    EXPECT_EQ(
        ::RequestGetDeviceCount(&kCommand, nullptr, 0, DexCallChecksum(&kCommand, nullptr, 0, nullptr, 0), nullptr), 0);
}

TEST_F(LibraryTest, CallsOverTheSizeLimitsAreRefusedWhole)
{
    const std::vector<uint8_t> big(100000, 0x0D);
    const auto checksum = [&big](const DeviceSelector& selector, uint32_t tag, uint32_t length) {
        return DexCallChecksum(&selector, nullptr, tag, big.data(), length);
    };
    DexHandle handle = 0;
    EXPECT_EQ(::RequestWriteOne(&kCommand, nullptr, 0, big.data(), 100000, checksum(kCommand, 0, 100000), nullptr), 0);
    EXPECT_EQ(::RequestWriteOne(&kCommand, nullptr, 0, big.data(), 65, checksum(kCommand, 0, 65), nullptr), 0);
    EXPECT_EQ(::RequestStatusWrite(&kStatus, nullptr, DEX_TAG_LED, big.data(), 5000,
                                   checksum(kStatus, DEX_TAG_LED, 5000), &handle),
              0);
    EXPECT_EQ(::RequestStatusSetFeature(&kStatus, nullptr, DEX_TAG_LED, big.data(), 65,
                                        checksum(kStatus, DEX_TAG_LED, 65), &handle),
              0);
    EXPECT_EQ(handle, 0u);
    EXPECT_TRUE(Sim().CommandRequests().empty());
    std::array<uint8_t, 8> out{};
    EXPECT_EQ(::RequestStatusGet(&kStatus, nullptr, 0, out.data(), out.size(),
                                 DexCallChecksum(&kStatus, nullptr, 0, nullptr, 0), nullptr),
              0)
        << "nothing kept as the status";
    EXPECT_EQ(::RequestWriteOne(&kCommand, nullptr, 0, big.data(), 64, checksum(kCommand, 0, 64), nullptr), 1);
}

// Every call that needs a started library, made before Init or after End: 0, nothing done.
void ExpectEveryCallRefused()
{
    const std::array<uint8_t, 64> report{4, 0, 0, 0x0D};
    const uint32_t plain = DexCallChecksum(&kCommand, nullptr, 0, nullptr, 0);
    const uint32_t withReport = DexCallChecksum(&kCommand, nullptr, 0, report.data(), 64);
    const uint32_t withStatus = DexCallChecksum(&kStatus, nullptr, DEX_TAG_LED, report.data(), 2);
    DexHandle handle = 0;
    std::array<uint8_t, 8> out{};
    const struct {
        const char* call;
        int result;
    } cases[] = {
        {"RequestGetDeviceCount", ::RequestGetDeviceCount(&kCommand, nullptr, 0, plain, nullptr)},
        {"RequestAsyncRead",
         ::RequestAsyncRead(&kCommand, &CountingCallback, DEX_TAG_CTRL,
                            DexCallChecksum(&kCommand, &CountingCallback, DEX_TAG_CTRL, nullptr, 0), &handle)},
        {"RequestWriteOne", ::RequestWriteOne(&kCommand, nullptr, 0, report.data(), 64, withReport, nullptr)},
        {"RequestWrite", ::RequestWrite(&kCommand, nullptr, 0, report.data(), 64, withReport, nullptr)},
        {"RequestStatusWrite",
         ::RequestStatusWrite(&kStatus, nullptr, DEX_TAG_LED, report.data(), 2, withStatus, &handle)},
        {"RequestStatusSetFeature",
         ::RequestStatusSetFeature(&kStatus, nullptr, DEX_TAG_LED, report.data(), 2, withStatus, &handle)},
        {"RequestStatusGet", ::RequestStatusGet(&kStatus, nullptr, 0, out.data(), out.size(),
                                                DexCallChecksum(&kStatus, nullptr, 0, nullptr, 0), nullptr)},
        {"DeleteRequestFromUnitId", ::DeleteRequestFromUnitId(1)},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.result, 0) << c.call;
    }
    EXPECT_EQ(handle, 0u);
}

TEST(LibraryLifecycleTest, CallsBeforeInitAndAfterEndDoNothing)
{
    ::setenv("DEXLINK_BACKEND", "sim", 1);
    ::setenv("DEXLINK_SIM_STATE", "", 1);
    g_lastCount = -1;
    ExpectEveryCallRefused();
    ASSERT_EQ(::Init(0), 1);
    auto& sim = dynamic_cast<SimBackend&>(*Library::Instance().ActiveBackend());
    EXPECT_TRUE(sim.CommandRequests().empty());
    sim.Unplug();
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_EQ(g_lastCount, -1) << "the registration made before Init does not exist";
    EXPECT_EQ(::End(), 1);
    ExpectEveryCallRefused();
}

// Init and End at the same moment from two threads take turns: End always returns, and the
// library they leave behind is whole (an Init that slipped into an End used to find its
// notification thread stopped under it).
TEST(LibraryLifecycleTest, InitAndEndFromTwoThreadsTakeTurns)
{
    ::setenv("DEXLINK_BACKEND", "sim", 1);
    ::setenv("DEXLINK_SIM_STATE", "", 1);
    for (int round = 0; round < 100; ++round) {
        SCOPED_TRACE(round);
        ASSERT_EQ(::Init(0), 1);
        std::atomic<int> ready{0};
        const auto together = [&ready] {
            ++ready;
            while (ready < 2) {
            }
        };
        std::thread ender([&] {
            together();
            EXPECT_EQ(::End(), 1);
        });
        together();
        EXPECT_EQ(::Init(0), 1);
        ender.join();

        // Started or not, one Init more must give a library whose notifications arrive.
        ASSERT_EQ(::Init(0), 1);
        g_lastCount = -1;
        DexHandle handle = 0;
        ASSERT_EQ(::RequestAsyncRead(&kCommand, &CountingCallback, DEX_TAG_CTRL,
                                     DexCallChecksum(&kCommand, &CountingCallback, DEX_TAG_CTRL, nullptr, 0), &handle),
                  1);
        dynamic_cast<SimBackend&>(*Library::Instance().ActiveBackend()).Unplug();
        ASSERT_TRUE(Eventually([] { return g_lastCount == 0; })) << "the notification thread runs";
        ASSERT_EQ(::End(), 1);
    }
    ExpectEveryCallRefused();
}

} // namespace
} // namespace tavrix::dexlink
