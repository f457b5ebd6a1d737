#include <gtest/gtest.h>

#include "app/info_options.h"

namespace tavrix::app {
namespace {

TEST(InfoOptionsTest, HelpOrVersionAnywhereAnswersInsteadOfStarting)
{
    const struct {
        std::vector<std::string> arguments;
        const char* expected; // start of the text, or nullptr when the program starts
    } cases[] = {
        {{}, nullptr},
        {{"/Start"}, nullptr},
        {{"/Update"}, nullptr},
        {{"--helpme", "-help", "--versions"}, nullptr},
        {{"--help"}, "Usage: tavrix"},
        {{"-H"}, "Usage: tavrix"},
        {{"/Kill", "--HELP"}, "Usage: tavrix"},
        {{"--version"}, "tavrix " TAVRIX_VERSION "\n"},
        {{"/Start", "--Version", "--help"}, "tavrix " TAVRIX_VERSION "\n"},
    };
    for (const auto& testCase : cases) {
        const std::optional<std::string> text = InfoOptionText(testCase.arguments);
        const std::string shown = testCase.arguments.empty() ? "" : testCase.arguments.back();
        if (testCase.expected == nullptr) {
            EXPECT_FALSE(text.has_value()) << shown;
            continue;
        }
        ASSERT_TRUE(text.has_value()) << shown;
        EXPECT_EQ(text->rfind(testCase.expected, 0), 0u) << *text;
    }
}

} // namespace
} // namespace tavrix::app
