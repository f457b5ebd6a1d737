#include <gtest/gtest.h>

#include "language_fixture.h"
#include "model/key_description.h"

namespace tavrix::model {
namespace {

using test::Language;

const TextLookup kEnglish = Language({
    {"IDS_KEYBOARD_A", u"A"},
    {"IDS_KEYBOARD_B", u"B"},
    {"MEDIA_PALY_PAUSE_2", u"Play/Pause"},
    {"FUNC_KEY_DESC3", u"Lock Win"},
    {"KEY_PROMPT_SET", u" = "},
    {"KEY_PROMPT_SINGLE", u"(Key: "},
    {"KEY_PROMPT_MACRO", u"(Macro: "},
    {"KEY_PROMPT_MEDIA", u"(Media: "},
    {"KEY_PROMPT_FUNCTION", u"(Function: "},
    {"UNKNOWN_KEY", u"Key %d"},
});

const MacroNameOf kMacros = [](uint32_t id) -> std::optional<std::u16string> {
    return id == 2 ? std::optional<std::u16string>(u"Combo") : std::nullopt;
};

TEST(KeyDescription, NameAndWhatTheKeyDoes)
{
    struct Case {
        KeyAssignment slot;
        std::u16string text;
    };
    for (const Case& c : {
             Case{{.type = kTypeDefault, .value = 5}, u"A"},
             Case{{.type = kTypeDisabled}, u"A = "},
             Case{{.type = kTypeKey, .value = 0x030}, u"A = (Key: B)"},
             Case{{.type = kTypeKey, .value = 0x064}, u"A = (Key: Key 100)"},
             Case{{.type = kTypeMacro, .value = 2}, u"A = (Macro: Combo)"},
             Case{{.type = kTypeMacro, .value = 3}, u"A = (Macro: )"},
             Case{{.type = kTypeMedia, .value = 1}, u"A = (Media: Play/Pause)"},
             Case{{.type = kTypeMedia, .value = 18}, u"A = (Media: )"},
             Case{{.type = kTypeFunction, .value = 2}, u"A = (Function: Lock Win)"},
             Case{{.type = kTypeFunction, .value = 11}, u"A = (Function: )"},
             Case{{.type = kTypeKeyboardSpecial}, u"A = "},
             Case{{.type = kTypeNoOutputWithText, .value = 40}, u"A = "},
         })
        EXPECT_EQ(KeyDescription(0x01E, c.slot, kEnglish, kMacros), c.text)
            << "type " << c.slot.type << " value " << c.slot.value;
}

TEST(KeyDescription, GKeysAndNoModel)
{
    EXPECT_EQ(KeyDescription(GKeyPosition{0}, {}, kEnglish, kMacros), u"G1");
    EXPECT_EQ(KeyDescription(GKeyPosition{8}, {.type = kTypeMacro, .value = 2}, kEnglish, kMacros),
              u"G9 = (Macro: Combo)");
    EXPECT_EQ(KeyDescription(GKeyPosition{4}, {.type = kTypeMacro, .value = 2}, kEnglish, nullptr), u"G5 = (Macro: )");
}

TEST(KeyDescription, FitsTheTextBuffer)
{
    const MacroNameOf longName = [](uint32_t) { return std::optional<std::u16string>(std::u16string(500, u'x')); };
    EXPECT_EQ(KeyDescription(0x01E, {.type = kTypeMacro, .value = 1}, kEnglish, longName).size(), kTextCapacity - 1);
}

} // namespace
} // namespace tavrix::model
