#include <array>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>

#include <gtest/gtest.h>
#include <unistd.h>

#include "sim/factory_defaults.h"
#include "sim/sim_backend.h"
#include "sim/state_file.h"

namespace tavrix::dexlink {
namespace {

namespace fs = std::filesystem;

constexpr DeviceSelector kCommand{DEX_MATCH_ALL,          DEX_VENDOR_ID,     DEX_PRODUCT_ID,
                                  DEX_COMMAND_USAGE_PAGE, DEX_COMMAND_USAGE, 0};

// Counts the replies; the backend delivers them from the writing thread.
class CountingSink : public EventSink {
public:
    void Deliver(Event event, std::chrono::microseconds) override
    {
        if (event.kind == Event::Kind::Data) {
            ++replies;
        }
    }
    int replies = 0;
};

// Sets an environment variable for the life of the object and puts back what was there.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const char* value) : m_name(name)
    {
        if (const char* old = std::getenv(name)) {
            m_old = old;
        }
        if (value) {
            ::setenv(name, value, 1);
        } else {
            ::unsetenv(name);
        }
    }
    ~ScopedEnv()
    {
        if (m_old) {
            ::setenv(m_name.c_str(), m_old->c_str(), 1);
        } else {
            ::unsetenv(m_name.c_str());
        }
    }

private:
    std::string m_name;
    std::optional<std::string> m_old;
};

std::array<uint8_t, 64> Frame(uint8_t command, uint8_t length = 0, uint16_t address = 0, uint8_t fill = 0)
{
    std::array<uint8_t, 64> frame{
        4, 0, 0, command, length, static_cast<uint8_t>(address & 0xFF), static_cast<uint8_t>(address >> 8)};
    // The length byte may be a command's parameter (boot mode's 0xEE): fill no further than the data.
    std::fill(frame.begin() + 8, frame.begin() + 8 + std::min<std::size_t>(length, 56), fill);
    return frame;
}

class SimBackendStateTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        m_folder = fs::temp_directory_path() /
                   (std::string("tavrix-simbackend-") + info->name() + "-" + std::to_string(::getpid()));
        fs::remove_all(m_folder);
        fs::create_directories(m_folder);
    }
    void TearDown() override { fs::remove_all(m_folder); }

    fs::path Folder() const { return m_folder; }
    fs::path File() const { return m_folder / "keyboard.bin"; }

    CountingSink m_sink;

private:
    fs::path m_folder;
};

TEST_F(SimBackendStateTest, ConfigurationSurvivesARestart)
{
    ScopedEnv state("DEXLINK_SIM_STATE", File().c_str());
    {
        SimBackend backend(m_sink);
        ASSERT_EQ(backend.Write(kCommand, Frame(0x01)), 1);
        ASSERT_EQ(backend.Write(kCommand, Frame(0x08, 56, 512, 0x5A)), 1);
        EXPECT_FALSE(fs::exists(File())); // nothing committed before the configuration ends
        ASSERT_EQ(backend.Write(kCommand, Frame(0x02)), 1);
        EXPECT_TRUE(fs::exists(File()));
    }
    SimBackend restarted(m_sink);
    const sim::KeyboardMemory memory = restarted.Memory();
    EXPECT_TRUE(std::all_of(memory.keyTables[1].begin(), memory.keyTables[1].begin() + 56,
                            [](uint8_t b) { return b == 0x5A; }));
    EXPECT_EQ(memory.keyTables[0], sim::DefaultKeyTable());
}

TEST_F(SimBackendStateTest, EmptyPathKeepsTheKeyboardInMemoryOnly)
{
    ScopedEnv state("DEXLINK_SIM_STATE", "");
    ScopedEnv data("XDG_DATA_HOME", Folder().c_str());
    SimBackend backend(m_sink);
    EXPECT_TRUE(backend.StatePath().empty());
    ASSERT_EQ(backend.Write(kCommand, Frame(0x02)), 1);
    EXPECT_TRUE(fs::is_empty(Folder()));
}

struct DefaultPathCase {
    const char* name;
    bool xdgSet;
    fs::path relative;
};

class SimBackendDefaultPathTest : public SimBackendStateTest, public ::testing::WithParamInterface<DefaultPathCase> {};

TEST_P(SimBackendDefaultPathTest, StateLivesInTheDataFolder)
{
    ScopedEnv state("DEXLINK_SIM_STATE", nullptr);
    ScopedEnv data("XDG_DATA_HOME", GetParam().xdgSet ? Folder().c_str() : nullptr);
    ScopedEnv home("HOME", Folder().c_str());
    SimBackend backend(m_sink);
    EXPECT_EQ(backend.StatePath(), Folder() / GetParam().relative);
}

