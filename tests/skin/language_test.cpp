#include <cstdlib>
#include <set>
#include <string>

#include <gtest/gtest.h>

#include "platform/file_util.h"
#include "platform/registry_store.h"
#include "platform/system_language.h"
#include "platform/utf.h"
#include "skin/language.h"
#include "test_folders.h"

namespace tavrix::skin {
namespace {

using platform::RegistryKey;

// Each test gets its own registry and system language.
class LanguageIdTest : public ::testing::Test {
protected:
    void SetSystemLocale(const char* locale)
    {
        m_lang.reset();
        m_lang = std::make_unique<ScopedEnv>("LANG", locale);
    }
    std::optional<platform::RegistryValue> Stored() const { return m_key->Query(kLanguageValueName); }

    TempFolder m_config;
    ScopedEnv m_configEnv{"XDG_CONFIG_HOME", m_config.Path()};
    ScopedEnv m_all{"LC_ALL", std::nullopt};
    std::unique_ptr<ScopedEnv> m_lang = std::make_unique<ScopedEnv>("LANG", "de_DE.UTF-8");
    std::optional<RegistryKey> m_key = RegistryKey::Create(platform::kProgramRegistryKey);
};

TEST_F(LanguageIdTest, StoredLanguageIsUsedAsItIs)
{
    const struct {
        uint32_t stored;
        int index;
    } cases[] = {{2052, 1}, {1028, 2}, {1033, 0}, {1031, 0}};
    for (const auto& c : cases) {
        ASSERT_TRUE(m_key->SetNumber(kLanguageValueName, c.stored));
        EXPECT_EQ(GetLanguageId(), c.stored);
        EXPECT_EQ(GetLanguageIndex(), c.index) << c.stored;
        EXPECT_EQ(m_key->QueryNumber(kLanguageValueName), c.stored) << "never rewritten";
    }
}

TEST_F(LanguageIdTest, AbsentZeroOrStringValueIsDerivedAndStored)
{
    SetSystemLocale("zh_TW.UTF-8");
    EXPECT_EQ(GetLanguageId(), kLanguageTraditionalChinese);
    EXPECT_EQ(m_key->QueryNumber(kLanguageValueName), kLanguageTraditionalChinese);

    ASSERT_TRUE(m_key->SetNumber(kLanguageValueName, 0));
    SetSystemLocale("zh_CN.UTF-8");
    EXPECT_EQ(GetLanguageIndex(), 1);
    EXPECT_EQ(m_key->QueryNumber(kLanguageValueName), kLanguageSimplifiedChinese);

    ASSERT_TRUE(m_key->SetString(kLanguageValueName, "2052"));
    SetSystemLocale("en_GB.UTF-8");
    EXPECT_EQ(GetLanguageId(), kLanguageEnglish);
    const auto stored = Stored();
    ASSERT_TRUE(stored);
    EXPECT_EQ(stored->type, platform::RegistryType::Number);
    EXPECT_EQ(stored->number, kLanguageEnglish);
}

TEST_F(LanguageIdTest, WithoutKeyTheLanguageIsDerivedEachTime)
{
    TempFolder other;
    ScopedEnv noKey("XDG_CONFIG_HOME", other.Path());
    SetSystemLocale("zh_HK.UTF-8");
    EXPECT_EQ(GetLanguageId(), kLanguageSimplifiedChinese);
    SetSystemLocale("zh_SG.UTF-8");
    EXPECT_EQ(GetLanguageId(), kLanguageTraditionalChinese);
    EXPECT_FALSE(RegistryKey::Open(platform::kProgramRegistryKey));
}

TEST(FoldSystemLanguageTest, EveryRow)
{
    const struct {
        uint32_t system;
        uint32_t language;
    } cases[] = {
        {0x0C04, 2052}, {0x1004, 1028}, {0x0809, 1033}, {0x0C09, 1033}, {0x1009, 1033}, {0x1409, 1033},
        {0x1809, 1033}, {0x1C09, 1033}, {0x2009, 1033}, {0x2409, 1033}, {0x2809, 1033}, {0x2C09, 1033},
        {0x0804, 2052}, {0x0404, 1028}, {0x0409, 1033}, {0x0407, 1033}, {0x1404, 1033}, {0, 1033},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FoldSystemLanguage(c.system), c.language) << std::hex << c.system;
    }
}

TEST(FoldSystemLanguageTest, EveryFoldedRowIsReachableFromALocale)
{
    for (const char* locale :
         {"zh_HK", "zh_SG", "en_GB", "en_AU", "en_CA", "en_NZ", "en_IE", "en_ZA", "en_JM", "en_AG", "en_BZ", "en_TT"}) {
        const uint16_t id = platform::LanguageIdFromLocale(locale);
        EXPECT_NE(id, platform::kLanguageEnglishUs) << locale;
    }
}

class LangLookupTest : public ::testing::Test {
protected:
    void WriteEnglish(const std::string& text)
    {
        ASSERT_TRUE(platform::WriteFileAtomically(m_folder / "Lang0409.ini", text));
    }
    std::string Folder() const { return m_folder.Path() + "/"; }

