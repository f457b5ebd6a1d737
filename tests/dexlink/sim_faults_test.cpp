#include <string>

#include <gtest/gtest.h>

#include "sim/sim_faults.h"

namespace tavrix::dexlink {
namespace {

using Kind = ReplyFault::Kind;

struct ParseCase {
    const char* text;
    std::vector<CommandFault> faults;
    std::optional<uint8_t> profile;
};

class SimFaultsParseTest : public ::testing::TestWithParam<ParseCase> {};

TEST_P(SimFaultsParseTest, UnderstoodFaults)
{
    const SimFaultSettings settings = ParseSimFaults(GetParam().text);
    EXPECT_TRUE(settings.problems.empty()) << settings.problems.front();
    EXPECT_EQ(settings.faults, GetParam().faults);
    EXPECT_EQ(settings.currentProfile, GetParam().profile);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, SimFaultsParseTest,
    ::testing::Values(ParseCase{"", {}, {}}, ParseCase{" ; ;", {}, {}},
                      ParseCase{"drop 0x07", {{0x07, {Kind::Drop}, 1}}, {}},
                      ParseCase{"drop 7 x3", {{0x07, {Kind::Drop}, 3}}, {}},
                      ParseCase{"delay 0x07 150ms x2; delay 0x09 40",
                                {{0x07, {Kind::Delay, 150000}, 2}, {0x09, {Kind::Delay, 40000}, 1}},
                                {}},
                      ParseCase{"refuse 0x0F always", {{0x0F, {Kind::Status, 0xFF}, kEveryReply}}, {}},
                      ParseCase{"refuse 0x0A 0xFE x2", {{0x0A, {Kind::Status, 0xFE}, 2}}, {}},
                      ParseCase{"echo 0x03", {{0x03, {Kind::OtherCommand}, 1}}, {}},
                      ParseCase{"unplug 0x08 after 4", {{0x08, {Kind::Unplug, 4}, 1}}, {}},
                      ParseCase{"\tprofile 7 ;drop 0x01", {{0x01, {Kind::Drop}, 1}}, 7}));

TEST(SimFaultsTest, WhatIsNotUnderstoodIsIgnoredWithAReasonAndTheRestKept)
{
    const char* const bad[] = {
        "dorp 0x07",
        "drop",
        "drop 0x100",
        "drop seven",
        "drop 0x07 3",
        "drop 0x07 x0",
        "drop 0x07 x2 x3",
        "delay 0x07",
        "delay 0x07 -5",
        "delay 0x07 99999999999999999999",
        "refuse 0x0A banana",
        "unplug 0x08 4",
        "unplug 0x08 after 0",
        "profile",
        "profile 256",
        "profile 1 2",
        "x2",
        "drop 0x",
        "drop 0x07x2",
    };
    for (const char* item : bad) {
        const SimFaultSettings settings = ParseSimFaults(std::string(item) + "; drop 0x02");
        ASSERT_EQ(settings.problems.size(), 1u) << item;
        EXPECT_NE(settings.problems[0].find(std::string("\"") + item + "\""), std::string::npos)
            << settings.problems[0];
        EXPECT_EQ(settings.faults, (std::vector<CommandFault>{{0x02, {Kind::Drop}, 1}})) << item;
        EXPECT_FALSE(settings.currentProfile) << item;
    }
}

} // namespace
} // namespace tavrix::dexlink
