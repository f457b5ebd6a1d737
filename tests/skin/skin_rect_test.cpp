#include <gtest/gtest.h>

#include "skin/skin_rect.h"
#include "test_skin.h"

namespace tavrix::skin {
namespace {

TEST(SkinRectTest, ParsesTheFourLeadingNumbers)
{
    const struct {
        const char* text;
        std::optional<SkinRect> expected;
    } cases[] = {
        {"100,50,80,30", SkinRect{100, 50, 80, 30}},
        {"10,20,30,40,x", SkinRect{10, 20, 30, 40}},
        {"1,1,1,1,x", SkinRect{1, 1, 1, 1}},
        {"12, 40, 88,24", SkinRect{12, 40, 88, 24}},
        {"-5,+6,7,8", SkinRect{-5, 6, 7, 8}},
        {"5,6,7,8junk", SkinRect{5, 6, 7, 8}},
        {"1,2,3", std::nullopt},
        {"1,2,3,", std::nullopt},
        {"1 ,2,3,4", std::nullopt},
        {"a,b,c,d", std::nullopt},
        {"+-1,2,3,4", std::nullopt},
        {"99999999999,1,1,1", std::nullopt},
        {"", std::nullopt},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ParseSkinRect(c.text), c.expected) << c.text;
    }
}

TEST(SkinRectTest, MissingOrShortValuesReadAsTheDefault)
{
    testing::TestSkin skin;
    const std::string ini = skin.WriteFile("Main.ini", "[BUTTONINFO]\n"
                                                       "CONTROL_OK = 100,50,80,30\n"
                                                       "CONTROL_HELP=7,8,9\n"
                                                       "CONTROL_MENU=\n");
    const SkinRect defaultRect{1, 1, 1, 1};
    const struct {
        std::string path;
        const char* section;
        const char* key;
        SkinRect expected;
    } cases[] = {
        {ini, "BUTTONINFO", "CONTROL_OK", SkinRect{100, 50, 80, 30}},
        {ini, "buttoninfo", "control_ok", SkinRect{100, 50, 80, 30}},
        {ini, "BUTTONINFO", "CONTROL_CLOSE", defaultRect},
        {ini, "BUTTONINFO", "CONTROL_HELP", defaultRect},
        {ini, "BUTTONINFO", "CONTROL_MENU", defaultRect},
        {ini, "BUTTONINFO2", "CONTROL_OK", defaultRect},
        {skin.PathOf("Missing.ini"), "BUTTONINFO", "CONTROL_OK", defaultRect},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ReadSkinRect(c.path, c.section, c.key), c.expected) << c.section << "/" << c.key;
    }
}

} // namespace
} // namespace tavrix::skin
