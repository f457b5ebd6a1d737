#include <filesystem>
#include <fstream>
#include <iterator>

#include <gtest/gtest.h>
#include <unistd.h>

#include "hostile_files.h"
#include "sim/factory_defaults.h"
#include "sim/state_file.h"

namespace tavrix::sim {
namespace {

namespace fs = std::filesystem;

// Each region filled with its own byte, so a misplaced one shows.
KeyboardMemory MarkedMemory()
{
    KeyboardMemory memory = FactoryMemory();
    memory.info[0] = 0xA1;
    memory.info[kInfoProfileAt] = 2;
    memory.info[kInfoExtraUnitsAt] = 2;
    memory.defaultKeys.fill(0xB1);
    for (std::size_t p = 0; p < memory.keyTables.size(); ++p) {
        memory.keyTables[p].fill(static_cast<uint8_t>(0xC0 + p));
    }
    memory.lighting.fill(0xD1);
    memory.lamps.fill(0xE1);
    memory.extra.assign(256, 0xF1);
    return memory;
}

std::vector<uint8_t> ReadFile(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteFile(const fs::path& path, const std::vector<uint8_t>& bytes)
{
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

class StateFileTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        m_folder = fs::temp_directory_path() /
                   (std::string("tavrix-state-") + info->name() + "-" + std::to_string(::getpid()));
        fs::remove_all(m_folder);
        fs::create_directories(m_folder);
    }
    void TearDown() override { fs::remove_all(m_folder); }

    fs::path Folder() const { return m_folder; }
    fs::path File() const { return m_folder / "keyboard.bin"; }

private:
    fs::path m_folder;
};

TEST(StateImageTest, RegionsLieAtTheirOffsets)
{
    const std::vector<uint8_t> image = EncodeStateImage(MarkedMemory());
    ASSERT_EQ(image.size(), 2018u + 256u);
    EXPECT_EQ(std::string(image.begin(), image.begin() + 8), "TVXSIM01");
    struct Region {
        std::size_t offset;
        std::size_t size;
        uint8_t mark;
    };
    const Region regions[] = {{56, 324, 0xB1},   {380, 324, 0xC0},  {704, 324, 0xC1}, {1028, 324, 0xC2},
                              {1352, 126, 0xD1}, {1478, 540, 0xE1}, {2018, 256, 0xF1}};
    for (const Region& region : regions) {
        EXPECT_TRUE(std::all_of(image.begin() + region.offset, image.begin() + region.offset + region.size,
                                [&](uint8_t b) { return b == region.mark; }))
            << "region at " << region.offset;
    }
    EXPECT_EQ(image[8], 0xA1);
    EXPECT_EQ(image[8 + 10], 2);
    EXPECT_EQ(image[8 + 11], 2);
}

TEST(StateImageTest, DecodeGivesBackWhatWasEncoded)
{
    const KeyboardMemory memory = MarkedMemory();
    EXPECT_EQ(DecodeStateImage(EncodeStateImage(memory)), memory);
    EXPECT_EQ(DecodeStateImage(EncodeStateImage(FactoryMemory())), FactoryMemory());
}

struct DamageCase {
    const char* name;
    void (*damage)(std::vector<uint8_t>&);
};

class DamagedStateTest : public StateFileTest, public ::testing::WithParamInterface<DamageCase> {};

TEST_P(DamagedStateTest, IsSetAsideAndTheKeyboardStartsFresh)
{
    std::vector<uint8_t> bytes = EncodeStateImage(MarkedMemory());
    GetParam().damage(bytes);
    WriteFile(File(), bytes);

    const LoadedState loaded = LoadStateFile(File());
    EXPECT_EQ(loaded.source, LoadedState::Source::SetAside);
    EXPECT_EQ(loaded.memory, FactoryMemory());
    EXPECT_FALSE(fs::exists(File()));
    fs::path aside = File();
    aside += ".damaged";
    EXPECT_EQ(ReadFile(aside), bytes);
}

INSTANTIATE_TEST_SUITE_P(
    Damage, DamagedStateTest,
    ::testing::Values(DamageCase{"WrongMagic", [](std::vector<uint8_t>& b) { b[7] = '2'; }},
                      DamageCase{"OneByteShort", [](std::vector<uint8_t>& b) { b.pop_back(); }},
                      DamageCase{"OneByteLong", [](std::vector<uint8_t>& b) { b.push_back(0); }},
                      DamageCase{"CapacityDisagreesWithTheSize", [](std::vector<uint8_t>& b) { b[8 + 11] = 3; }},
                      DamageCase{"ProfileOutOfRange", [](std::vector<uint8_t>& b) { b[8 + 10] = 3; }},
                      DamageCase{"ShorterThanTheHeader", [](std::vector<uint8_t>& b) { b.resize(100); }},
                      DamageCase{"Empty", [](std::vector<uint8_t>& b) { b.clear(); }}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(StateFileTest, MissingFileMeansAFactoryFreshKeyboard)
{
    const LoadedState loaded = LoadStateFile(File());
    EXPECT_EQ(loaded.source, LoadedState::Source::Missing);
    EXPECT_EQ(loaded.memory, FactoryMemory());
}

TEST_F(StateFileTest, SavedStateLoadsBackAndLeavesNoTemporaryFile)
{
    const fs::path nested = Folder() / "PL3094V" / "sim-keyboard.bin";
    ASSERT_TRUE(SaveStateFile(nested, MarkedMemory()));
    KeyboardMemory changed = MarkedMemory();
    changed.lighting[5] = 0;
    ASSERT_TRUE(SaveStateFile(nested, changed));

    const LoadedState loaded = LoadStateFile(nested);
    EXPECT_EQ(loaded.source, LoadedState::Source::File);
    EXPECT_EQ(loaded.memory, changed);
    EXPECT_EQ(std::distance(fs::directory_iterator(nested.parent_path()), fs::directory_iterator()), 1);
}

TEST_F(StateFileTest, SaveThatCannotWriteFailsAndKeepsTheOldFile)
{
    ASSERT_TRUE(SaveStateFile(File(), FactoryMemory()));
    const std::string before = Fingerprint(File());
    fs::permissions(Folder(), fs::perms::owner_read | fs::perms::owner_exec);
    {
        NoFileOverride asAnyUser;
        EXPECT_FALSE(SaveStateFile(File(), MarkedMemory()));
    }
    fs::permissions(Folder(), fs::perms::owner_all);
    EXPECT_EQ(Fingerprint(File()), before);
    EXPECT_EQ(std::distance(fs::directory_iterator(Folder()), fs::directory_iterator()), 1) << "no temporary left";
}

TEST_F(StateFileTest, SaveNeverFollowsALinkAtATemporaryName)
{
    const fs::path victim = Folder() / "victim";
    WriteFile(victim, {'k', 'e', 'e', 'p'});
    // Where earlier versions put their temporary file: a name anybody could guess.
    fs::path planted = File();
    planted += ".tmp" + std::to_string(::getpid());
    fs::create_symlink(victim, planted);

    ASSERT_TRUE(SaveStateFile(File(), MarkedMemory()));
    EXPECT_EQ(ReadFile(victim), (std::vector<uint8_t>{'k', 'e', 'e', 'p'}));
    EXPECT_EQ(LoadStateFile(File()).memory, MarkedMemory());
}

class HostileStateTest : public StateFileTest, public ::testing::WithParamInterface<HostileCase> {};

// Nothing blocks, throws or is lost: a huge file is no state file and is set aside like a damaged
// one; anything else is left exactly as it is and the keyboard runs from factory memory.
TEST_P(HostileStateTest, GivesAFreshKeyboardAndLosesNothing)
{
    const std::vector<uint8_t> image = EncodeStateImage(MarkedMemory());
    const HostileFile hostile(File(), GetParam().kind, std::string(image.begin(), image.end()));
    const std::string before = Fingerprint(File());
    const uint64_t readBefore = BytesReadSoFar();

    const LoadedState loaded = LoadStateFile(File());

    EXPECT_LT(BytesReadSoFar() - readBefore, 1u << 20);
    EXPECT_EQ(loaded.memory, FactoryMemory());
    fs::path aside = File();
    aside += ".damaged";
    if (GetParam().kind == Hostile::Huge) {
        EXPECT_EQ(loaded.source, LoadedState::Source::SetAside);
        EXPECT_EQ(Fingerprint(aside), before);
    } else {
        EXPECT_EQ(loaded.source, LoadedState::Source::Unreadable);
        EXPECT_EQ(Fingerprint(File()), before);
        EXPECT_FALSE(fs::exists(aside));
    }
}

INSTANTIATE_TEST_SUITE_P(Hostile, HostileStateTest, ::testing::ValuesIn(kHostileCases),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace tavrix::sim
