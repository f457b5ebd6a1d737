#include <algorithm>
#include <deque>
#include <functional>
#include <memory>

#include <gtest/gtest.h>

#include "device/command_set.h"
#include "device/protocol.h"
#include "model/lighting_controller.h"
#include "platform/little_endian.h"
#include "sim_link_fixture.h"

namespace tavrix::model {
namespace {

using Fault = dexlink::SimBackend::ReplyFault;

// A request the controller sent: its command, length and address.
struct Sent {
    uint8_t command;
    int length;
    int address;

    bool operator==(const Sent&) const = default;
};

class LightingControllerTest : public testing::SimLinkTest {
protected:
    void SetUp() override
    {
        SimLinkTest::SetUp();
        m_commands = std::make_unique<device::CommandSet>(Link());
        m_lighting = std::make_unique<LightingController>(*m_commands);
    }

    LightingController& Lighting() { return *m_lighting; }
    device::CommandSet& Commands() { return *m_commands; }

    void Mark() { m_mark = Sim().CommandRequests().size(); }

    std::vector<Sent> SentSinceMark()
    {
        std::vector<Sent> sent;
        const auto requests = Sim().CommandRequests();
        for (std::size_t i = m_mark; i < requests.size(); ++i) {
            // The link's own test command, after a reply came late, is no request of ours.
            if (requests[i][device::kCommandOffset] == device::kCmdTestCommand) {
                continue;
            }
            sent.push_back({requests[i][device::kCommandOffset], requests[i][device::kLengthOffset],
                            platform::Get16(requests[i], device::kAddressOffset)});
        }
        return sent;
    }

    uint8_t KeyboardSetting(int profile, std::size_t offset)
    {
        return Sim().Memory().lighting[kLightingBlockSize * static_cast<std::size_t>(profile) + offset];
    }

