#include <gtest/gtest.h>

#include "hostile_files.h"
#include "platform/app_profile.h"
#include "platform/file_util.h"
#include "platform/registry_store.h"
#include "test_folders.h"

namespace tavrix::platform {
namespace {

class RegistryStoreTest : public ::testing::Test {
protected:
    TempFolder m_config;
    ScopedEnv m_env{"XDG_CONFIG_HOME", m_config.Path()};
};

TEST_F(RegistryStoreTest, KeysExistOnlyOnceCreated)
{
    EXPECT_FALSE(RegistryKey::Open(kProgramRegistryKey));
    const auto created = RegistryKey::Create(kProgramRegistryKey);
    ASSERT_TRUE(created);
    EXPECT_EQ(RegistryFilePath(), m_config.Path() + "/PL3094V/registry.ini");
    EXPECT_TRUE(RegistryKey::Open("software\\pl3094v"));
    EXPECT_FALSE(created->Query("dwLanguageId"));
}

TEST_F(RegistryStoreTest, ValuesKeepTheirType)
{
    const auto key = RegistryKey::Create(kProgramRegistryKey);
    ASSERT_TRUE(key);
    ASSERT_TRUE(key->SetNumber("dwLanguageId", 2052));
    ASSERT_TRUE(key->SetString("Name", "line\nwith \\ and 中文"));
    const auto reopened = RegistryKey::Open(kProgramRegistryKey);
    ASSERT_TRUE(reopened);
    EXPECT_EQ(reopened->QueryNumber("DWLANGUAGEID"), 2052u);
    const auto text = reopened->Query("name");
    ASSERT_TRUE(text);
    EXPECT_EQ(text->type, RegistryType::String);
    EXPECT_EQ(text->text, "line\nwith \\ and 中文");
    EXPECT_FALSE(reopened->QueryNumber("Name")) << "a string is not a number";

    ASSERT_TRUE(key->SetNumber("Name", 7));
    EXPECT_EQ(key->QueryNumber("Name"), 7u);
}

TEST_F(RegistryStoreTest, DamagedLinesAreDroppedTheRestKept)
{
    ASSERT_TRUE(RegistryKey::Create(kProgramRegistryKey));
    std::string text = FileText(RegistryFilePath());
    ASSERT_FALSE(text.empty());
    text += "garbage without equals\nbad=number:12x\nodd=other:1\ngood=number:5\n";
    ASSERT_TRUE(WriteFileAtomically(RegistryFilePath(), text));
    const auto key = RegistryKey::Open(kProgramRegistryKey);
    ASSERT_TRUE(key);
    EXPECT_FALSE(key->Query("bad"));
    EXPECT_FALSE(key->Query("odd"));
    EXPECT_EQ(key->QueryNumber("good"), 5u);
}

TEST_F(RegistryStoreTest, UnwritableStoreFailsQuietly)
{
    ScopedEnv unwritable("XDG_CONFIG_HOME", "/proc/tavrix-no-such-folder");
    EXPECT_FALSE(RegistryKey::Create(kProgramRegistryKey));
    EXPECT_FALSE(RegistryKey::Open(kProgramRegistryKey));
}

TEST_F(RegistryStoreTest, FrameworkProfileStrings)
{
    EXPECT_EQ(GetProfileString("PROFILES", "Flip", "0"), "0");
    SetRegistryKey("Tavrix_Quenda", "Tavrix");
    EXPECT_EQ(ProfileSectionKey("PROFILES"), "Software\\Tavrix_Quenda\\Tavrix\\PROFILES");
    EXPECT_EQ(GetProfileString("PROFILES", "Flip", "0"), "0");
    ASSERT_TRUE(WriteProfileString("PROFILES", "Flip", "1"));
    EXPECT_EQ(GetProfileString("profiles", "FLIP", "0"), "1");
}

class HostileRegistryTest : public RegistryStoreTest, public ::testing::WithParamInterface<HostileCase> {};

// A store that exists but cannot be read reads as empty and is never rewritten: rewriting it
// would drop every value it holds.
TEST_P(HostileRegistryTest, ReadsAsEmptyAndIsLeftAsItIs)
{
    SetRegistryKey("Tavrix_Quenda", "Tavrix");
    ASSERT_TRUE(MakeFolders(m_config / "PL3094V"));
    const HostileFile hostile(RegistryFilePath(), GetParam().kind,
                              "[Software\\PL3094V]\ndwLanguageId=number:2052\nOther=string:keep\n");
    const std::string before = Fingerprint(RegistryFilePath());

    EXPECT_FALSE(RegistryKey::Open(kProgramRegistryKey));
    EXPECT_FALSE(RegistryKey::Create(kProgramRegistryKey));
    EXPECT_FALSE(QueryRegistryValue(kProgramRegistryKey, "dwLanguageId"));
    EXPECT_FALSE(WriteProfileString("PROFILES", "Flip", "1"));
    EXPECT_EQ(GetProfileString("PROFILES", "Flip", "0"), "0");
    EXPECT_EQ(Fingerprint(RegistryFilePath()), before);
}

INSTANTIATE_TEST_SUITE_P(Hostile, HostileRegistryTest, ::testing::ValuesIn(kHostileCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(RegistryStoreTest, LargeStoreIsReadOncePerChange)
{
    const auto key = RegistryKey::Create(kProgramRegistryKey);
    ASSERT_TRUE(key);
    ASSERT_TRUE(key->SetString("Large", std::string(4u << 20, 'y')));
    ASSERT_TRUE(key->SetNumber("dwLanguageId", 1028));
    ASSERT_EQ(key->QueryNumber("dwLanguageId"), 1028u);
    const uint64_t readBefore = BytesReadSoFar();
    for (int i = 0; i < 50; ++i) {
        ASSERT_EQ(key->QueryNumber("dwLanguageId"), 1028u);
    }
    EXPECT_LT(BytesReadSoFar() - readBefore, 2u * (4u << 20)) << "at most one more read of the changed file";
    ASSERT_TRUE(key->SetNumber("dwLanguageId", 2052));
    EXPECT_EQ(key->QueryNumber("dwLanguageId"), 2052u);
}

} // namespace
} // namespace tavrix::platform
