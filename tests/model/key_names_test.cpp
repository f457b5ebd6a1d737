#include <gtest/gtest.h>

#include "language_fixture.h"
#include "model/key_names.h"
#include "model/text_format.h"

namespace tavrix::model {
namespace {

using test::Language;

const TextLookup kEnglish = Language({
    {"IDS_KEYBOARD_A", u"A"},
    {"IDS_KEYBOARD_RSHIFT", u"Right Shift"},
    {"IDS_KEYBOARD_POWER", u""},
    {"UNKNOWN_KEY", u"Key %d"},
});

TEST(KeyName, NamesAKeyOrFallsBackToItsCode)
{
    struct Case {
        uint16_t code;
        std::u16string name;
    };
    for (const Case& c : {
             Case{0x01E, u"A"}, Case{0x136, u"Right Shift"}, Case{0x064, u"Key 100"}, // F13 has no name key
             Case{0x15E, u"Key 350"},                                                 // an empty text
             Case{0x100, u"Key 256"},                                                 // no catalogue row
             Case{0x030, u"#Error"}, // a missing text is the language file's business
         })
        EXPECT_EQ(KeyName(c.code, kEnglish), c.name) << std::hex << c.code;
}

TEST(KeyName, CutsToTheBuffer)
{
    EXPECT_EQ(KeyName(0x036, kEnglish, 6), u"Right");
    EXPECT_EQ(KeyName(0x036, kEnglish, 1), u"");
    EXPECT_EQ(KeyName(0x036, kEnglish, 0), u"");
    const TextLookup longNames = Language({{"IDS_KEYBOARD_A", std::u16string(400, u'a')}});
    EXPECT_EQ(KeyName(0x01E, longNames).size(), kTextCapacity - 1);
}

TEST(KeyName, AtListPosition)
{
    EXPECT_EQ(KeyNameAtListPosition(103, kEnglish), u"Right Shift");
    EXPECT_EQ(KeyNameAtListPosition(0x802D, kEnglish), u""); // F13
    EXPECT_EQ(KeyNameAtListPosition(111, kEnglish), u"");
}

TEST(FormatNumber, FillsOneConversionAndCopiesTheRest)
{
    struct Case {
        std::u16string format;
        uint32_t value;
        std::u16string text;
    };
    for (const Case& c : {
             Case{u"Key %d", 100, u"Key 100"},
             Case{u"Key %u!", 65535, u"Key 65535!"},
             Case{u"0x%04X", 0x1C, u"0x001C"},
             Case{u"%x", 0x1AB, u"1ab"},
             Case{u"[%-4d]", 7, u"[7   ]"},
             Case{u"[%3i]", 7, u"[  7]"},
             Case{u"100%% %d", 5, u"100% 5"},
             Case{u"%s %d", 5, u"%s 5"}, // a text conversion is never read
             Case{u"%d and %d", 5, u"5 and %d"},
             Case{u"no number", 5, u"no number"},
             Case{u"trailing %", 5, u"trailing %"},
             Case{u"%99999999999d", 1, std::u16string(259, u' ') + u"1"},
         })
        EXPECT_EQ(FormatNumber(c.format, c.value), c.text);
}

} // namespace
} // namespace tavrix::model
