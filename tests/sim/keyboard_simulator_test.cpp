#include <numeric>
#include <vector>

#include <gtest/gtest.h>

#include "sim/factory_defaults.h"
#include "sim/keyboard_simulator.h"
#include "sim_frames.h"

namespace tavrix::sim {
namespace {

using testing::Frame;

constexpr std::size_t kCapacity = std::size_t{kFactoryExtraUnits} * kExtraUnit;

std::vector<uint8_t> Filled(std::size_t size, uint8_t value)
{
    return std::vector<uint8_t>(size, value);
}

uint8_t StatusOf(const std::optional<Report>& reply)
{
    return reply ? (*reply)[kFrameStatusAt] : 0xAA;
}

struct RefusalCase {
    const char* name;
    Report request;
};

class RefusalTest : public ::testing::TestWithParam<RefusalCase> {};

TEST_P(RefusalTest, RefusedWithStatusFFAndNothingChanges)
{
    KeyboardSimulator keyboard;
    const KeyboardMemory before = keyboard.Memory();
    const std::optional<Report> reply = keyboard.HandleCommand(GetParam().request);
    ASSERT_TRUE(reply.has_value());
    EXPECT_EQ((*reply)[kFrameStatusAt], kStatusRefused);
    EXPECT_EQ(keyboard.Memory(), before);
    EXPECT_FALSE(keyboard.TakeCommit());
    EXPECT_FALSE(keyboard.InBootMode());
}

const std::vector<uint8_t> kOnes = Filled(56, 1);

INSTANTIATE_TEST_SUITE_P(
    Requests, RefusalTest,
    ::testing::Values(RefusalCase{"ReadKeysProfile3", Frame(0x07, 56, 3 * 512)},
                      RefusalCase{"WriteKeysProfile3", Frame(0x08, 56, 3 * 512, kOnes)},
                      RefusalCase{"WriteKeysPastTheTable", Frame(0x08, 56, 512 + 280, kOnes)},
                      RefusalCase{"WriteKeysInTheGapBetweenProfiles", Frame(0x08, 4, 324, kOnes)},
                      RefusalCase{"WriteLightingPastTheArea", Frame(0x06, 7, 120, kOnes)},
                      RefusalCase{"WriteLightingLongerThanAReport", Frame(0x06, 57, 0, kOnes)},
                      RefusalCase{"WriteLampsPastTheArea", Frame(0x11, 11, 530, kOnes)},
                      RefusalCase{"WriteExtraPastTheCapacity", Frame(0x0A, 11, kCapacity - 10, kOnes)},
                      RefusalCase{"ReadDefaultKeysPastTheTable", Frame(0x0F, 25, 300)},
                      RefusalCase{"ReadInfoWrongLength", Frame(0x03, 47, 0)},
                      RefusalCase{"ReadInfoWithAnAddress", Frame(0x03, 48, 1)},
                      RefusalCase{"WriteInfoWrongLength", Frame(0x04, 47, 0, kOnes)},
                      RefusalCase{"WriteInfoProfile3", Frame(0x04, 48, 0, {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 3})},
                      RefusalCase{"BootModeWithoutConfirmation", Frame(0xEE, 0, 0)}),
    [](const auto& info) { return std::string(info.param.name); });

struct EdgeWriteCase {
    const char* name;
    uint8_t writeCommand;
    uint8_t readCommand;
    uint8_t length;
    uint16_t address;
};

class EdgeWriteTest : public ::testing::TestWithParam<EdgeWriteCase> {};

TEST_P(EdgeWriteTest, WriteEndingAtTheTableEndIsTakenAndReadsBack)
{
    const EdgeWriteCase& c = GetParam();
    KeyboardSimulator keyboard;
    std::vector<uint8_t> data(c.length);
    std::iota(data.begin(), data.end(), uint8_t{1});
    ASSERT_EQ(StatusOf(keyboard.HandleCommand(Frame(c.writeCommand, c.length, c.address, data))), kStatusAccepted);

    const std::optional<Report> reply = keyboard.HandleCommand(Frame(c.readCommand, c.length, c.address));
    ASSERT_EQ(StatusOf(reply), kStatusAccepted);
    EXPECT_TRUE(std::equal(data.begin(), data.end(), reply->begin() + kFrameDataAt));
    EXPECT_TRUE(std::all_of(reply->begin() + kFrameDataAt + c.length, reply->end(), [](uint8_t b) { return b == 0; }));
}

INSTANTIATE_TEST_SUITE_P(Tables, EdgeWriteTest,
                         ::testing::Values(EdgeWriteCase{"LightingOfProfile2", 0x06, 0x05, 42, 84},
                                           EdgeWriteCase{"LastKeyChunkOfProfile2", 0x08, 0x07, 44, 2 * 512 + 280},
                                           EdgeWriteCase{"EndOfTheExtraArea", 0x0A, 0x09, 56, kCapacity - 56},
                                           EdgeWriteCase{"EndOfTheLampArea", 0x11, 0x10, 56, 540 - 56}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(KeyboardSimulatorTest, ReplyEchoesTheRequestWithASum)
{
    KeyboardSimulator keyboard;
    const std::optional<Report> reply = keyboard.HandleCommand(Frame(0x0F, 6, 3));
    ASSERT_TRUE(reply.has_value());
    EXPECT_EQ((*reply)[0], 4);
    EXPECT_EQ((*reply)[3], 0x0F);
    EXPECT_EQ((*reply)[4], 6);
    EXPECT_EQ((*reply)[5], 3);
    EXPECT_EQ((*reply)[6], 0);
    const unsigned sum = std::accumulate(reply->begin() + 3, reply->end(), 0u);
    EXPECT_EQ((*reply)[1] | ((*reply)[2] << 8), static_cast<int>(sum));
    // Position 1 of the default table (B), then the first byte of position 2.
    const std::array<uint8_t, 6> expected{2, 2, 0x05, 2, 2, 0x06};
    EXPECT_TRUE(std::equal(expected.begin(), expected.end(), reply->begin() + kFrameDataAt));
}

TEST(KeyboardSimulatorTest, ShortRequestIsZeroPadded)
{
    KeyboardSimulator keyboard;
    const std::array<uint8_t, 5> request{4, 0, 0, 0x03, 48};
    EXPECT_EQ(StatusOf(keyboard.HandleCommand(request)), kStatusAccepted);
}

TEST(KeyboardSimulatorTest, UnknownCommandIsAcknowledgedAndChangesNothing)
{
    KeyboardSimulator keyboard;
    const KeyboardMemory before = keyboard.Memory();
    EXPECT_EQ(StatusOf(keyboard.HandleCommand(Frame(0x42, 56, 0, kOnes))), kStatusAccepted);
    EXPECT_EQ(keyboard.Memory(), before);
}

TEST(KeyboardSimulatorTest, InfoWriteKeepsTheKeyboardsOwnBytes)
{
    KeyboardSimulator keyboard;
    std::vector<uint8_t> block(kInfoSize, 0x77);
    block[kInfoProfileAt] = 2;
    ASSERT_EQ(StatusOf(keyboard.HandleCommand(Frame(0x04, 48, 0, block))), kStatusAccepted);

    const auto& info = keyboard.Memory().info;
    const auto factory = FactoryInfoBlock();
    EXPECT_TRUE(std::all_of(info.begin(), info.begin() + 10, [](uint8_t b) { return b == 0x77; }));
    EXPECT_EQ(info[kInfoProfileAt], 2);
    EXPECT_EQ(info[kInfoExtraUnitsAt], kFactoryExtraUnits);
    EXPECT_TRUE(std::all_of(info.begin() + 12, info.begin() + 16, [](uint8_t b) { return b == 0x77; }));
    EXPECT_TRUE(std::equal(info.begin() + kInfoEffectsAt, info.end(), factory.begin() + kInfoEffectsAt));
}

TEST(KeyboardSimulatorTest, WritesInsideAConfigurationCommitAtItsEnd)
{
    KeyboardSimulator keyboard;
    ASSERT_EQ(StatusOf(keyboard.HandleCommand(Frame(0x01))), kStatusAccepted);
    ASSERT_EQ(StatusOf(keyboard.HandleCommand(Frame(0x06, 1, 0, {9}))), kStatusAccepted);
    EXPECT_FALSE(keyboard.TakeCommit());
    ASSERT_EQ(StatusOf(keyboard.HandleCommand(Frame(0x02))), kStatusAccepted);
    EXPECT_TRUE(keyboard.TakeCommit());
    EXPECT_FALSE(keyboard.TakeCommit());
}

TEST(KeyboardSimulatorTest, WriteOutsideAConfigurationCommitsAtOnceAndReadsNever)
{
    KeyboardSimulator keyboard;
    ASSERT_EQ(StatusOf(keyboard.HandleCommand(Frame(0x03, 48, 0))), kStatusAccepted);
    EXPECT_FALSE(keyboard.TakeCommit());
    std::vector<uint8_t> block(keyboard.Memory().info.begin(), keyboard.Memory().info.end());
    block[kInfoProfileAt] = 1;
    ASSERT_EQ(StatusOf(keyboard.HandleCommand(Frame(0x04, 48, 0, block))), kStatusAccepted);
    EXPECT_TRUE(keyboard.TakeCommit());
}

TEST(KeyboardSimulatorTest, BootModeSilencesTheKeyboardUntilPowerCycle)
{
    KeyboardSimulator keyboard;
    EXPECT_FALSE(keyboard.HandleCommand(Frame(0xEE, 0xEE, 0)).has_value());
    EXPECT_TRUE(keyboard.InBootMode());
    EXPECT_FALSE(keyboard.HandleCommand(Frame(0x0D)).has_value());
    keyboard.PowerCycle();
    EXPECT_EQ(StatusOf(keyboard.HandleCommand(Frame(0x0D))), kStatusAccepted);
}

TEST(KeyboardSimulatorTest, MemoryWithTooSmallAnExtraAreaIsGrownToItsCapacity)
{
    KeyboardMemory memory = FactoryMemory();
    memory.extra.clear();
    KeyboardSimulator keyboard(memory);
    EXPECT_EQ(keyboard.Memory().extra.size(), kCapacity);
    EXPECT_EQ(StatusOf(keyboard.HandleCommand(Frame(0x09, 56, kCapacity - 56))), kStatusAccepted);
}

} // namespace
} // namespace tavrix::sim
