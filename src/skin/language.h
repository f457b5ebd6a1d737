#pragma once

#include <array>
#include <cstdint>
#include <string>

// Texts shown by the program come from Lang<id>.ini beside the executable, looked up by key in
// the sections TEXT, LIGHT and MODE. The language is chosen once per user through the registry
// value dwLanguageId and otherwise follows the system's language. Every call sees the registry
// and the file as they are on disk, so edits take effect at the next lookup (each file is read
// again only when it changed). All texts are UTF-8.
namespace tavrix::skin {

// Shown wherever a file, section or key is missing.
inline constexpr const char* kMissingText = "#Error";
inline constexpr const char* kLanguageValueName = "dwLanguageId";

inline constexpr uint32_t kLanguageEnglish = 1033;
inline constexpr uint32_t kLanguageSimplifiedChinese = 2052;
inline constexpr uint32_t kLanguageTraditionalChinese = 1028;

// Language index 0, 1, 2 → language identifier.
inline constexpr std::array<uint32_t, 3> kLanguageIds{kLanguageEnglish, kLanguageSimplifiedChinese,
                                                      kLanguageTraditionalChinese};

// The language identifier chosen for a system language: the folding of regional Chinese and
// English variants, then English for anything without a language file.
uint32_t FoldSystemLanguage(uint32_t systemLanguageId);

// The language in use. A non-zero registry value is returned as it is (even one without a
// language file). An absent value, one stored as a string, or 0 is replaced by the language
// derived from the system, which is written back so it stays fixed for the user.
uint32_t GetLanguageId();

// The row of kLanguageIds holding GetLanguageId(); 0 (English) when none does.
int GetLanguageIndex();

// "<folder>Lang%04X.ini" for the language index (an index outside the table counts as 0). The
// folder ends with a slash.
std::string LanguageFilePath(const std::string& folder, int languageIndex);

// The text of key in section of the language file in folder: "#Error" when the file, section or
// key is missing, empty for an empty value, at most 259 characters.
std::string LoadLangEntry(const std::string& folder, const std::string& section, const std::string& key,
                          int languageIndex);

// The same, from the language files beside the running executable.
std::string LoadLangText(const std::string& key, int languageIndex);
std::string LoadLangLight(const std::string& key, int languageIndex);
std::string LoadLangMode(const std::string& key, int languageIndex);

} // namespace tavrix::skin
