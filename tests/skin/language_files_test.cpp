#include <cstdlib>
#include <map>
#include <set>
#include <string>
#include <string_view>

#include <gtest/gtest.h>

#include "bin_folder.h"
#include "platform/utf.h"
#include "skin/lang_keys.h"
#include "skin/language.h"
#include "test_folders.h"

namespace tavrix::skin {
namespace {

// The language files as the build placed them beside the executables.
std::string LangFolder()
{
    return BinFolder() + "/";
}

using Sections = std::map<std::string, std::set<std::string>>;

// Section → keys, as written in the file (a plain scan, independent of the reader under test).
Sections KeysOf(const std::string& path)
{
    const std::string text = FileText(path);
    EXPECT_FALSE(text.empty()) << path;
    Sections sections;
    std::string section;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        end = end == std::string::npos ? text.size() : end;
        const std::string line = text.substr(start, end - start);
        start = end + 1;
        if (line.starts_with('[')) {
            section = line.substr(1, line.find(']') - 1);
            EXPECT_FALSE(sections.contains(section)) << path << ": section twice: " << section;
            sections[section];
            continue;
        }
        const size_t equals = line.find('=');
        if (line.empty() || line.starts_with(';') || equals == std::string::npos) {
            continue;
        }
        EXPECT_TRUE(sections[section].insert(line.substr(0, equals)).second) << path << ": key twice: " << line;
    }
    return sections;
}

TEST(LanguageFilesTest, AllThreeDefineTheSameKeys)
{
    const Sections english = KeysOf(LanguageFilePath(LangFolder(), 0));
    for (int index : {1, 2}) {
        EXPECT_EQ(KeysOf(LanguageFilePath(LangFolder(), index)), english) << LanguageFilePath(LangFolder(), index);
    }
}

template <typename Keys> void ExpectAllPresent(const char* section, const Keys& keys)
{
    for (int index = 0; index < 3; ++index) {
        for (const std::string_view key : keys) {
            const std::string text = LoadLangEntry(LangFolder(), section, std::string(key), index);
            EXPECT_NE(text, kMissingText) << section << "/" << key << " in " << LanguageFilePath(LangFolder(), index);
            EXPECT_FALSE(text.empty()) << section << "/" << key << " in language " << index;
        }
    }
}

TEST(LanguageFilesTest, EveryKeyTheProgramAsksForExists)
{
    ExpectAllPresent("TEXT", kKeyNameKeys);
    ExpectAllPresent("TEXT", kMediaNameKeys);
    ExpectAllPresent("TEXT", kFunctionNameKeys);
    ExpectAllPresent("TEXT", kMessageKeys);
    ExpectAllPresent("LIGHT", kLightKeys);
    ExpectAllPresent("MODE", kModeKeys);
}

// Formats are filled in with printf-style calls: each must hold exactly the one conversion its
// caller passes, or the call reads arguments that are not there.
TEST(LanguageFilesTest, FormatsTakeExactlyTheirArgument)
{
    const struct {
        const char* key;
        const char* conversion;
    } formats[] = {
        {"UNKNOWN_KEY", "%d"},
        {"MACRO_ERR_MAX", "%d"},
        {"MACRO_ACTION_ERR_DELAY_MAX", "%d"},
        {"PROFILE_FORMAT_ERROR", "%s"},
        {"MAIN_PROMPT_INPORT", "%s"},
        {"MAIN_IMPORT_NOT_WRITTEN_PROMPT", "%s"},
        {"MAIN_EXPORT_FAILED_PROMPT", "%s"},
        {"MAIN_CACHE_WRITE_PROMPT", "%s"},
        {"PROFILE_NUMBER", "%d"},
    };
    for (int index = 0; index < 3; ++index) {
        for (const auto& format : formats) {
            const std::string text = LoadLangEntry(LangFolder(), "TEXT", format.key, index);
            const size_t at = text.find('%');
            ASSERT_NE(at, std::string::npos) << format.key << " in language " << index;
            EXPECT_EQ(text.substr(at, 2), format.conversion) << format.key << " in language " << index;
            EXPECT_EQ(text.find('%', at + 1), std::string::npos) << format.key << " in language " << index;
        }
    }
    for (const std::string_view key : kMessageKeys) {
        bool isFormat = false;
        for (const auto& format : formats) {
            isFormat = isFormat || key == format.key;
        }
        for (int index = 0; !isFormat && index < 3; ++index) {
            EXPECT_EQ(LoadLangEntry(LangFolder(), "TEXT", std::string(key), index).find('%'), std::string::npos)
                << key << " is not a format";
        }
    }
}

TEST(LanguageFilesTest, ChineseTextsArriveIntact)
{
    EXPECT_EQ(LoadLangEntry(LangFolder(), "TEXT", "MAIN_CAPTION", 1), "PL3094V 键盘");
    EXPECT_EQ(LoadLangEntry(LangFolder(), "TEXT", "MAIN_CAPTION", 2), "PL3094V 鍵盤");
    EXPECT_EQ(LoadLangEntry(LangFolder(), "TEXT", "MACRO_NEW_PREFIX", 0), "Macro ");
    EXPECT_EQ(LoadLangEntry(LangFolder(), "TEXT", "KEY_PROMPT_SET", 0), ": ");
}

// The update dialog's messages read in Simplified Chinese exactly as the program always showed
// them, blanks at their ends included.
TEST(LanguageFilesTest, UpdateMessagesKeepTheirChineseWording)
{
    const std::pair<const char*, const char*> texts[] = {
        {"UPDATE_BACKUP_OK", "备份成功!"},
        {"UPDATE_BACKUP_FAILED", "备份失败,请重新备份!"},
        {"UPDATE_NO_FILE", "请选择正确的更新文件! "},
        {"UPDATE_NO_BOOT_MODE", "无法进入Boot模式! "},
        {"UPDATE_CANNOT_RUN", "无法执行更新文件! "},
    };
    for (const auto& [key, text] : texts) {
        EXPECT_EQ(LoadLangEntry(LangFolder(), "TEXT", key, 1), text) << key;
    }
}

} // namespace
} // namespace tavrix::skin
