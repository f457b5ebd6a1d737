#include <array>
#include <vector>

#include <gtest/gtest.h>

#include "model/macro_record.h"

namespace tavrix::model {
namespace {

std::vector<uint8_t> Encoded(const MacroRecord& record)
{
    std::vector<uint8_t> bytes(MacroRecord::kSize);
    record.Encode(std::span<uint8_t>(bytes).first<MacroRecord::kSize>());
    return bytes;
}

TEST(MacroRecord, EncodesEveryFieldAtItsOffset)
{
    MacroRecord record;
    record.SetName(u"ab");
    record.repeatCount = 3;
    record.newFlag = 1;
    record.playMode = 0x0102;
    record.number = 7;
    record.actionCount = 2;
    record.actions[0] = {40950, 0x02A, kMacroPress};
    record.actions[1] = {0x01020304, 0x171, kMacroRelease};
    const std::vector<uint8_t> bytes = Encoded(record);

    const std::vector<uint8_t> name(bytes.begin(), bytes.begin() + 6);
    EXPECT_EQ(name, (std::vector<uint8_t>{'a', 0, 'b', 0, 0, 0}));
    const std::vector<uint8_t> fields(bytes.begin() + 500, bytes.begin() + 528);
    EXPECT_EQ(fields, (std::vector<uint8_t>{3, 0, 1,    0, 2, 1, 7, 0, 2, 0, 0,    0, 0xF6, 0x9F,
                                            0, 0, 0x2A, 0, 0, 0, 4, 3, 2, 1, 0x71, 1, 1,    0}));
    EXPECT_EQ(MacroRecord::Decode(std::span<const uint8_t>(bytes).first<MacroRecord::kSize>()), record);
}

TEST(MacroRecord, DecodeKeepsEveryByteOfADamagedRecord)
{
    std::vector<uint8_t> bytes(MacroRecord::kSize);
    for (size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = static_cast<uint8_t>(i * 7 + 1);
    const MacroRecord record = MacroRecord::Decode(std::span<const uint8_t>(bytes).first<MacroRecord::kSize>());
    EXPECT_EQ(Encoded(record), bytes);
    // Neither a name without terminator nor an action count past the slots reaches beyond the record.
    EXPECT_EQ(record.Name().size(), kMaxMacroNameLength);
    EXPECT_GT(record.actionCount, kMaxMacroActions);
    EXPECT_EQ(record.UsedActions().size(), kMaxMacroActions);
}

TEST(MacroRecord, SetNameCutsToTheFieldAndClearsTheRest)
{
    MacroRecord record;
    record.SetName(std::u16string(300, u'x'));
    EXPECT_EQ(record.Name(), std::u16string(kMaxMacroNameLength, u'x'));
    record.SetName(u"short");
    EXPECT_EQ(record.Name(), u"short");
    EXPECT_EQ(record.name[kMaxMacroNameLength - 1], u'\0');
}

} // namespace
} // namespace tavrix::model
