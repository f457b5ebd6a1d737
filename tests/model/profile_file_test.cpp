#include <cstdlib>
#include <fstream>
#include <iterator>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "hostile_files.h"
#include "model/little_endian.h"
#include "model/profile_file.h"

namespace tavrix::model {
namespace {

namespace fs = std::filesystem;

class FakeHost : public ProfileFileHost {
public:
    std::u16string Text(std::string_view key) const override
    {
        return key == "PROFILE_FORMAT_ERROR" ? formatError : u"#Error";
    }
    void ShowMessage(const std::u16string& text) override { messages.push_back(text); }

    std::u16string formatError = u"Not a profile file: %s";
    std::vector<std::u16string> messages;
};

std::vector<uint8_t> ReadBytes(const fs::path& path)
{
    std::ifstream file(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(file), {});
}

void WriteBytes(const fs::path& path, const std::vector<uint8_t>& bytes)
{
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

// Sets the header's field and fixes the sum, so only the field's own check can refuse the file.
void PatchHeader16(std::vector<uint8_t>& bytes, size_t offset, uint16_t value)
{
    Put16(bytes, offset, value);
    bytes[31] = ProfileFileHeader::Sum(std::span<const uint8_t>(bytes).first<ProfileFileHeader::kSize>());
}

void PatchHeader32(std::vector<uint8_t>& bytes, size_t offset, uint32_t value)
{
    Put32(bytes, offset, value);
    bytes[31] = ProfileFileHeader::Sum(std::span<const uint8_t>(bytes).first<ProfileFileHeader::kSize>());
}

// Each test works in its own folder, which also serves as $XDG_DATA_HOME.
class ProfileFileTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        m_folder =
            fs::path(::testing::TempDir()) / ("tavrix_profile_" + std::to_string(::getpid()) + "_" + info->name());
        fs::remove_all(m_folder);
        fs::create_directories(m_folder);
        if (const char* old = std::getenv("XDG_DATA_HOME"))
            m_oldDataHome = old;
        ::setenv("XDG_DATA_HOME", m_folder.c_str(), 1);
    }

    void TearDown() override
    {
        if (m_oldDataHome)
            ::setenv("XDG_DATA_HOME", m_oldDataHome->c_str(), 1);
        else
            ::unsetenv("XDG_DATA_HOME");
        fs::remove_all(m_folder);
    }

    fs::path File(const std::string& name) const { return m_folder / name; }

    // A valid file: an empty model, optionally with one type-6 slot holding "abc".
    std::vector<uint8_t> EmptyFile(bool withText = false)
    {
        auto model = std::make_unique<ConfigModel>();
        if (withText) {
            model->image.Slot(5).type = kTypeNoOutputWithText;
            model->texts.Set(5, u"abc");
        }
        return EncodeProfileFile(*model);
    }

