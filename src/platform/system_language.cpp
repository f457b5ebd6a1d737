#include "platform/system_language.h"

#include <array>
#include <cstdlib>

#include "platform/file_util.h"
#include "platform/utf.h"

namespace tavrix::platform {

namespace {

struct LocaleRow {
    std::string_view locale; // language or language_REGION
    uint16_t languageId;
};

// Regions first; a language alone gives its main identifier. The Chinese and English regions
// cover every identifier the language choice folds.
constexpr std::array kLocaleRows{
    LocaleRow{"zh_CN", 0x0804}, LocaleRow{"zh_TW", 0x0404}, LocaleRow{"zh_HK", 0x0C04}, LocaleRow{"zh_SG", 0x1004},
    LocaleRow{"zh_MO", 0x1404}, LocaleRow{"en_US", 0x0409}, LocaleRow{"en_GB", 0x0809}, LocaleRow{"en_AU", 0x0C09},
    LocaleRow{"en_CA", 0x1009}, LocaleRow{"en_NZ", 0x1409}, LocaleRow{"en_IE", 0x1809}, LocaleRow{"en_ZA", 0x1C09},
    LocaleRow{"en_JM", 0x2009}, LocaleRow{"en_AG", 0x2409}, LocaleRow{"en_BZ", 0x2809}, LocaleRow{"en_TT", 0x2C09},
    LocaleRow{"en_ZW", 0x3009}, LocaleRow{"en_PH", 0x3409}, LocaleRow{"en_IN", 0x4009}, LocaleRow{"en_SG", 0x4809},
    LocaleRow{"de_DE", 0x0407}, LocaleRow{"de_CH", 0x0807}, LocaleRow{"de_AT", 0x0C07}, LocaleRow{"fr_FR", 0x040C},
    LocaleRow{"fr_BE", 0x080C}, LocaleRow{"fr_CA", 0x0C0C}, LocaleRow{"fr_CH", 0x100C}, LocaleRow{"es_ES", 0x0C0A},
    LocaleRow{"es_MX", 0x080A}, LocaleRow{"pt_BR", 0x0416}, LocaleRow{"pt_PT", 0x0816}, LocaleRow{"it_IT", 0x0410},
    LocaleRow{"nl_NL", 0x0413}, LocaleRow{"nl_BE", 0x0813}, LocaleRow{"ja_JP", 0x0411}, LocaleRow{"ko_KR", 0x0412},
    LocaleRow{"ru_RU", 0x0419}, LocaleRow{"pl_PL", 0x0415}, LocaleRow{"tr_TR", 0x041F}, LocaleRow{"sv_SE", 0x041D},
    LocaleRow{"cs_CZ", 0x0405}, LocaleRow{"uk_UA", 0x0422}, LocaleRow{"zh", 0x0804},    LocaleRow{"en", 0x0409},
    LocaleRow{"de", 0x0407},    LocaleRow{"fr", 0x040C},    LocaleRow{"es", 0x0C0A},    LocaleRow{"pt", 0x0416},
    LocaleRow{"it", 0x0410},    LocaleRow{"nl", 0x0413},    LocaleRow{"ja", 0x0411},    LocaleRow{"ko", 0x0412},
    LocaleRow{"ru", 0x0419},    LocaleRow{"pl", 0x0415},    LocaleRow{"tr", 0x041F},    LocaleRow{"sv", 0x041D},
    LocaleRow{"cs", 0x0405},    LocaleRow{"uk", 0x0422},
};

std::string_view EnvironmentValue(const char* name)
{
    const char* value = std::getenv(name);
    return value == nullptr ? std::string_view() : std::string_view(value);
}

// The value of the LANG line of a locale.conf-style file, without quotes; empty when absent.
std::string LangFromFile(const char* path)
{
    // A locale file holds a few lines; anything bigger is not one.
    constexpr uint64_t kMaxLocaleFileSize = 64u << 10;
    std::string text;
    if (ReadWholeFile(path, kMaxLocaleFileSize, text) != ReadResult::Ok) {
        return {};
    }
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        end = end == std::string::npos ? text.size() : end;
        std::string_view line(text.data() + start, end - start);
        start = end + 1;
        if (!line.starts_with("LANG=")) {
            continue;
        }
        line.remove_prefix(5);
        if (line.size() >= 2 && (line.front() == '"' || line.front() == '\'') && line.back() == line.front()) {
            line = line.substr(1, line.size() - 2);
        }
        return std::string(line);
    }
    return {};
}

} // namespace

uint16_t LanguageIdFromLocale(std::string_view locale)
{
    const size_t end = locale.find_first_of(".@");
    const std::string_view name = locale.substr(0, end);
    const std::string_view language = name.substr(0, name.find('_'));
    for (const std::string_view wanted : {name, language}) {
        for (const LocaleRow& row : kLocaleRows) {
            if (EqualsNoCase(row.locale, wanted)) {
                return row.languageId;
            }
        }
    }
    return kLanguageEnglishUs;
}

std::string SystemLocaleName()
{
    for (const char* variable : {"LC_ALL", "LANG"}) {
        const std::string_view value = EnvironmentValue(variable);
        if (!value.empty()) {
            return std::string(value);
        }
    }
    for (const char* file : {"/etc/locale.conf", "/etc/default/locale"}) {
        std::string value = LangFromFile(file);
        if (!value.empty()) {
            return value;
        }
    }
    return {};
}

uint16_t SystemDefaultLanguageId()
{
    return LanguageIdFromLocale(SystemLocaleName());
}

} // namespace tavrix::platform
