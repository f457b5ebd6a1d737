#include <array>
#include <atomic>
#include <chrono>
#include <functional>
#include <numeric>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "device/command_set.h"
#include "platform/clock.h"
#include "sim/factory_defaults.h"
#include "sim_link_fixture.h"

namespace tavrix::device {
namespace {

using testing::SimLinkTest;
using Fault = dexlink::SimBackend::ReplyFault;

// A fault that changes nothing: lets the replies before a real fault through.
constexpr Fault kPass{Fault::Kind::Delay, 0};

uint16_t AddressOf(const sim::Report& frame)
{
    return static_cast<uint16_t>(frame[kAddressOffset] | (frame[kAddressOffset + 1] << 8));
}

std::vector<uint8_t> Pattern(std::size_t size, uint8_t seed)
{
    std::vector<uint8_t> bytes(size);
    for (std::size_t i = 0; i < size; ++i) {
        bytes[i] = static_cast<uint8_t>(seed + i * 7);
    }
    return bytes;
}

class CommandSetTest : public SimLinkTest {
protected:
    static constexpr double kCountingTimeScale = 0.1;

    void SetUp() override
    {
        SimLinkTest::SetUp();
        // These tests count requests: a reply that is merely slow on a busy machine must not
        // time out and cause a retry, so the reply wait stays at 100 real milliseconds.
        platform::SetTimeScale(kCountingTimeScale);
        m_commands = std::make_unique<CommandSet>(Link());
    }

