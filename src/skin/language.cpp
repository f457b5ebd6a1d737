#include "skin/language.h"

#include <cstdio>

#include "platform/executable_path.h"
#include "platform/ini_file.h"
#include "platform/registry_store.h"
#include "platform/system_language.h"

namespace tavrix::skin {

namespace {

struct FoldRow {
    uint32_t systemId;
    uint32_t languageId;
};

// Searched in order, first match wins. 0x0C04 goes to Simplified and 0x1004 to Traditional
// Chinese, as the program has always chosen for those systems.
constexpr std::array kFoldRows{
    FoldRow{0x0C04, kLanguageSimplifiedChinese}, FoldRow{0x1004, kLanguageTraditionalChinese},
    FoldRow{0x0809, kLanguageEnglish},           FoldRow{0x0C09, kLanguageEnglish},
    FoldRow{0x1009, kLanguageEnglish},           FoldRow{0x1409, kLanguageEnglish},
    FoldRow{0x1809, kLanguageEnglish},           FoldRow{0x1C09, kLanguageEnglish},
    FoldRow{0x2009, kLanguageEnglish},           FoldRow{0x2409, kLanguageEnglish},
    FoldRow{0x2809, kLanguageEnglish},           FoldRow{0x2C09, kLanguageEnglish},
};

int RowOf(uint32_t languageId)
{
    for (size_t row = 0; row < kLanguageIds.size(); ++row) {
        if (kLanguageIds[row] == languageId) {
            return static_cast<int>(row);
        }
    }
    return -1;
}

// Best effort: without a writable key the language is simply derived again on every call.
void StoreLanguage(const std::optional<platform::RegistryKey>& key, uint32_t languageId)
{
    if (key) {
        (void)key->SetNumber(kLanguageValueName, languageId);
    }
}

} // namespace

uint32_t FoldSystemLanguage(uint32_t systemLanguageId)
{
    uint32_t languageId = systemLanguageId;
    for (const FoldRow& row : kFoldRows) {
        if (row.systemId == systemLanguageId) {
            languageId = row.languageId;
            break;
        }
    }
    return RowOf(languageId) < 0 ? kLanguageEnglish : languageId;
}

uint32_t GetLanguageId()
{
    const auto key = platform::RegistryKey::Open(platform::kProgramRegistryKey);
    const auto stored = key ? key->QueryNumber(kLanguageValueName) : std::nullopt;
    if (stored && *stored != 0) {
        return *stored;
    }
    const uint32_t derived = FoldSystemLanguage(platform::SystemDefaultLanguageId());
    StoreLanguage(key, derived);
    return derived;
}

int GetLanguageIndex()
{
    const int row = RowOf(GetLanguageId());
    return row < 0 ? 0 : row;
}

std::string LanguageFilePath(const std::string& folder, int languageIndex)
{
    const bool inTable = languageIndex >= 0 && languageIndex < static_cast<int>(kLanguageIds.size());
    char name[32];
    std::snprintf(name, sizeof name, "Lang%04X.ini", kLanguageIds[inTable ? languageIndex : 0]);
    return folder + name;
}

std::string LoadLangEntry(const std::string& folder, const std::string& section, const std::string& key,
                          int languageIndex)
{
    return platform::ReadPrivateProfileString(section, key, kMissingText, LanguageFilePath(folder, languageIndex));
}

std::string LoadLangText(const std::string& key, int languageIndex)
{
    return LoadLangEntry(platform::ExecutableFolder(), "TEXT", key, languageIndex);
}

std::string LoadLangLight(const std::string& key, int languageIndex)
{
    return LoadLangEntry(platform::ExecutableFolder(), "LIGHT", key, languageIndex);
}

std::string LoadLangMode(const std::string& key, int languageIndex)
{
    return LoadLangEntry(platform::ExecutableFolder(), "MODE", key, languageIndex);
}

} // namespace tavrix::skin
