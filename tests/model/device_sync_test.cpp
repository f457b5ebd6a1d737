#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <mutex>
#include <thread>

#include <gtest/gtest.h>

#include "allocation_failure.h"
#include "device/command_set.h"
#include "model/device_sync.h"
#include "model/key_code.h"
#include "model/lighting_controller.h"
#include "model/macro_area.h"
#include "sim/factory_defaults.h"
#include "sim/state_file.h"
#include "sim_link_fixture.h"

namespace tavrix::model {
namespace {

using Fault = dexlink::SimBackend::ReplyFault;

constexpr uint16_t kKeyA = 0x01E;
constexpr uint16_t kKeyB = 0x030;
constexpr uint16_t kKeyC = 0x02E;

// What the main window would do, recorded.
class FakeSyncHost : public SyncHost {
public:
    std::function<void()> onArrival;
    std::function<void()> onRemoval;

    std::u16string Text(std::string_view key) const override { return std::u16string(key.begin(), key.end()); }
    void ShowMessage(const std::u16string& text) override
    {
        Record("message " + std::string(text.begin(), text.end()));
    }
    bool IsInitialisationComplete() const override { return true; }
    void OnKeyboardArrived() override
    {
        Record("arrived");
        if (onArrival) {
            onArrival();
        }
    }
    void OnKeyboardRemoved() override
    {
        Record("removed");
        if (onRemoval) {
            onRemoval();
        }
    }
    void ShowConnected(bool connected) override { Record(connected ? "connected" : "disconnected"); }
    void ShowWindow() override { Record("open"); }
    bool IsStartHidden() const override { return m_startHidden; }
    void SetStartHidden() override { m_startHidden = true; }
    void OnModelReplaced() override { Record("model replaced"); }
    void OnNothingToApply() override { Record("nothing to apply"); }

    std::vector<std::string> Events() const
    {
        std::lock_guard lock(m_mutex);
        return m_events;
    }
    bool Saw(const std::string& event) const
    {
        const auto events = Events();
        return std::find(events.begin(), events.end(), event) != events.end();
    }
    void Forget()
    {
        std::lock_guard lock(m_mutex);
        m_events.clear();
    }

private:
    void Record(std::string event)
    {
        std::lock_guard lock(m_mutex);
        m_events.push_back(std::move(event));
    }