    std::size_t m_mark = 0;
    std::unique_ptr<device::CommandSet> m_commands;
    std::unique_ptr<LightingController> m_lighting;
};

constexpr uint8_t kBegin = device::kCmdBeginConfig;
constexpr uint8_t kEnd = device::kCmdEndConfig;
constexpr uint8_t kWriteBlock = device::kCmdWriteLightingBytes;
constexpr uint8_t kWriteLamps = device::kCmdWriteLampArea;

TEST_F(LightingControllerTest, EachIntentWritesItsBytesInOneConfiguration)
{
    int read = -1;
    Lighting().Reload(LightingRead::Full, [&read](int result) { read = result; });
    ASSERT_EQ(read, 0);
    Lighting().SelectProfile(1);
    const int profileBase = 42;
    const int lampBase = 180;
    const struct {
        const char* name;
        std::function<void(LightingController&)> intent;
        std::vector<Sent> writes; // between begin and end; empty: nothing sent
    } cases[] = {
        {"unknown effect", [](LightingController& l) { l.SetEffect(40); }, {}},
        {"effect", [](LightingController& l) { l.SetEffect(kPerKeyEffect); }, {{kWriteBlock, 1, profileBase + 0}}},
        {"brightness", [](LightingController& l) { l.SetBrightness(4); }, {{kWriteBlock, 1, profileBase + 1}}},
        {"same brightness", [](LightingController& l) { l.SetBrightness(4); }, {}},
        {"speed", [](LightingController& l) { l.SetSpeed(0); }, {{kWriteBlock, 1, profileBase + 2}}},
        {"direction", [](LightingController& l) { l.SetDirection(0); }, {{kWriteBlock, 1, profileBase + 4}}},
        {"pattern", [](LightingController& l) { l.SetPattern(2, true); }, {{kWriteBlock, 1, profileBase + 3}}},
        {"pattern shown only", [](LightingController& l) { l.SetPattern(2, false); }, {}},
        {"pattern out of range", [](LightingController& l) { l.SetPattern(10, true); }, {}},
        {"tool", [](LightingController& l) { l.SetTool(kToolDarken); }, {{kWriteBlock, 1, profileBase + 16}}},
        {"report rate", [](LightingController& l) { l.SetReportRate(3); }, {{kWriteBlock, 1, profileBase + 15}}},
        {"report rate out of range", [](LightingController& l) { l.SetReportRate(4); }, {}},
        {"all lamps", [](LightingController& l) { l.SetAllLamps(true); }, {{kWriteLamps, 18, lampBase + 36}}},
        {"lamp", [](LightingController& l) { l.ToggleLamp(11); }, {{kWriteLamps, 1, lampBase + 36 + 1}}},
    };
    for (const auto& c : cases) {
        Mark();
        c.intent(Lighting());
        std::vector<Sent> expected;
        if (!c.writes.empty()) {
            expected.push_back({kBegin, 0, 0});
            expected.insert(expected.end(), c.writes.begin(), c.writes.end());
            expected.push_back({kEnd, 0, 0});
        }
        EXPECT_EQ(SentSinceMark(), expected) << c.name;
    }
    EXPECT_EQ(Lighting().Settings().effect, kPerKeyEffect);
    EXPECT_EQ(KeyboardSetting(1, kReportRateOffset), 3);
    EXPECT_EQ(KeyboardSetting(0, kReportRateOffset), 0) << "only the selected profile changed";
    EXPECT_FALSE(Lighting().IsLampLit(11)) << "the darken tool";
    EXPECT_TRUE(Lighting().IsLampLit(12));
}

TEST_F(LightingControllerTest, LampsChangeOnlyInThePerKeyEffect)
{
    Lighting().Reload(LightingRead::Full);
    Lighting().SetEffect(5);
    Mark();
    EXPECT_FALSE(Lighting().ToggleLamp(11));
    Lighting().SetEffect(40);
    EXPECT_FALSE(Lighting().ToggleLamp(11)) << "an unknown effect chosen is not the per-key one";
    EXPECT_TRUE(SentSinceMark().empty());
    Lighting().SetEffect(kPerKeyEffect);
    Lighting().SetPattern(5, true);
    EXPECT_TRUE(Lighting().ToggleLamp(11));
    EXPECT_TRUE(Lighting().IsLampLit(11));
    const auto lamps = Sim().Memory().lamps;
    EXPECT_EQ(lamps[18 * 5 + 1] & 0x08, 0x08) << "lamp 11 is bit 3 of the pattern's second byte";
}

TEST_F(LightingControllerTest, ReloadReadsTheLampsOfTheProfileOnlyWhenAskedAndOffered)
{
    Lighting().SelectProfile(2);
    for (const LightingRead what : {LightingRead::Full, LightingRead::SettingsOnly}) {
        Mark();
        int result = 1;
        Lighting().Reload(what, [&](int r) { result = r; });
        EXPECT_EQ(result, 0);
        std::vector<Sent> expected{{device::kCmdReadInfoBlock, 48, 0}, {kBegin, 0, 0}};
        if (what == LightingRead::Full) {
            for (const auto& [offset, length] : {std::pair{0, 54}, {54, 54}, {108, 54}, {162, 18}}) {
                expected.push_back({device::kCmdReadLampArea, length, 2 * 180 + offset});
            }
        }
        for (int profile = 0; profile < 3; ++profile) {
            expected.push_back({device::kCmdReadLightingBytes, 42, 42 * profile});
        }
        expected.push_back({kEnd, 0, 0});
        EXPECT_EQ(SentSinceMark(), expected);
    }
    const auto memory = Sim().Memory();
    for (int profile = 0; profile < 3; ++profile) {
        const LightingBlock block = Lighting().Block(profile);
        EXPECT_TRUE(std::equal(block.begin(), block.end(), memory.lighting.begin() + 42 * profile)) << profile;
    }
    const LampArea lamps = Lighting().Lamps(2);
    EXPECT_TRUE(std::equal(lamps.begin(), lamps.end(), memory.lamps.begin() + 2 * 180));
}

TEST_F(LightingControllerTest, UnreadableKeyboardEmptiesTheEffectsAndKeepsTheRest)
{
    Lighting().Reload(LightingRead::Full);
    const LightingBlock before = Lighting().Block(0);
    Sim().AddFault({device::kCmdReadInfoBlock, {Fault::Kind::Status, device::kStatusRefused}, dexlink::kEveryReply});
    int result = 0;
    Lighting().Reload(LightingRead::Full, [&](int r) { result = r; });
    EXPECT_EQ(result, -1);
    EXPECT_TRUE(Lighting().Effects().empty());
    EXPECT_EQ(Lighting().Block(0), before);
}

TEST_F(LightingControllerTest, ResetDefaultsWritesTheEffectThePatternsAndTheBlock)
{
    Lighting().Reload(LightingRead::Full);
    Lighting().SelectProfile(1);
    Mark();
    Lighting().ResetDefaults();
    std::vector<Sent> expected{{kBegin, 0, 0}, {kWriteBlock, 1, 42}, {kEnd, 0, 0}, {kBegin, 0, 0}};
    for (int offset = 0; offset < 180; offset += 45) {
        expected.push_back({kWriteLamps, 45, 180 + offset});
    }
    expected.insert(expected.end(), {{kEnd, 0, 0}, {kBegin, 0, 0}, {kWriteBlock, 35, 42}, {kEnd, 0, 0}});
    EXPECT_EQ(SentSinceMark(), expected);
    const auto defaults = DefaultLightingBlock();
    EXPECT_TRUE(std::equal(defaults.begin(), defaults.end(), Lighting().Block(1).begin()));
    EXPECT_EQ(Lighting().Lamps(1), DefaultLampPatterns());
}

// Jobs kept until the test runs them, as the window's keyboard thread would run them later.
class QueuedJobs {
public:
    void Post(LightingController::Job job) { m_jobs.push_back(std::move(job)); }
    void RunAll()
    {
        while (!m_jobs.empty()) {
            LightingController::Job job = std::move(m_jobs.front());
            m_jobs.pop_front();
            job();
        }
    }

private:
    std::deque<LightingController::Job> m_jobs;
};

TEST_F(LightingControllerTest, ChoicesMadeWhileAReadWaitsSurviveIt)
{
    QueuedJobs jobs;
    LightingController lighting(Commands(), [&jobs](LightingController::Job job) { jobs.Post(std::move(job)); });
    lighting.Reload(LightingRead::Full);
    jobs.RunAll();
    const int brightness = lighting.Settings().brightness;
    lighting.Reload(LightingRead::SettingsOnly);
    lighting.SetBrightness(brightness == 4 ? 0 : 4);
    EXPECT_NE(lighting.Settings().brightness, brightness) << "shown at once";
    jobs.RunAll();
    EXPECT_NE(lighting.Settings().brightness, brightness) << "the read, done before the write, keeps the choice";
    EXPECT_EQ(KeyboardSetting(0, kBrightnessOffset), lighting.Settings().brightness);
}

} // namespace
} // namespace tavrix::model
