#include <gtest/gtest.h>

#include "platform/system_language.h"
#include "test_folders.h"

namespace tavrix::platform {
namespace {

TEST(SystemLanguageTest, LocaleNames)
{
    const struct {
        const char* locale;
        uint16_t id;
    } cases[] = {
        {"zh_CN.UTF-8", 0x0804}, {"zh_TW.UTF-8", 0x0404}, {"zh_HK.UTF-8", 0x0C04},
        {"zh_SG", 0x1004},       {"en_US.UTF-8", 0x0409}, {"en_GB.UTF-8", 0x0809},
        {"en_AU", 0x0C09},       {"en_CA", 0x1009},       {"en_NZ", 0x1409},
        {"en_IE@euro", 0x1809},  {"en_ZA", 0x1C09},       {"en_JM", 0x2009},
        {"en_AG", 0x2409},       {"en_BZ", 0x2809},       {"en_TT", 0x2C09},
        {"de_DE.UTF-8", 0x0407}, {"de_LU", 0x0407},       {"zh", 0x0804},
        {"C", 0x0409},           {"POSIX", 0x0409},       {"", 0x0409},
        {"xx_YY", 0x0409},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(LanguageIdFromLocale(c.locale), c.id) << c.locale;
    }
}

TEST(SystemLanguageTest, EnvironmentOrder)
{
    ScopedEnv all("LC_ALL", std::nullopt);
    ScopedEnv lang("LANG", "zh_TW.UTF-8");
    ScopedEnv messages("LC_MESSAGES", "de_DE.UTF-8");
    EXPECT_EQ(SystemDefaultLanguageId(), 0x0404);
    ScopedEnv allSet("LC_ALL", "en_GB.UTF-8");
    EXPECT_EQ(SystemDefaultLanguageId(), 0x0809);
}

} // namespace
} // namespace tavrix::platform