    mutable std::mutex m_mutex;
    std::vector<std::string> m_events;
    std::atomic<bool> m_startHidden{false};
};

MacroRecord Macro(std::u16string_view name, int actions)
{
    MacroRecord macro;
    macro.SetName(name);
    for (int i = 0; i < actions; ++i) {
        macro.actions[static_cast<size_t>(i)] = {static_cast<uint32_t>(10 * (i + 1)), kKeyA,
                                                 i % 2 ? kMacroRelease : kMacroPress};
    }
    macro.actionCount = static_cast<uint16_t>(actions);
    return macro;
}

class DeviceSyncTest : public testing::SimLinkTest {
protected:
    void SetUp() override
    {
        m_dataHome =
            std::filesystem::temp_directory_path() / ("tavrix-sync-" + std::to_string(::getpid()) + "-" +
                                                      ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(m_dataHome);
        ::setenv("XDG_DATA_HOME", m_dataHome.c_str(), 1);
        SimLinkTest::SetUp();
        MakeSync();
    }

    void TearDown() override
    {
        Host().ForwardConnections(nullptr);
        SimLinkTest::TearDown();
        m_sync.reset();
        m_commands.reset();
        std::filesystem::remove_all(m_dataHome);
    }

    void MakeSync()
    {
        m_sync.reset();
        m_commands = std::make_unique<device::CommandSet>(Link());
        m_sync = std::make_unique<DeviceSync>(*m_commands, m_host, m_modelLock, m_applyLock);
        m_host.onArrival = [this] { m_sync->ReadKeyboardIntoModel(false); };
    }

    // Restarts against a keyboard whose memory the test chose.
    void RestartWith(const sim::KeyboardMemory& memory)
    {
        const auto image = sim::EncodeStateImage(memory);
        std::ofstream(StateFile(), std::ios::binary)
            .write(reinterpret_cast<const char*>(image.data()), static_cast<std::streamsize>(image.size()));
        Restart();
        MakeSync();
    }

    // An edited model with a key remapped, a key disabled and a key playing a macro, in three
    // profiles, and two named macros.
    void EditModel()
    {
        std::lock_guard lock(m_modelLock);
        ConfigModel& model = m_sync->Model();
        model.image.blocks[0][KeyIndexOf(kKeyA)] = {kTypeKey, 0, kKeyB};
        model.image.blocks[1][KeyIndexOf(kKeyB)] = {kTypeDisabled};
        model.image.blocks[2][KeyIndexOf(kKeyC)] = {kTypeMacro, 0, 2};
        std::vector<MacroRecord> macros{Macro(u"first", 4), Macro(u"second", 6)};
        macros[0].number = 1;
        macros[1].number = 2;
        ASSERT_TRUE(model.macros.Assign(macros));
    }

    std::vector<uint8_t> CommandsSent() const
    {
        std::vector<uint8_t> commands;
        for (const auto& request : const_cast<DeviceSyncTest*>(this)->Sim().CommandRequests()) {
            commands.push_back(request[device::kCommandOffset]);
        }
        return commands;
    }

    std::vector<uint8_t> CacheBytes() const
    {
        std::ifstream in(CacheFilePath(), std::ios::binary);
        return {std::istreambuf_iterator<char>(in), {}};
    }

    std::filesystem::path m_dataHome;
    FakeSyncHost m_host;
    std::recursive_mutex m_modelLock;
    std::recursive_mutex m_applyLock;
    std::unique_ptr<device::CommandSet> m_commands;
    std::unique_ptr<DeviceSync> m_sync;
};

TEST_F(DeviceSyncTest, ArrivalReadsTheKeyboardIntoTheModel)
{
    m_sync->OnConnectionChanged(1);

    EXPECT_EQ(m_sync->DefaultKeyTable(), sim::DefaultKeyTable());
    EXPECT_EQ(m_sync->ExtraAreaCapacity(), sim::kFactoryExtraUnits * 128u);
    const auto events = m_host.Events();
    EXPECT_EQ(events, (std::vector<std::string>{"arrived", "model replaced", "nothing to apply", "connected", "open"}));
    EXPECT_TRUE(std::filesystem::exists(CacheFilePath()));
}

TEST_F(DeviceSyncTest, AppliedModelReadsBackAfterAReplug)
{
    m_sync->OnConnectionChanged(1);
    EditModel();
    ConfigModel edited;
    {
        std::lock_guard lock(m_modelLock);
        edited = m_sync->Model();
    }
    ASSERT_EQ(m_sync->ApplyToKeyboard(true), 1);

    Sim().Unplug();
    m_sync->OnConnectionChanged(0);
    Restart();
    MakeSync();
    m_sync->OnConnectionChanged(1);

    std::lock_guard lock(m_modelLock);
    const ConfigModel& read = m_sync->Model();
    for (int profile = 0; profile < 3; ++profile) {
        EXPECT_EQ(read.image.blocks[profile], edited.image.blocks[profile]) << "profile " << profile;
    }
    ASSERT_EQ(read.macros.Count(), 2u);
    for (size_t i = 0; i < 2; ++i) {
        const MacroRecord& got = read.macros.Records()[i];
        const MacroRecord& want = edited.macros.Records()[i];
        EXPECT_EQ(got.Name(), want.Name());
        EXPECT_EQ(got.number, want.number);
        EXPECT_EQ(got.actionCount, want.actionCount);
        EXPECT_EQ(got.actions, want.actions);
    }
}

TEST_F(DeviceSyncTest, AHundredLargeMacrosSurviveApplyAndReadBack)
{
    m_sync->OnConnectionChanged(1);
    {
        std::lock_guard lock(m_modelLock);
        std::vector<MacroRecord> macros;
        for (int i = 0; i < 100; ++i) {
            macros.push_back(Macro(u"m", 36));
            macros.back().number = static_cast<uint16_t>(i + 1);
        }
        ASSERT_TRUE(m_sync->Model().macros.Assign(macros));
        ASSERT_LE(MacroAreaSizes(macros).withNames, m_sync->ExtraAreaCapacity());
    }
    ASSERT_EQ(m_sync->ApplyToKeyboard(false), 1);
    m_sync->ReadKeyboardIntoModel(false);

    std::lock_guard lock(m_modelLock);
    ASSERT_EQ(m_sync->Model().macros.Count(), 100u);
    EXPECT_EQ(m_sync->Model().macros.Records()[99].actions, Macro(u"m", 36).actions);
}

TEST_F(DeviceSyncTest, SameCountTwiceDoesNothing)
{
    m_sync->OnConnectionChanged(1);
    m_host.Forget();
    const auto sent = Sim().CommandRequests().size();
    m_sync->OnConnectionChanged(1);
    EXPECT_TRUE(m_host.Events().empty());
    EXPECT_EQ(Sim().CommandRequests().size(), sent);
}

TEST_F(DeviceSyncTest, RemovalAndReturnThroughTheDeviceLink)
{
    Host().ForwardConnections([this](int count) { m_sync->OnConnectionChanged(count); });
    Sim().Unplug();
    ASSERT_TRUE(Host().WaitFor("connection", 2));
    EXPECT_TRUE(m_host.Events().empty()) << "no keyboard was seen yet: nothing changed";

    Sim().Replug();
    ASSERT_TRUE(Host().WaitFor("connection", 3));
    EXPECT_EQ(m_commands->GetCurrentProfile(), 0);
    m_host.Forget();

    Sim().Unplug();
    ASSERT_TRUE(Host().WaitFor("connection", 4));
    EXPECT_EQ(m_host.Events(), (std::vector<std::string>{"removed", "disconnected"}));
    EXPECT_EQ(m_sync->LastDeviceCount(), 0);

    m_host.Forget();
    Sim().Replug();
    ASSERT_TRUE(Host().WaitFor("connection", 5));
    EXPECT_TRUE(m_host.Saw("arrived"));
    EXPECT_TRUE(m_host.Saw("connected"));
    EXPECT_FALSE(m_host.Saw("open")) << "the window opens by itself only once";
}

TEST_F(DeviceSyncTest, RemovalForgetsTheCurrentProfile)
{
    m_sync->OnConnectionChanged(1);
    ASSERT_EQ(m_commands->GetCurrentProfile(), 0);
    m_commands->SetCurrentProfile(2);
    Sim().Unplug();
    m_sync->OnConnectionChanged(0);
    Sim().Replug();
    const auto before = Sim().CommandRequests().size();
    EXPECT_EQ(m_commands->GetCurrentProfile(), 2);
    EXPECT_GT(Sim().CommandRequests().size(), before) << "the profile is asked for again";
}

TEST_F(DeviceSyncTest, AreaWithoutMagicLoadsNoMacros)
{
    sim::KeyboardMemory memory = sim::FactoryMemory();
    std::fill(memory.extra.begin(), memory.extra.begin() + 64, 0x11);
    RestartWith(memory);
    m_sync->OnConnectionChanged(1);
    std::lock_guard lock(m_modelLock);
    EXPECT_EQ(m_sync->Model().macros.Count(), 0u);
}

TEST_F(DeviceSyncTest, AreaTotalBeyondTheCapacityIsNotReadPast)
{
    sim::KeyboardMemory memory = sim::FactoryMemory();
    ASSERT_GE(memory.extra.size(), 4u);
    memory.extra[2] = 0xFF; // total length 0xFFFF, far beyond the 16 KiB the keyboard has
    memory.extra[3] = 0xFF;
    RestartWith(memory);
    m_sync->OnConnectionChanged(1);
    EXPECT_TRUE(m_host.Saw("model replaced"));
    std::lock_guard lock(m_modelLock);
    EXPECT_EQ(m_sync->Model().macros.Count(), 0u);
}

TEST_F(DeviceSyncTest, ApplyWritesTheCurrentProfileAfterTheMacros)
{
    m_sync->OnConnectionChanged(1);
    m_commands->SetCurrentProfile(2);
    EditModel();
    const auto before = Sim().CommandRequests().size();
    ASSERT_EQ(m_sync->ApplyToKeyboard(false), 1);

    const auto requests = Sim().CommandRequests();
    std::vector<uint8_t> commands;
    std::vector<uint16_t> keyTableAddresses;
    for (size_t i = before; i < requests.size(); ++i) {
        commands.push_back(requests[i][device::kCommandOffset]);
        if (requests[i][device::kCommandOffset] == device::kCmdWriteKeyTable) {
            keyTableAddresses.push_back(static_cast<uint16_t>(requests[i][5] | requests[i][6] << 8));
        }
    }
    ASSERT_FALSE(commands.empty());
    EXPECT_EQ(commands.front(), device::kCmdBeginConfig);
    EXPECT_EQ(commands[1], device::kCmdWriteExtraArea);
    EXPECT_EQ(commands.back(), device::kCmdEndConfig);
    EXPECT_EQ(keyTableAddresses, (std::vector<uint16_t>{1024, 1080, 1136, 1192, 1248, 1304}));
    const auto position = static_cast<size_t>(sim::DefaultKeyPosition(kKeyC)) * 3;
    const sim::KeyboardMemory memory = Sim().Memory();
    const auto& table = memory.keyTables[2];
    EXPECT_EQ((std::array<uint8_t, 3>{table[position], table[position + 1], table[position + 2]}),
              (std::array<uint8_t, 3>{5, 1, 1}))
        << "C plays the macro in slot 1";
}

TEST_F(DeviceSyncTest, RestoreWritesEveryProfile)
{
    m_sync->OnConnectionChanged(1);
    EditModel();
    const auto before = Sim().CommandRequests().size();
    ASSERT_EQ(m_sync->ApplyToKeyboard(true), 1);
    int keyTableWrites = 0;
    const auto requests = Sim().CommandRequests();
    for (size_t i = before; i < requests.size(); ++i) {
        keyTableWrites += requests[i][device::kCommandOffset] == device::kCmdWriteKeyTable;
    }
    EXPECT_EQ(keyTableWrites, 18);
}

// Two macros taking 1000 bytes of a 1024-byte area without names, 1100 with them.
std::vector<MacroRecord> TightMacros()
{
    std::vector<MacroRecord> macros{Macro(std::u16string(25, u'n'), 121), Macro(std::u16string(25, u'm'), 122)};
    macros[0].number = 1;
    macros[1].number = 2;
    return macros;
}

TEST_F(DeviceSyncTest, TightAreaIsWrittenWithoutNames)
{
    sim::KeyboardMemory memory = sim::FactoryMemory();
    memory.info[11] = 8;
    memory.extra = sim::FactoryExtraArea(1024);
    RestartWith(memory);
    m_sync->OnConnectionChanged(1);
    ASSERT_EQ(m_sync->ExtraAreaCapacity(), 1024u);
    const auto macros = TightMacros();
    ASSERT_EQ(MacroAreaSizes(macros).withoutNames, 1000u);
    ASSERT_EQ(MacroAreaSizes(macros).withNames, 1100u);
    {
        std::lock_guard lock(m_modelLock);
        ASSERT_TRUE(m_sync->Model().macros.Assign(macros));
    }
    m_host.Forget();
    EXPECT_EQ(m_sync->ApplyToKeyboard(false), 1);
    EXPECT_EQ(m_host.Events(), std::vector<std::string>{"message EXTRA_PROFILE_SPACE_TIGHT"});
    EXPECT_EQ(Sim().Memory().extra[2] | Sim().Memory().extra[3] << 8, 1000);
}

TEST_F(DeviceSyncTest, TooLongMacrosWriteNothing)
{
    sim::KeyboardMemory memory = sim::FactoryMemory();
    memory.info[11] = 7;
    memory.extra = sim::FactoryExtraArea(896);
    RestartWith(memory);
    m_sync->OnConnectionChanged(1);
    {
        std::lock_guard lock(m_modelLock);
        ASSERT_TRUE(m_sync->Model().macros.Assign(TightMacros()));
    }
    m_host.Forget();
    const auto before = Sim().CommandRequests().size();
    EXPECT_EQ(m_sync->ApplyToKeyboard(false), 0);
    EXPECT_EQ(m_host.Events(), std::vector<std::string>{"message EXTRA_MACRO_TOO_LONG"});
    EXPECT_EQ(Sim().CommandRequests().size(), before);
}

struct BrokenApply {
    const char* name;
    std::function<void(dexlink::SimBackend&)> breakIt;
};

class DeviceSyncBrokenApplyTest : public DeviceSyncTest, public ::testing::WithParamInterface<BrokenApply> {};

TEST_P(DeviceSyncBrokenApplyTest, FailureIsReportedAndNothingOfOursIsLost)
{
    m_sync->OnConnectionChanged(1);
    EditModel();
    ConfigModel edited;
    {
        std::lock_guard lock(m_modelLock);
        ASSERT_TRUE(SaveCacheFile(m_sync->Model()));
        edited = m_sync->Model();
    }
    const auto cache = CacheBytes();

    GetParam().breakIt(Sim());
    EXPECT_EQ(m_sync->ApplyToKeyboard(false), 0);

    std::lock_guard lock(m_modelLock);
    EXPECT_EQ(m_sync->Model().image, edited.image);
    EXPECT_EQ(m_sync->Model().macros, edited.macros);
    EXPECT_EQ(CacheBytes(), cache);
}

INSTANTIATE_TEST_SUITE_P(Failures, DeviceSyncBrokenApplyTest,
                         ::testing::Values(BrokenApply{"Unplugged", [](dexlink::SimBackend& sim) { sim.Unplug(); }},
                                           // Begin succeeds, the first extra-area chunk is refused three times.
                                           BrokenApply{"ExtraAreaRefused",
                                                       [](dexlink::SimBackend& sim) {
                                                           sim.QueueReplyFault({Fault::Kind::Status, 0}, 1);
                                                           sim.QueueReplyFault({Fault::Kind::Status, 0xFF}, 3);
                                                       }}),
                         [](const auto& info) { return std::string(info.param.name); });

using Entry = std::array<uint8_t, 3>;

Entry EntryOf(const sim::KeyboardMemory::KeyTable& table, uint16_t keyCode)
{
    const auto at = static_cast<size_t>(sim::DefaultKeyPosition(keyCode)) * 3;
    return {table[at], table[at + 1], table[at + 2]};
}

void SetEntry(sim::KeyboardMemory::KeyTable& table, uint16_t keyCode, const Entry& entry)
{
    const auto at = static_cast<size_t>(sim::DefaultKeyPosition(keyCode)) * 3;
    std::copy(entry.begin(), entry.end(), table.begin() + static_cast<std::ptrdiff_t>(at));
}

// The requests sent since the first count ones that write to the keyboard.
size_t WritesAfter(const std::vector<sim::Report>& requests, size_t first)
{
    static constexpr uint8_t kWrites[] = {device::kCmdBeginConfig, device::kCmdWriteExtraArea,
                                          device::kCmdWriteKeyTable, device::kCmdWriteInfoBlock};
    return static_cast<size_t>(std::count_if(
        requests.begin() + static_cast<std::ptrdiff_t>(first), requests.end(), [](const sim::Report& request) {
            return std::ranges::find(kWrites, request[device::kCommandOffset]) != std::end(kWrites);
        }));
}

TEST_F(DeviceSyncTest, LightingReadWhileAnApplyRunsWaitsForItsConfigurationToEnd)
{
    // What the keyboard's own lighting keys start (a read) must not open a configuration inside
    // the one an apply holds open on another thread.
    m_sync->OnConnectionChanged(1);
    EditModel();
    Sim().AddFault({device::kCmdWriteKeyTable, {Fault::Kind::Delay, 20000}, dexlink::kEveryReply});
    const std::size_t before = Sim().CommandRequests().size();
    int applied = 0;
    std::thread apply([&] { applied = m_sync->ApplyToKeyboard(false); });
    while (CommandsSent().size() == before || CommandsSent().back() != device::kCmdWriteKeyTable) {
        std::this_thread::yield();
    }
    LightingController lighting(*m_commands);
    int read = 1;
    lighting.Reload(LightingRead::SettingsOnly, [&](int result) { read = result; });
    apply.join();
    EXPECT_EQ(applied, 1);
    EXPECT_EQ(read, 0);
    EXPECT_EQ(testing::DeepestBracket(Sim().CommandRequests()), 1);
}

TEST_F(DeviceSyncTest, DefaultTableUnreadableOnArrivalIsReadAgainBeforeTheKeysAre)
{
    Sim().AddFault({device::kCmdReadDefaultTable, {Fault::Kind::Status, 0xFF}, 3});
    m_sync->OnConnectionChanged(1);
    EXPECT_TRUE(m_host.Saw("message MAIN_DEFAULT_MATRIX_PROMPT"));
    {
        std::lock_guard lock(m_modelLock);
        m_sync->Model().image.blocks[0][KeyIndexOf(kKeyA)] = {kTypeKey, 0, kKeyB};
    }
    ASSERT_EQ(m_sync->ApplyToKeyboard(false), 1);

    sim::KeyboardMemory::KeyTable expected = sim::DefaultKeyTable();
    SetEntry(expected, kKeyA, EntryOf(expected, kKeyB));
    EXPECT_EQ(Sim().Memory().keyTables[0], expected) << "only A changed; every other key kept its default";
}

TEST_F(DeviceSyncTest, ReplugWhileTheRemovalIsClosingTheEditorsEndsWithTheKeyboardRead)
{
    m_sync->OnConnectionChanged(1);
    m_host.onRemoval = [] { std::this_thread::sleep_for(std::chrono::milliseconds(200)); };
    Host().ForwardConnections([this](int count) { m_sync->OnConnectionChanged(count); });
    m_host.Forget();

    Sim().Unplug();
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    Sim().Replug();
    ASSERT_TRUE(Host().WaitFor("connection", 3));

    EXPECT_EQ(m_sync->LastDeviceCount(), 1);
    EXPECT_EQ(m_host.Events(), (std::vector<std::string>{"removed", "disconnected", "arrived", "model replaced",
                                                         "nothing to apply", "connected"}));
}

struct UnreadCase {
    const char* name;
    std::function<void(dexlink::SimBackend&)> breakIt;
    bool modelRead; // the keyboard itself could be read whole
};

class DeviceSyncUnreadTest : public DeviceSyncTest, public ::testing::WithParamInterface<UnreadCase> {};

TEST_P(DeviceSyncUnreadTest, OnlyAModelReadWholeIsWrittenBack)
{
    m_sync->OnConnectionChanged(1);
    EditModel();
    ASSERT_EQ(m_sync->ApplyToKeyboard(true), 1);
    const sim::KeyboardMemory before = Sim().Memory();

    m_commands->ForgetCurrentProfile();
    GetParam().breakIt(Sim());
    m_host.Forget();
    m_sync->ReadKeyboardIntoModel(false);
    {
        std::lock_guard lock(m_modelLock);
        m_sync->Model().image.blocks[0][KeyIndexOf(kKeyA)] = {kTypeKey, 0, kKeyC};
    }
    const size_t sent = Sim().CommandRequests().size();
    const int applied = m_sync->ApplyToKeyboard(false);

    const sim::KeyboardMemory after = Sim().Memory();
    const std::vector<MacroRecord> macros = DecodeMacroArea(after.extra, [](std::string_view) { return u""; });
    ASSERT_EQ(macros.size(), 2u) << "the keyboard's macros survive";
    EXPECT_EQ(macros[1].Name(), u"second");
    if (GetParam().modelRead) {
        EXPECT_EQ(applied, 1);
        EXPECT_EQ(EntryOf(after.keyTables[0], kKeyA), EntryOf(before.keyTables[0], kKeyC));
    } else {
        EXPECT_EQ(applied, 0);
        EXPECT_EQ(WritesAfter(Sim().CommandRequests(), sent), 0u);
        EXPECT_EQ(after, before);
        EXPECT_TRUE(m_host.Saw("message MAIN_MODEL_UNREAD_PROMPT"));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Faults, DeviceSyncUnreadTest,
    ::testing::Values(
        UnreadCase{"ProfileByteSeven", [](dexlink::SimBackend& sim) { sim.ReportCurrentProfile(7); }, false},
        UnreadCase{"KeyTableRefused",
                   [](dexlink::SimBackend& sim) {
                       sim.AddFault({device::kCmdReadKeyTable, {Fault::Kind::Status, 0xFF}, dexlink::kEveryReply});
                   },
                   false},
        UnreadCase{"ExtraAreaLost",
                   [](dexlink::SimBackend& sim) {
                       sim.AddFault({device::kCmdReadExtraArea, {Fault::Kind::Drop}, dexlink::kEveryReply});
                   },
                   false},
        UnreadCase{"CacheFileIsAFolder",
                   [](dexlink::SimBackend&) {
                       std::filesystem::remove(CacheFilePath());
                       std::filesystem::create_directories(CacheFilePath() / "in the way");
                   },
                   true},
        UnreadCase{"DataFolderIsAFile",
                   [](dexlink::SimBackend&) {
                       std::filesystem::remove_all(DataFolder());
                       std::ofstream(DataFolder()) << "in the way";
                   },
                   true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(DeviceSyncTest, AKeyWhoseMacroWasDroppedAsDamagedKeepsItsDefault)
{
    const std::vector<MacroRecord> stored{Macro(u"one", 2), Macro(u"two", 2), Macro(u"three", 2)};
    std::vector<uint8_t> area(MacroAreaSizes(stored).withNames);
    ASSERT_TRUE(EncodeMacroArea(stored, area, true));
    const size_t second = area[kMacroAreaHeaderSize + 2] | area[kMacroAreaHeaderSize + 3] << 8;
    area[second] = 0xFF; // an action count far beyond the area: the record is dropped
    area[second + 1] = 0xFF;
    sim::KeyboardMemory memory = sim::FactoryMemory();
    std::copy(area.begin(), area.end(), memory.extra.begin());
    SetEntry(memory.keyTables[0], kKeyA, {5, 1, 1});
    SetEntry(memory.keyTables[0], kKeyC, {5, 1, 2});
    RestartWith(memory);
    m_sync->OnConnectionChanged(1);
    {
        std::lock_guard lock(m_modelLock);
        const ProfileBlock& block = m_sync->Model().image.blocks[0];
        ASSERT_EQ(m_sync->Model().macros.Count(), 2u);
        EXPECT_EQ(block[KeyIndexOf(kKeyA)].type, kTypeDefault) << "shown unassigned";
        EXPECT_EQ(block[KeyIndexOf(kKeyC)], (KeyAssignment{kTypeMacro, 0, 3}));
    }
    ASSERT_EQ(m_sync->ApplyToKeyboard(false), 1);
    const sim::KeyboardMemory after = Sim().Memory();
    EXPECT_EQ(EntryOf(after.keyTables[0], kKeyA), EntryOf(sim::DefaultKeyTable(), kKeyA));
    EXPECT_EQ(EntryOf(after.keyTables[0], kKeyC), (Entry{5, 1, 1})) << "macro 3 now sits in slot 1";
}

TEST_F(DeviceSyncTest, ApplyWithoutMemoryFailsAndWritesNothing)
{
    m_sync->OnConnectionChanged(1);
    EditModel();
    const size_t sent = Sim().CommandRequests().size();
    int applied = -1;
    {
        testing::ScopedAllocationFailure noMemory(MacroRecord::kSize);
        applied = m_sync->ApplyToKeyboard(false);
    }
    EXPECT_EQ(applied, 0);
    EXPECT_EQ(Sim().CommandRequests().size(), sent);
}

} // namespace
} // namespace tavrix::model
