#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// The system's default language as a Windows language identifier (primary language in the low
// ten bits, region above), which is what the language files are named by.
namespace tavrix::platform {

inline constexpr uint16_t kLanguageEnglishUs = 0x0409;

// The identifier of a POSIX locale name such as "zh_TW.UTF-8" or "en_GB@euro". A known language
// with an unknown region gives the language's main identifier; "C", "POSIX", an empty name and
// unknown languages give English (United States).
uint16_t LanguageIdFromLocale(std::string_view locale);

// The locale the system runs in: $LC_ALL, then $LANG, then the LANG line of /etc/locale.conf or
// /etc/default/locale. $LC_MESSAGES is not asked: it picks the interface language of one
// program, not the system's.
std::string SystemLocaleName();

uint16_t SystemDefaultLanguageId();

} // namespace tavrix::platform