    CommandSet& Commands() { return *m_commands; }
    std::vector<sim::Report> Sent() { return Sim().CommandRequests(); }

private:
    std::unique_ptr<CommandSet> m_commands;
};

struct RequestCase {
    const char* name;
    std::function<int(CommandSet&)> call;
    uint8_t command;
    uint8_t length;
    uint16_t address;
    std::vector<uint8_t> data; // the start of the data field; the rest must be zero
};

class CommandRequestTest : public CommandSetTest, public ::testing::WithParamInterface<RequestCase> {};

TEST_P(CommandRequestTest, FirstRequestIsByteExact)
{
    const RequestCase& c = GetParam();
    EXPECT_EQ(c.call(Commands()), kResultOk);
    ASSERT_FALSE(Sent().empty());
    const sim::Report frame = Sent().front();
    EXPECT_EQ(frame[kReportIdOffset], kReportId);
    EXPECT_EQ(frame[kCommandOffset], c.command);
    EXPECT_EQ(frame[kLengthOffset], c.length);
    EXPECT_EQ(AddressOf(frame), c.address);
    EXPECT_EQ(frame[kStatusOffset], 0);
    for (std::size_t i = 0; i < kDataSize; ++i) {
        const uint8_t expected = i < c.data.size() ? c.data[i] : 0;
        EXPECT_EQ(frame[kDataOffset + i], expected) << "data byte " << i;
    }
    const unsigned sum = std::accumulate(frame.begin() + kSumFirstByte, frame.end(), 0u);
    EXPECT_EQ(frame[kSumOffset] | (frame[kSumOffset + 1] << 8), static_cast<int>(sum));
}

std::array<uint8_t, kInfoBlockSize> InfoBlockToWrite()
{
    std::array<uint8_t, kInfoBlockSize> info = sim::FactoryInfoBlock();
    info[0] = 0x11;
    info[kInfoCurrentProfileOffset] = 1;
    return info;
}

std::vector<uint8_t> Prefix(std::span<const uint8_t> bytes, std::size_t count)
{
    return {bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(count)};
}

INSTANTIATE_TEST_SUITE_P(
    Commands, CommandRequestTest,
    ::testing::Values(
        RequestCase{"BeginConfig", [](CommandSet& c) { return c.BeginConfig(); }, 0x01, 0, 0, {}},
        RequestCase{"EndConfig", [](CommandSet& c) { return c.EndConfig(); }, 0x02, 0, 0, {}},
        RequestCase{"ReadInfoBlock",
                    [](CommandSet& c) {
                        std::array<uint8_t, kInfoBlockSize> out{};
                        return c.ReadInfoBlock(out);
                    },
                    0x03,
                    0x30,
                    0,
                    {}},
        RequestCase{"WriteInfoBlock", [](CommandSet& c) { return c.WriteInfoBlock(InfoBlockToWrite()); }, 0x04, 0x30, 0,
                    Prefix(InfoBlockToWrite(), kInfoBlockSize)},
        RequestCase{"ReadLightingBytes",
                    [](CommandSet& c) {
                        std::array<uint8_t, kDataSize> out{};
                        return c.ReadLightingBytes(out, 5, 84);
                    },
                    0x05,
                    5,
                    84,
                    {}},
        RequestCase{"WriteLightingBytes",
                    [](CommandSet& c) {
                        const std::array<uint8_t, 3> bytes{7, 8, 9};
                        return c.WriteLightingBytes(bytes, 43);
                    },
                    0x06,
                    3,
                    43,
                    {7, 8, 9}},
        RequestCase{
            "WriteLightingBytesEmpty", [](CommandSet& c) { return c.WriteLightingBytes({}, 42); }, 0x06, 0, 42, {}},
        RequestCase{"ReadKeyTable",
                    [](CommandSet& c) {
                        std::array<uint8_t, kKeyTableSize> out{};
                        return c.ReadKeyTable(out, 2);
                    },
                    0x07,
                    56,
                    1024,
                    {}},
        RequestCase{"WriteKeyTable", [](CommandSet& c) { return c.WriteKeyTable(sim::DefaultKeyTable(), 0); }, 0x08, 56,
                    0, Prefix(sim::DefaultKeyTable(), 56)},
        RequestCase{"ReadExtraArea",
                    [](CommandSet& c) {
                        std::array<uint8_t, 16> out{};
                        return c.ReadExtraArea(out);
                    },
                    0x09,
                    16,
                    0,
                    {}},
        RequestCase{"WriteExtraArea",
                    [](CommandSet& c) {
                        const std::array<uint8_t, 4> bytes{0xAA, 0x55, 0x10, 0x00};
                        return c.WriteExtraArea(bytes);
                    },
                    0x0A,
                    4,
                    0,
                    {0xAA, 0x55, 0x10, 0x00}},
        RequestCase{"TestCommand", [](CommandSet& c) { return c.TestCommand(); }, 0x0D, 0, 0, {}},
        RequestCase{"ReadDefaultTable",
                    [](CommandSet& c) {
                        std::array<uint8_t, kKeyTableSize> out{};
                        return c.ReadDefaultTable(out);
                    },
                    0x0F,
                    56,
                    0,
                    {}},
        RequestCase{"ReadLampArea",
                    [](CommandSet& c) {
                        std::array<uint8_t, kDataSize> out{};
                        return c.ReadLampArea(out, 54, 108, 2);
                    },
                    0x10,
                    54,
                    468,
                    {}},
        RequestCase{"WriteLampArea",
                    [](CommandSet& c) {
                        const std::array<uint8_t, 1> bytes{0x40};
                        return c.WriteLampArea(bytes, 19, 1);
                    },
                    0x11,
                    1,
                    199,
                    {0x40}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(CommandSetTest, WriteKeyTableForProfileOneSendsSixChunks)
{
    const std::vector<uint8_t> table = Pattern(kKeyTableSize, 3);
    ASSERT_EQ(Commands().WriteKeyTable(std::span<const uint8_t, kKeyTableSize>(table.data(), kKeyTableSize), 1),
              kResultOk);

    const std::array<uint16_t, 6> addresses{512, 568, 624, 680, 736, 792};
    const std::array<uint8_t, 6> lengths{56, 56, 56, 56, 56, 44};
    const auto sent = Sent();
    ASSERT_EQ(sent.size(), addresses.size());
    for (std::size_t i = 0; i < sent.size(); ++i) {
        EXPECT_EQ(sent[i][kCommandOffset], kCmdWriteKeyTable);
        EXPECT_EQ(AddressOf(sent[i]), addresses[i]);
        EXPECT_EQ(sent[i][kLengthOffset], lengths[i]);
        EXPECT_TRUE(std::equal(sent[i].begin() + kDataOffset, sent[i].begin() + kDataOffset + lengths[i],
                               table.begin() + (addresses[i] - 512)))
            << "chunk " << i;
    }
}

struct ExtraChunkCase {
    std::size_t count;
    std::vector<std::pair<uint16_t, uint8_t>> chunks; // address, length
};

class ExtraAreaChunkTest : public CommandSetTest, public ::testing::WithParamInterface<ExtraChunkCase> {};

TEST_P(ExtraAreaChunkTest, WriteSplitsIntoChunks)
{
    const ExtraChunkCase& c = GetParam();
    const std::vector<uint8_t> bytes = Pattern(c.count, 1);
    ASSERT_EQ(Commands().WriteExtraArea(bytes), kResultOk);
    const auto sent = Sent();
    ASSERT_EQ(sent.size(), c.chunks.size());
    for (std::size_t i = 0; i < sent.size(); ++i) {
        EXPECT_EQ(AddressOf(sent[i]), c.chunks[i].first);
        EXPECT_EQ(sent[i][kLengthOffset], c.chunks[i].second);
    }
}

INSTANTIATE_TEST_SUITE_P(Counts, ExtraAreaChunkTest,
                         ::testing::Values(ExtraChunkCase{57, {{0, 56}, {56, 1}}}, ExtraChunkCase{56, {{0, 56}}},
                                           ExtraChunkCase{0, {}}, ExtraChunkCase{113, {{0, 56}, {56, 56}, {112, 1}}}));

TEST_F(CommandSetTest, ReadLampAreaCopiesTheWholeDataField)
{
    std::array<uint8_t, kDataSize> out;
    out.fill(0xAA);
    ASSERT_EQ(Commands().ReadLampArea(out, 54, 0, 1), kResultOk);
    const auto lamps = Sim().Memory().lamps;
    EXPECT_TRUE(std::equal(out.begin(), out.begin() + 54, lamps.begin() + 180));
    // The keyboard sends zeros beyond the length; they land in the output too.
    EXPECT_EQ(out[54], 0);
    EXPECT_EQ(out[55], 0);
}

struct BadArgumentCase {
    const char* name;
    std::function<int(CommandSet&)> call;
};

class BadArgumentTest : public CommandSetTest, public ::testing::WithParamInterface<BadArgumentCase> {};

TEST_P(BadArgumentTest, RefusedBeforeSending)
{
    EXPECT_EQ(GetParam().call(Commands()), kResultBadArgument);
    EXPECT_TRUE(Sent().empty());
}

INSTANTIATE_TEST_SUITE_P(
    Arguments, BadArgumentTest,
    ::testing::Values(BadArgumentCase{"ReadKeyTableProfile3",
                                      [](CommandSet& c) {
                                          std::array<uint8_t, kKeyTableSize> out{};
                                          return c.ReadKeyTable(out, 3);
                                      }},
                      BadArgumentCase{"WriteKeyTableProfile3",
                                      [](CommandSet& c) { return c.WriteKeyTable(sim::DefaultKeyTable(), 3); }},
                      BadArgumentCase{"WriteKeyTableNegativeProfile",
                                      [](CommandSet& c) { return c.WriteKeyTable(sim::DefaultKeyTable(), -1); }},
                      BadArgumentCase{"WriteLightingBytesTooMany",
                                      [](CommandSet& c) {
                                          const std::array<uint8_t, 57> bytes{};
                                          return c.WriteLightingBytes(bytes, 0);
                                      }},
                      BadArgumentCase{"ReadLightingBytesOutputTooSmall",
                                      [](CommandSet& c) {
                                          std::array<uint8_t, 55> out{};
                                          return c.ReadLightingBytes(out, 1, 0);
                                      }},
                      BadArgumentCase{"ReadLightingBytesLengthTooLong",
                                      [](CommandSet& c) {
                                          std::array<uint8_t, kDataSize> out{};
                                          return c.ReadLightingBytes(out, 57, 0);
                                      }},
                      BadArgumentCase{"ReadLightingBytesAddressBeyond16Bits",
                                      [](CommandSet& c) {
                                          std::array<uint8_t, kDataSize> out{};
                                          return c.ReadLightingBytes(out, 1, 0x10000);
                                      }},
                      BadArgumentCase{"ReadLampAreaProfile3",
                                      [](CommandSet& c) {
                                          std::array<uint8_t, kDataSize> out{};
                                          return c.ReadLampArea(out, 18, 0, 3);
                                      }},
                      BadArgumentCase{"WriteLampAreaNegativeOffset",
                                      [](CommandSet& c) {
                                          const std::array<uint8_t, 1> bytes{};
                                          return c.WriteLampArea(bytes, -1, 0);
                                      }},
                      BadArgumentCase{"WriteExtraAreaBeyondAddresses",
                                      [](CommandSet& c) {
                                          const std::vector<uint8_t> bytes(0x10001);
                                          return c.WriteExtraArea(bytes);
                                      }}),
    [](const auto& info) { return std::string(info.param.name); });

struct RoundTripCase {
    const char* name;
    std::function<int(CommandSet&, std::span<const uint8_t>)> write;
    std::function<int(CommandSet&, std::vector<uint8_t>&)> read;
    std::size_t size;
};

class RoundTripTest : public CommandSetTest, public ::testing::WithParamInterface<RoundTripCase> {};

TEST_P(RoundTripTest, WrittenBytesReadBackEqual)
{
    const RoundTripCase& c = GetParam();
    const std::vector<uint8_t> written = Pattern(c.size, 5);
    ASSERT_EQ(Commands().BeginConfig(), kResultOk);
    ASSERT_EQ(c.write(Commands(), written), kResultOk);
    ASSERT_EQ(Commands().EndConfig(), kResultOk);
    std::vector<uint8_t> read;
    ASSERT_EQ(c.read(Commands(), read), kResultOk);
    EXPECT_EQ(read, written);
}

template <int Profile> RoundTripCase KeyTableCase(const char* name)
{
    return {name,
            [](CommandSet& c, std::span<const uint8_t> bytes) {
                return c.WriteKeyTable(bytes.first<kKeyTableSize>(), Profile);
            },
            [](CommandSet& c, std::vector<uint8_t>& out) {
                out.resize(kKeyTableSize);
                return c.ReadKeyTable(std::span<uint8_t, kKeyTableSize>(out.data(), kKeyTableSize), Profile);
            },
            kKeyTableSize};
}

INSTANTIATE_TEST_SUITE_P(
    Tables, RoundTripTest,
    ::testing::Values(
        KeyTableCase<0>("KeyTableProfile0"), KeyTableCase<1>("KeyTableProfile1"), KeyTableCase<2>("KeyTableProfile2"),
        RoundTripCase{"ExtraArea",
                      [](CommandSet& c, std::span<const uint8_t> bytes) { return c.WriteExtraArea(bytes); },
                      [](CommandSet& c, std::vector<uint8_t>& out) {
                          out.resize(1000);
                          return c.ReadExtraArea(out);
                      },
                      1000},
        RoundTripCase{"LightingBlockOfProfile2",
                      [](CommandSet& c, std::span<const uint8_t> bytes) { return c.WriteLightingBytes(bytes, 84); },
                      [](CommandSet& c, std::vector<uint8_t>& out) {
                          out.resize(kDataSize);
                          const int result = c.ReadLightingBytes(out, 42, 84);
                          out.resize(42);
                          return result;
                      },
                      42},
        RoundTripCase{"LampAreaOfProfile1",
                      [](CommandSet& c, std::span<const uint8_t> bytes) {
                          const int first = c.WriteLampArea(bytes.first(45), 90, 1);
                          return first == kResultOk ? c.WriteLampArea(bytes.subspan(45), 135, 1) : first;
                      },
                      [](CommandSet& c, std::vector<uint8_t>& out) {
                          std::array<uint8_t, kDataSize> part{};
                          out.clear();
                          for (int offset : {90, 135}) {
                              const int result = c.ReadLampArea(part, 45, offset, 1);
                              if (result != kResultOk) {
                                  return result;
                              }
                              out.insert(out.end(), part.begin(), part.begin() + 45);
                          }
                          return kResultOk;
                      },
                      90}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(CommandSetTest, InfoBlockKeepsHostBytesAndTheKeyboardsOwn)
{
    std::array<uint8_t, kInfoBlockSize> written{};
    std::iota(written.begin(), written.end(), uint8_t{100});
    written[kInfoCurrentProfileOffset] = 2;
    ASSERT_EQ(Commands().WriteInfoBlock(written), kResultOk);

    std::array<uint8_t, kInfoBlockSize> read{};
    ASSERT_EQ(Commands().ReadInfoBlock(read), kResultOk);
    const auto factory = sim::FactoryInfoBlock();
    EXPECT_TRUE(std::equal(read.begin(), read.begin() + 10, written.begin()));
    EXPECT_EQ(read[kInfoCurrentProfileOffset], 2);
    EXPECT_EQ(read[kInfoExtraUnitsOffset], factory[kInfoExtraUnitsOffset]);
    EXPECT_TRUE(std::equal(read.begin() + 12, read.begin() + 16, written.begin() + 12));
    EXPECT_TRUE(std::equal(read.begin() + kInfoEffectListOffset, read.end(), factory.begin() + kInfoEffectListOffset));
}

TEST_F(CommandSetTest, DefaultTableIsTheKeyboards)
{
    std::array<uint8_t, kKeyTableSize> table{};
    ASSERT_EQ(Commands().ReadDefaultTable(table), kResultOk);
    EXPECT_EQ(table, sim::DefaultKeyTable());
}

TEST_F(CommandSetTest, RefusalInTheMiddleOfAChunkedWriteStopsThere)
{
    Sim().QueueReplyFault(kPass, 2);
    Sim().QueueReplyFault({Fault::Kind::Status, 0xFE}, 3);
    const std::vector<uint8_t> table = Pattern(kKeyTableSize, 9);
    EXPECT_EQ(Commands().WriteKeyTable(std::span<const uint8_t, kKeyTableSize>(table.data(), kKeyTableSize), 0),
              kResultStatusBusy);
    const auto sent = Sent();
    ASSERT_EQ(sent.size(), 5u); // two chunks, then the third one three times
    EXPECT_EQ(AddressOf(sent.back()), 112);
}

TEST_F(CommandSetTest, WriteBeyondTheExtraAreaIsRefusedAtThatChunk)
{
    const std::size_t capacity = sim::kFactoryExtraUnits * std::size_t{128};
    const std::vector<uint8_t> bytes = Pattern(capacity + 20, 2);
    EXPECT_EQ(Commands().WriteExtraArea(bytes), kResultStatusRefused);
    const auto sent = Sent();
    const uint16_t lastAddress = static_cast<uint16_t>(capacity / 56 * 56);
    EXPECT_EQ(AddressOf(sent.back()), lastAddress);
    const auto extra = Sim().Memory().extra;
    EXPECT_TRUE(std::equal(extra.begin(), extra.begin() + lastAddress, bytes.begin()));
    EXPECT_NE(extra.back(), bytes[capacity - 1]);
}

TEST_F(CommandSetTest, ReadStopsAtTheFirstFailedChunk)
{
    Sim().QueueReplyFault(kPass);
    Sim().QueueReplyFault({Fault::Kind::Drop}, 3);
    std::array<uint8_t, kKeyTableSize> out{};
    EXPECT_EQ(Commands().ReadKeyTable(out, 0), kResultNoReply);
    EXPECT_EQ(Sent().size(), 4u);
}

struct StrayReplyCase {
    const char* name;
    std::vector<Fault> faults; // for the first replies, whatever their command
    int firstResult;
};

class CommandSetStrayReplyTest : public CommandSetTest, public ::testing::WithParamInterface<StrayReplyCase> {};

// A reply that comes after its wait ended must not answer a later request with the same command
// code; a reply that never comes is asked for again.
TEST_P(CommandSetStrayReplyTest, EachChunkGetsItsOwnData)
{
    for (const Fault& fault : GetParam().faults) {
        Sim().QueueReplyFault(fault);
    }
    std::array<uint8_t, kKeyTableSize> table{};
    ASSERT_EQ(Commands().ReadKeyTable(table, 0), GetParam().firstResult);
    if (GetParam().firstResult == kResultOk) {
        EXPECT_EQ(table, Sim().Memory().keyTables[0]);
    }
    std::array<uint8_t, kKeyTableSize> again{};
    EXPECT_EQ(Commands().ReadKeyTable(again, 0), kResultOk);
    EXPECT_EQ(again, Sim().Memory().keyTables[0]);
}

// At the tests' clock a reply wait lasts 100 ms.
INSTANTIATE_TEST_SUITE_P(
    Faults, CommandSetStrayReplyTest,
    ::testing::Values(
        StrayReplyCase{"LateReplies",
                       {{Fault::Kind::Delay, 150000}, {Fault::Kind::Delay, 60000}, {Fault::Kind::Delay, 50000}},
                       kResultOk},
        StrayReplyCase{"ReplyLateForTwoWaits", {{Fault::Kind::Delay, 250000}}, kResultOk},
        StrayReplyCase{"DroppedRequest", {{Fault::Kind::Drop}}, kResultOk},
        StrayReplyCase{"GivenUpThenLate",
                       {kPass, {Fault::Kind::Drop}, {Fault::Kind::Drop}, {Fault::Kind::Delay, 120000}},
                       kResultNoReply}),
    [](const auto& info) { return std::string(info.param.name); });

struct StatusCase {
    int status;
    int result;
};

class StatusTest : public CommandSetTest, public ::testing::WithParamInterface<StatusCase> {};

TEST_P(StatusTest, PersistentStatusGivesItsCode)
{
    Sim().QueueReplyFault({Fault::Kind::Status, GetParam().status}, 3);
    EXPECT_EQ(Commands().BeginConfig(), GetParam().result);
}

INSTANTIATE_TEST_SUITE_P(Statuses, StatusTest,
                         ::testing::Values(StatusCase{0xFF, kResultStatusRefused}, StatusCase{0xFE, kResultStatusBusy},
                                           StatusCase{0x01, kResultOk}));

TEST_F(CommandSetTest, ReplyTooShortForItsDataIsNoReply)
{
    Sim().QueueReplyFault({Fault::Kind::Length, 20});
    std::array<uint8_t, kInfoBlockSize> info;
    info.fill(0xAA);
    EXPECT_EQ(Commands().ReadInfoBlock(info), kResultNoReply);
    EXPECT_TRUE(std::all_of(info.begin(), info.end(), [](uint8_t b) { return b == 0xAA; }));
}

TEST_F(CommandSetTest, ConfigureBracketsEveryStepAndGivesTheFirstFailure)
{
    const struct {
        const char* name;
        uint8_t refused; // the command the keyboard refuses three times; 0: none
        int stepsResult;
        int result;
    } cases[] = {
        {"all taken", 0, kResultOk, kResultOk},
        {"begin refused", kCmdBeginConfig, kResultOk, kResultStatusRefused},
        {"a step failed", 0, kResultNoReply, kResultNoReply},
        {"begin and a step failed", kCmdBeginConfig, kResultNoReply, kResultStatusRefused},
        {"end refused", kCmdEndConfig, kResultOk, kResultStatusRefused},
    };
    for (const auto& c : cases) {
        if (c.refused != 0) {
            Sim().AddFault({c.refused, {Fault::Kind::Status, kStatusRefused}, kAttempts});
        }
        const std::size_t before = Sent().size();
        int steps = 0;
        EXPECT_EQ(Commands().Configure([&] {
            ++steps;
            return c.stepsResult;
        }),
                  c.result)
            << c.name;
        EXPECT_EQ(steps, 1) << c.name << ": the steps run whatever the begin gave";
        std::vector<uint8_t> commands;
        for (std::size_t i = before; i < Sent().size(); ++i) {
            commands.push_back(Sent()[i][kCommandOffset]);
        }
        commands.erase(std::unique(commands.begin(), commands.end()), commands.end());
        EXPECT_EQ(commands, (std::vector<uint8_t>{kCmdBeginConfig, kCmdEndConfig})) << c.name;
    }
}

TEST_F(CommandSetTest, ConfigurationsOfTwoThreadsTakeTurns)
{
    std::atomic<bool> inside{false};
    int first = 0;
    std::thread other([&] {
        first = Commands().Configure([&] {
            inside = true;
            // Long enough for the other configuration to start, were it let in.
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
            const uint8_t value = 1;
            return Commands().WriteLightingBytes({&value, 1}, 1);
        });
    });
    while (!inside) {
        std::this_thread::yield();
    }
    const uint8_t value = 2;
    EXPECT_EQ(Commands().Configure([&] { return Commands().WriteLightingBytes({&value, 1}, 2); }), kResultOk);
    other.join();
    EXPECT_EQ(first, kResultOk);
    EXPECT_EQ(Sent().size(), 6U);
    EXPECT_EQ(testing::DeepestBracket(Sent()), 1);
}

TEST_F(CommandSetTest, FailedCommandIsLoggedWithItsCode)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            ::setenv("TAVRIX_DEBUG", "1", 1);
            Sim().QueueReplyFault({Fault::Kind::Status, kStatusRefused}, kAttempts);
            (void)Commands().BeginConfig();
            const uint8_t value = 0;
            (void)Commands().WriteLightingBytes({&value, 1}, 0x2A);
            std::_Exit(0);
        },
        ::testing::ExitedWithCode(0),
        "^tavrix: +[0-9.]+ keyboard command 0x01 at 0x0000 failed: -102 \\(refused\\)\n$");
}

TEST_F(CommandSetTest, NoKeyboardGivesZero)
{
    Sim().Unplug();
    EXPECT_EQ(Commands().TestCommand(), kResultNoDevice);
    EXPECT_EQ(Commands().GetCurrentProfile(), -1);
}

TEST_F(CommandSetTest, CurrentProfileIsReadOnceThenCached)
{
    EXPECT_EQ(Commands().GetCurrentProfile(), 0);
    EXPECT_EQ(Commands().GetCurrentProfile(), 0);
    EXPECT_EQ(Sent().size(), 1u);
}

TEST_F(CommandSetTest, SetCurrentProfileSwitchesTheKeyboardAndTheCache)
{
    Commands().SetCurrentProfile(2);
    const auto sent = Sent();
    ASSERT_EQ(sent.size(), 2u);
    EXPECT_EQ(sent[0][kCommandOffset], kCmdReadInfoBlock);
    EXPECT_EQ(sent[1][kCommandOffset], kCmdWriteInfoBlock);
    EXPECT_EQ(Sim().Memory().info[kInfoCurrentProfileOffset], 2);
    EXPECT_EQ(Commands().GetCurrentProfile(), 2);
    EXPECT_EQ(Sent().size(), 2u);
}

TEST_F(CommandSetTest, SetCurrentProfileOutsideTheProfilesSendsNothing)
{
    Commands().SetCurrentProfile(-1);
    Commands().SetCurrentProfile(3);
    EXPECT_TRUE(Sent().empty());
}

TEST_F(CommandSetTest, FailedProfileWriteLeavesTheCacheEmpty)
{
    ASSERT_EQ(Commands().GetCurrentProfile(), 0);
    Sim().QueueReplyFault(kPass);
    Sim().QueueReplyFault({Fault::Kind::Status, 0xFF}, 3);
    Commands().SetCurrentProfile(1);
    const std::size_t before = Sent().size();
    EXPECT_EQ(Commands().GetCurrentProfile(), 1); // the keyboard took it; only the reply said no
    EXPECT_EQ(Sent().size(), before + 1);
}

TEST_F(CommandSetTest, FailedProfileReadLeavesTheCacheAsItWas)
{
    Commands().SetCurrentProfile(1);
    Sim().QueueReplyFault({Fault::Kind::Drop}, 3);
    Commands().SetCurrentProfile(2);
    EXPECT_EQ(Sim().Memory().info[kInfoCurrentProfileOffset], 1);
    const std::size_t before = Sent().size();
    EXPECT_EQ(Commands().GetCurrentProfile(), 1);
    EXPECT_EQ(Sent().size(), before);
}

TEST_F(CommandSetTest, ForgottenProfileIsAskedAgain)
{
    ASSERT_EQ(Commands().GetCurrentProfile(), 0);
    Commands().ForgetCurrentProfile();
    EXPECT_EQ(Commands().GetCurrentProfile(), 0);
    EXPECT_EQ(Sent().size(), 2u);
}

TEST_F(CommandSetTest, EnterBootModeSendsTheRawFrameAndTheKeyboardFallsSilent)
{
    EXPECT_EQ(Commands().EnterBootMode(), 1);
    ASSERT_EQ(Sent().size(), 1u);
    sim::Report expected{};
    expected[0] = 4;
    expected[3] = 0xEE;
    expected[4] = 0xEE;
    EXPECT_EQ(Sent().front(), expected);

    EXPECT_EQ(Commands().TestCommand(), kResultNoReply);
    Sim().Unplug();
    Sim().Replug();
    EXPECT_EQ(Commands().TestCommand(), kResultOk);
}

} // namespace
} // namespace tavrix::device