    TempFolder m_folder;
};

TEST_F(LangLookupTest, FileNames)
{
    EXPECT_EQ(LanguageFilePath("/opt/Tools/Kb/", 0), "/opt/Tools/Kb/Lang0409.ini");
    EXPECT_EQ(LanguageFilePath("/opt/Tools/Kb/", 1), "/opt/Tools/Kb/Lang0804.ini");
    EXPECT_EQ(LanguageFilePath("/opt/Tools/Kb/", 2), "/opt/Tools/Kb/Lang0404.ini");
    EXPECT_EQ(LanguageFilePath("/k/", 3), "/k/Lang0409.ini");
    EXPECT_EQ(LanguageFilePath("/k/", -1), "/k/Lang0409.ini");
}

TEST_F(LangLookupTest, Lookups)
{
    WriteEnglish("[TEXT]\nMAIN_CAPTION = Keyboard \nEMPTY=\nLONG=" + std::string(300, 'w') +
                 "\n[LIGHT]\nUsb=Report rate\n[MODE]\n7=Reactive\n");
    const struct {
        const char* section;
        const char* key;
        int index;
        std::string expected;
    } cases[] = {
        {"TEXT", "MAIN_CAPTION", 0, "Keyboard"},
        {"text", "main_caption", 7, "Keyboard"},
        {"TEXT", "EMPTY", 0, ""},
        {"TEXT", "LONG", 0, std::string(259, 'w')},
        {"TEXT", "NOT_THERE", 0, "#Error"},
        {"LIGHT", "Usb", 0, "Report rate"},
        {"MODE", "7", 0, "Reactive"},
        {"MODE", "07", 0, "#Error"},
        {"NOSECTION", "Usb", 0, "#Error"},
        {"TEXT", "MAIN_CAPTION", 1, "#Error"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(LoadLangEntry(Folder(), c.section, c.key, c.index), c.expected) << c.section << "/" << c.key;
    }
}

TEST_F(LangLookupTest, EditedFileTakesEffectAtTheNextLookup)
{
    WriteEnglish("[TEXT]\nA=old\n");
    EXPECT_EQ(LoadLangEntry(Folder(), "TEXT", "A", 0), "old");
    WriteEnglish("[TEXT]\nA=new\n");
    EXPECT_EQ(LoadLangEntry(Folder(), "TEXT", "A", 0), "new");
}

TEST(LangLookupBesideExecutableTest, TestBinaryHasNoLanguageFiles)
{
    EXPECT_EQ(LoadLangText("MAIN_CAPTION", 0), "#Error");
    EXPECT_EQ(LoadLangLight("Usb", 1), "#Error");
    EXPECT_EQ(LoadLangMode("254", 2), "#Error");
}

} // namespace
} // namespace tavrix::skin