INSTANTIATE_TEST_SUITE_P(Environment, SimBackendDefaultPathTest,
                         ::testing::Values(DefaultPathCase{"XdgDataHome", true, "PL3094V/sim-keyboard.bin"},
                                           DefaultPathCase{"HomeFallback", false,
                                                           ".local/share/PL3094V/sim-keyboard.bin"}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(SimBackendStateTest, DamagedFileIsSetAsideAndTheKeyboardStartsFresh)
{
    {
        std::ofstream out(File(), std::ios::binary);
        out << "not a keyboard";
    }
    ScopedEnv state("DEXLINK_SIM_STATE", File().c_str());
    SimBackend backend(m_sink);
    EXPECT_EQ(backend.Memory(), sim::FactoryMemory());
    fs::path aside = File();
    aside += ".damaged";
    EXPECT_TRUE(fs::exists(aside));
    ASSERT_EQ(backend.Write(kCommand, Frame(0x02)), 1);
    EXPECT_EQ(sim::LoadStateFile(File()).source, sim::LoadedState::Source::File);
}

TEST_F(SimBackendStateTest, ReplugLeavesBootMode)
{
    ScopedEnv state("DEXLINK_SIM_STATE", "");
    SimBackend backend(m_sink);
    ASSERT_EQ(backend.Write(kCommand, Frame(0xEE, 0xEE)), 1);
    ASSERT_EQ(backend.Write(kCommand, Frame(0x0D)), 1);
    EXPECT_EQ(m_sink.replies, 0);
    backend.Unplug();
    backend.Replug();
    ASSERT_EQ(backend.Write(kCommand, Frame(0x0D)), 1);
    EXPECT_EQ(m_sink.replies, 1);
}

// Keeps what the backend hands on, with the delay it asked for.
class RecordingSink : public EventSink {
public:
    void Deliver(Event event, std::chrono::microseconds delay) override
    {
        events.push_back(std::move(event));
        delays.push_back(delay);
    }
    std::vector<Event> events;
    std::vector<std::chrono::microseconds> delays;
};

TEST(SimBackendFaultsTest, FaultsFromTheEnvironmentReachTheirCommandsOnly)
{
    ScopedEnv state("DEXLINK_SIM_STATE", "");
    ScopedEnv faults("DEXLINK_SIM_FAULTS", "drop 0x0F x2; refuse 0x07 always; unplug 0x08 after 2; profile 7; bad");
    RecordingSink sink;
    SimBackend backend(sink);

    ASSERT_EQ(backend.Write(kCommand, Frame(0x0F, 56)), 1);
    ASSERT_EQ(backend.Write(kCommand, Frame(0x03, 48)), 1);
    ASSERT_EQ(backend.Write(kCommand, Frame(0x0F, 56)), 1);
    ASSERT_EQ(backend.Write(kCommand, Frame(0x0F, 56)), 1);
    ASSERT_EQ(sink.events.size(), 2u) << "two default-table replies dropped";
    EXPECT_EQ(sink.events[0].bytes[3], 0x03);
    EXPECT_EQ(sink.events[0].bytes[8 + 10], 7) << "the information block names profile 7";
    EXPECT_EQ(sink.events[1].bytes[3], 0x0F);

    for (int i = 0; i < 3; ++i) {
        ASSERT_EQ(backend.Write(kCommand, Frame(0x07, 56)), 1);
        EXPECT_EQ(sink.events.back().bytes[7], 0xFF) << "refused every time";
    }
    ASSERT_EQ(backend.Write(kCommand, Frame(0x08, 56)), 1);
    EXPECT_EQ(backend.DeviceCount(kCommand), 1);
    ASSERT_EQ(backend.Write(kCommand, Frame(0x08, 56)), 1);
    EXPECT_EQ(backend.DeviceCount(kCommand), 0) << "gone after its second key-table chunk";
    EXPECT_EQ(sink.events.back().kind, Event::Kind::DeviceCount);
    EXPECT_EQ(backend.Write(kCommand, Frame(0x08, 56)), -1);
}

TEST(SimBackendFaultsTest, ADelayedReplyHoldsBackTheNextOne)
{
    ScopedEnv state("DEXLINK_SIM_STATE", "");
    ScopedEnv faults("DEXLINK_SIM_FAULTS", "delay 0x0D 200ms");
    RecordingSink sink;
    SimBackend backend(sink);
    ASSERT_EQ(backend.Write(kCommand, Frame(0x0D)), 1);
    ASSERT_EQ(backend.Write(kCommand, Frame(0x0D)), 1);
    ASSERT_EQ(sink.delays.size(), 2u);
    EXPECT_GE(sink.delays[0], std::chrono::milliseconds(199));
    EXPECT_GE(sink.delays[1], std::chrono::milliseconds(150)) << "queued behind the late reply";
}

} // namespace
} // namespace tavrix::dexlink