    fs::path m_folder;
    std::optional<std::string> m_oldDataHome;
    FakeHost m_host;
};

TEST(ProfileFileHeader, SumIsTheLowByteOfTheFirst31Bytes)
{
    std::array<uint8_t, ProfileFileHeader::kSize> bytes{};
    // 0x1234 = 18 x 0xFF + 0x46
    for (size_t i = 0; i < 18; ++i)
        bytes[i] = 0xFF;
    bytes[18] = 0x46;
    bytes[31] = 0x99;
    EXPECT_EQ(ProfileFileHeader::Sum(bytes), 0x34);
}

TEST_F(ProfileFileTest, NewFileIsTheEmptyModelImage)
{
    ASSERT_TRUE(WriteNewModelFile(File("new.fwc"), 1));
    const std::vector<uint8_t> bytes = ReadBytes(File("new.fwc"));
    ASSERT_EQ(bytes.size(), 32832u);
    const std::vector<uint8_t> header(bytes.begin(), bytes.begin() + 64);
    const std::vector<uint8_t> expected{0x46, 0x44, 0x20, 0x00, 0x03, 0x00, 0x01, 0x00, 0x40, 0x80, 0x00, 0x00, 0x00,
                                        0x08, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
                                        0x00, 0x00, 0x00, 0x00, 0x01, 0x77, 0x4B, 0x48, 0x20, 0x00, 0x20, 0x80, 0x00,
                                        0x00, 0x04, 0x00, 0x00, 0x02, 0x00, 0x00, 0x00, 0x00, 0x45, 0x0C, 0x8F, 0x76,
                                        0x4F, 0x1C, 0x0E, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00};
    EXPECT_EQ(header, expected);
    EXPECT_EQ(ValidateProfileFile(File("new.fwc"), m_host), kProfileValid);

    auto model = std::make_unique<ConfigModel>();
    ASSERT_TRUE(LoadProfileFile(File("new.fwc"), *model));
    // G-key codes in the first block only.
    EXPECT_EQ(model->image.Slot(GKeySlot(GKeyBank::B, 8)).gKeyCode, 0x1309);
    EXPECT_EQ(model->image.Slot(kSlotsPerBlock + GKeySlot(GKeyBank::A, 0)).gKeyCode, 0);
    EXPECT_EQ(model->image.header.flag, 1);
}

TEST_F(ProfileFileTest, ValidationRefusesEveryDamagedHeader)
{
    const struct {
        const char* what;
        void (*damage)(std::vector<uint8_t>&);
    } cases[] = {
        {"magic", [](auto& b) { PatchHeader16(b, 0, 0x4447); }},
        {"header size", [](auto& b) { PatchHeader16(b, 2, 31); }},
        {"format 3", [](auto& b) { PatchHeader16(b, 4, 4); }},
        {"format 1", [](auto& b) { PatchHeader16(b, 6, 0); }},
        {"total one more", [](auto& b) { PatchHeader32(b, 8, 32833); }},
        {"total one less", [](auto& b) { PatchHeader32(b, 8, 32831); }},
        {"slot count", [](auto& b) { PatchHeader16(b, 12, 2047); }},
        {"101 macros",
         [](auto& b) {
             PatchHeader16(b, 14, 101);
             PatchHeader32(b, 8, 32832 + 101 * 16512);
             b.resize(32832 + 101 * 16512);
         }},
        {"flag 2", [](auto& b) { PatchHeader16(b, 30, 2); }},
        {"sum", [](auto& b) { b[31] ^= 1; }},
        {"one macro, file cut before it",
         [](auto& b) {
             PatchHeader16(b, 14, 1);
             PatchHeader32(b, 8, 32832 + 16512);
         }},
        {"pool past the end of the file",
         [](auto& b) {
             PatchHeader32(b, 16, 8);
             PatchHeader32(b, 8, 32832 + 8);
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<uint8_t> bytes = EmptyFile();
        c.damage(bytes);
        WriteBytes(File("bad.fwc"), bytes);
        m_host.messages.clear();
        EXPECT_EQ(ValidateProfileFile(File("bad.fwc"), m_host), kProfileInvalid);
        ASSERT_EQ(m_host.messages.size(), 1u);
        EXPECT_EQ(m_host.messages[0], u"Not a profile file: " + File("bad.fwc").u16string());
    }
}

TEST_F(ProfileFileTest, MessageNamesAPathThatIsNotUtf8)
{
    std::vector<uint8_t> bytes = EmptyFile();
    bytes[31] ^= 1;
    const fs::path path = File("bad\xFF.fwc");
    WriteBytes(path, bytes);
    EXPECT_EQ(ValidateProfileFile(path, m_host), kProfileInvalid);
    ASSERT_EQ(m_host.messages.size(), 1u);
    EXPECT_TRUE(m_host.messages[0].ends_with(u"bad\u00FF.fwc"));
}

TEST_F(ProfileFileTest, FormatErrorTextTakesThePathInItsFirstTextConversion)
{
    std::vector<uint8_t> bytes = EmptyFile();
    bytes[31] ^= 1;
    WriteBytes(File("x.fwc"), bytes);
    const std::u16string path = File("x.fwc").u16string();
    const struct {
        std::u16string format;
        std::u16string message;
    } cases[] = {
        {u"%ls is damaged", path + u" is damaged"},
        {u"100%% sure: %S", u"100% sure: " + path},
        {u"%s and %s", path + u" and %s"},
        {u"%d then %s", u"%d then " + path},
        {u"no path", u"no path"},
        {u"ends in %", u"ends in %"},
    };
    for (const auto& c : cases) {
        m_host.formatError = c.format;
        m_host.messages.clear();
        EXPECT_EQ(ValidateProfileFile(File("x.fwc"), m_host), kProfileInvalid);
        ASSERT_EQ(m_host.messages.size(), 1u);
        EXPECT_EQ(m_host.messages[0], c.message);
    }
}

TEST_F(ProfileFileTest, ValidationFailsQuietlyWhenThereIsNoFileToJudge)
{
    std::vector<uint8_t> small = EmptyFile();
    small.resize(32831);
    WriteBytes(File("small.fwc"), small);
    fs::create_directory(File("folder.fwc"));
    ASSERT_EQ(::mkfifo(File("pipe.fwc").c_str(), 0600), 0);

    EXPECT_EQ(ValidateProfileFile(File("missing.fwc"), m_host), kProfileInvalid);
    EXPECT_EQ(ValidateProfileFile(File("small.fwc"), m_host), kProfileInvalid);
    EXPECT_EQ(ValidateProfileFile(File("folder.fwc"), m_host), kProfileCannotOpen);
    EXPECT_EQ(ValidateProfileFile(File("pipe.fwc"), m_host), kProfileCannotOpen);
    EXPECT_TRUE(m_host.messages.empty());
}

TEST_F(ProfileFileTest, TextOfATypeSixSlotTravelsThroughAnEightBytePool)
{
    auto model = std::make_unique<ConfigModel>();
    model->image.Slot(700).type = kTypeNoOutputWithText;
    model->image.Slot(700).value = 0x1234;
    model->texts.Set(700, u"abc");
    ASSERT_TRUE(SaveModelToFile(*model, File("text.fwc")));

    const std::vector<uint8_t> bytes = ReadBytes(File("text.fwc"));
    ASSERT_EQ(bytes.size(), 32832u + 8);
    EXPECT_EQ(Get32(bytes, 16), 8u);
    EXPECT_EQ(Get32(bytes, 64 + 700 * 16 + 4), 0u);
    EXPECT_EQ(std::vector<uint8_t>(bytes.end() - 8, bytes.end()), (std::vector<uint8_t>{'a', 0, 'b', 0, 'c', 0, 0, 0}));

    auto loaded = std::make_unique<ConfigModel>();
    ASSERT_TRUE(LoadProfileFile(File("text.fwc"), *loaded));
    ASSERT_NE(loaded->texts.Text(700), nullptr);
    EXPECT_EQ(*loaded->texts.Text(700), u"abc");
    EXPECT_EQ(loaded->texts.SizeInBytes(700), 8u);
    EXPECT_EQ(loaded->texts.TotalSize(), 8u);
}

TEST_F(ProfileFileTest, TextSlotsWithoutTextStillPointInsideThePool)
{
    auto model = std::make_unique<ConfigModel>();
    model->image.Slot(1).type = kTypeDefaultWithText;
    model->image.Slot(1).value = 500;
    model->image.Slot(2).type = kTypeNoOutputWithText;
    model->texts.Set(2, u"x");
    // A text left on a slot whose type no longer carries one is not stored.
    model->texts.Set(3, u"stale");
    ASSERT_TRUE(SaveModelToFile(*model, File("t.fwc")));

    auto loaded = std::make_unique<ConfigModel>();
    ASSERT_TRUE(LoadProfileFile(File("t.fwc"), *loaded));
    EXPECT_EQ(loaded->image.Slot(1).value, 0u);
    EXPECT_EQ(loaded->image.Slot(2).value, 2u);
    ASSERT_NE(loaded->texts.Text(1), nullptr);
    EXPECT_EQ(*loaded->texts.Text(1), u"");
    EXPECT_EQ(*loaded->texts.Text(2), u"x");
    EXPECT_EQ(loaded->texts.Text(3), nullptr);
    EXPECT_EQ(loaded->image.header.textPoolSize, 6u);
}

TEST_F(ProfileFileTest, DamagedContentIsRefusedAndTheModelKept)
{
    const struct {
        const char* what;
        void (*damage)(std::vector<uint8_t>&);
    } cases[] = {
        {"text offset past the pool", [](auto& b) { Put32(b, 64 + 5 * 16 + 4, 8); }},
        {"text offset far outside", [](auto& b) { Put32(b, 64 + 5 * 16 + 4, 0xFFFFFFF0); }},
        {"text without terminator", [](auto& b) { Put16(b, b.size() - 2, 'd'); }},
        {"text starting on its last byte",
         [](auto& b) {
             b.push_back(0);
             PatchHeader32(b, 16, 9);
             PatchHeader32(b, 8, 32832 + 9);
             Put32(b, 64 + 5 * 16 + 4, 8);
         }},
        {"macro with 2001 actions",
         [](auto& b) {
             b.insert(b.begin() + 32832, 16512, 0);
             Put16(b, 32832 + 508, 2001);
             PatchHeader16(b, 14, 1);
             PatchHeader32(b, 8, static_cast<uint32_t>(b.size()));
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<uint8_t> bytes = EmptyFile(true);
        c.damage(bytes);
        WriteBytes(File("bad.fwc"), bytes);

        auto model = std::make_unique<ConfigModel>();
        model->image.Slot(9).type = kTypeKey;
        model->texts.Set(4, u"kept");
        EXPECT_FALSE(LoadProfileFile(File("bad.fwc"), *model));
        EXPECT_EQ(model->image.Slot(9).type, kTypeKey);
        EXPECT_EQ(*model->texts.Text(4), u"kept");

        m_host.messages.clear();
        EXPECT_EQ(ValidateProfileFile(File("bad.fwc"), m_host), kProfileInvalid);
        EXPECT_EQ(m_host.messages.size(), 1u);
    }
}

TEST_F(ProfileFileTest, TrailingBytesAfterTheTotalAreAllowed)
{
    std::vector<uint8_t> bytes = EmptyFile(true);
    bytes.resize(bytes.size() + 100, 0xEE);
    WriteBytes(File("long.fwc"), bytes);
    EXPECT_EQ(ValidateProfileFile(File("long.fwc"), m_host), kProfileValid);
    auto model = std::make_unique<ConfigModel>();
    EXPECT_TRUE(LoadProfileFile(File("long.fwc"), *model));
}

TEST_F(ProfileFileTest, LargestModelRoundTripsByteForByte)
{
    auto model = std::make_unique<ConfigModel>();
    for (size_t i = 0; i < 3 * kSlotsPerBlock; ++i)
        model->image.Slot(i) = KeyAssignment{static_cast<uint16_t>(i % 9), static_cast<uint16_t>(i),
                                             static_cast<uint32_t>(i * 977), static_cast<uint32_t>(i & 1), 0};
    for (size_t i = 0; i < 3 * kSlotsPerBlock; ++i) {
        if (model->image.Slot(i).type == kTypeDefaultWithText || model->image.Slot(i).type == kTypeNoOutputWithText)
            model->texts.Set(i, std::u16string(i % 40, static_cast<char16_t>(0x4E00 + i)));
    }
    std::vector<MacroRecord> macros(kMaxMacros);
    for (size_t m = 0; m < macros.size(); ++m) {
        macros[m].SetName(std::u16string(kMaxMacroNameLength, static_cast<char16_t>(u'A' + m % 26)));
        macros[m].number = static_cast<uint16_t>(m + 1);
        macros[m].repeatCount = static_cast<uint8_t>(m + 1);
        macros[m].actionCount = kMaxMacroActions;
        for (size_t a = 0; a < kMaxMacroActions; ++a)
            macros[m].actions[a] = {static_cast<uint32_t>(a * 10), static_cast<uint16_t>(a % 0x17F),
                                    static_cast<uint16_t>(a & 1)};
    }
    ASSERT_TRUE(model->macros.Assign(macros));

    ASSERT_TRUE(SaveModelToFile(*model, File("full.fwc")));
    const std::vector<uint8_t> first = ReadBytes(File("full.fwc"));
    EXPECT_EQ(first.size(), ProfileFileSize(kMaxMacros, model->image.header.textPoolSize));
    EXPECT_EQ(ValidateProfileFile(File("full.fwc"), m_host), kProfileValid);

    auto loaded = std::make_unique<ConfigModel>();
    ASSERT_TRUE(LoadProfileFile(File("full.fwc"), *loaded));
    EXPECT_TRUE(loaded->image == model->image);
    EXPECT_TRUE(loaded->macros == model->macros);
    EXPECT_EQ(loaded->texts.TotalSize(), model->texts.TotalSize());
    ASSERT_TRUE(SaveModelToFile(*loaded, File("again.fwc")));
    EXPECT_TRUE(ReadBytes(File("again.fwc")) == first);
}

TEST_F(ProfileFileTest, DataFolderFollowsTheEnvironment)
{
    EXPECT_EQ(DataFolder(), m_folder / "PL3094V");
    EXPECT_EQ(CacheFilePath(), m_folder / "PL3094V" / "$Profile0");

    const std::string home = std::getenv("HOME") ? std::getenv("HOME") : "";
    ::setenv("HOME", "/home/someone", 1);
    ::setenv("XDG_DATA_HOME", "relative/data", 1);
    EXPECT_EQ(DataFolder(), fs::path("/home/someone/.local/share/PL3094V"));
    ::unsetenv("XDG_DATA_HOME");
    EXPECT_EQ(DataFolder(), fs::path("/home/someone/.local/share/PL3094V"));
    ::setenv("HOME", home.c_str(), 1);
}

TEST_F(ProfileFileTest, CacheFileIsRewrittenOnlyWhenItExists)
{
    auto model = std::make_unique<ConfigModel>();
    EXPECT_FALSE(SaveCacheFile(*model));
    EXPECT_FALSE(fs::exists(CacheFilePath()));

    ASSERT_TRUE(EnsureDataFolder());
    ASSERT_TRUE(WriteNewModelFile(CacheFilePath(), 0));
    ASSERT_TRUE(model->macros.Add(MacroRecord{}));
    EXPECT_TRUE(SaveCacheFile(*model));
    EXPECT_EQ(fs::file_size(CacheFilePath()), 32832u + 16512u);
}

TEST_F(ProfileFileTest, ReplacingAFileLeavesNoTemporaryAndKeepsItsMode)
{
    ASSERT_TRUE(WriteNewModelFile(File("keep.fwc"), 0));
    fs::permissions(File("keep.fwc"), fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    auto model = std::make_unique<ConfigModel>();
    ASSERT_TRUE(model->macros.Add(MacroRecord{}));
    ASSERT_TRUE(SaveModelToFile(*model, File("keep.fwc")));

    EXPECT_EQ(fs::file_size(File("keep.fwc")), 32832u + 16512u);
    EXPECT_EQ(fs::status(File("keep.fwc")).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    EXPECT_EQ(std::distance(fs::directory_iterator(m_folder), fs::directory_iterator()), 1);

    // A folder that does not exist: nothing is written, nothing left behind.
    EXPECT_FALSE(SaveModelToFile(*model, File("nowhere") / "x.fwc"));
    EXPECT_EQ(std::distance(fs::directory_iterator(m_folder), fs::directory_iterator()), 1);
}

class HostileProfileFileTest : public ProfileFileTest, public ::testing::WithParamInterface<HostileCase> {};

// An import of something that is no readable profile file: refused without a message, or, for a
// huge file, read only as far as its header's total; the file stays as it is and the model too.
TEST_P(HostileProfileFileTest, IsRefusedOrReadOnlyAsFarAsItsHeaderSays)
{
    const std::vector<uint8_t> valid = EmptyFile(true);
    const fs::path path = File("import.fwc");
    const HostileFile hostile(path, GetParam().kind, std::string(valid.begin(), valid.end()));
    const std::string before = Fingerprint(path);
    const uint64_t readBefore = BytesReadSoFar();
    auto model = std::make_unique<ConfigModel>();
    model->texts.Set(4, u"kept");

    const int validated = ValidateProfileFile(path, m_host);
    const bool loaded = LoadProfileFile(path, *model);

    EXPECT_LT(BytesReadSoFar() - readBefore, 1u << 20);
    EXPECT_TRUE(m_host.messages.empty());
    EXPECT_EQ(Fingerprint(path), before);
    if (GetParam().kind == Hostile::Huge) {
        EXPECT_EQ(validated, kProfileValid);
        EXPECT_TRUE(loaded);
        EXPECT_EQ(*model->texts.Text(5), u"abc");
    } else {
        EXPECT_EQ(validated, kProfileCannotOpen);
        EXPECT_FALSE(loaded);
        EXPECT_EQ(*model->texts.Text(4), u"kept");
    }
}

INSTANTIATE_TEST_SUITE_P(Hostile, HostileProfileFileTest, ::testing::ValuesIn(kHostileCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(ProfileFileTest, HugeFileWithADamagedHeaderIsRefusedAfterItsModelImage)
{
    const HostileFile zeros(File("zeros.fwc"), Hostile::Huge, "");
    const uint64_t readBefore = BytesReadSoFar();
    EXPECT_EQ(ValidateProfileFile(File("zeros.fwc"), m_host), kProfileInvalid);
    EXPECT_EQ(m_host.messages.size(), 1u);
    EXPECT_LT(BytesReadSoFar() - readBefore, 1u << 20);
}

TEST_F(ProfileFileTest, SaveNeverFollowsALinkAtATemporaryName)
{
    ASSERT_TRUE(EnsureDataFolder());
    WriteBytes(File("victim"), {'k', 'e', 'e', 'p'});
    // The name earlier versions gave the first temporary file of a process.
    const fs::path planted = DataFolder() / (".$Profile0.tmp-" + std::to_string(::getpid()) + "-0");
    fs::create_symlink(File("victim"), planted);
    ASSERT_TRUE(WriteNewModelFile(CacheFilePath(), 0));
    auto model = std::make_unique<ConfigModel>();
    ASSERT_TRUE(SaveCacheFile(*model));
    EXPECT_EQ(ReadBytes(File("victim")), (std::vector<uint8_t>{'k', 'e', 'e', 'p'}));
    EXPECT_EQ(fs::file_size(CacheFilePath()), 32832u);
}

} // namespace
} // namespace tavrix::model
