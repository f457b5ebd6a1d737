#include <gtest/gtest.h>

#include "model/entry_texts.h"

namespace tavrix::model {
namespace {

TEST(EntryTexts, SizesCountTheTerminatorAndTheTotalFollowsEveryChange)
{
    EntryTexts texts;
    texts.Set(3, u"abc");
    texts.Set(kSlotCount - 1, u"");
    EXPECT_EQ(texts.SizeInBytes(3), 8u);
    EXPECT_EQ(texts.SizeInBytes(kSlotCount - 1), 2u);
    EXPECT_EQ(texts.TotalSize(), 10u);

    texts.Set(3, u"a");
    EXPECT_EQ(texts.TotalSize(), 6u);
    texts.Clear(kSlotCount - 1);
    EXPECT_EQ(texts.TotalSize(), 4u);
    EXPECT_EQ(texts.Text(kSlotCount - 1), nullptr);
    ASSERT_NE(texts.Text(3), nullptr);
    EXPECT_EQ(*texts.Text(3), u"a");
    texts.ClearAll();
    EXPECT_EQ(texts.TotalSize(), 0u);
}

TEST(EntryTexts, SlotsOutsideTheModelAreIgnored)
{
    EntryTexts texts;
    texts.Set(kSlotCount, u"lost");
    texts.Clear(kSlotCount + 5);
    EXPECT_EQ(texts.Text(kSlotCount), nullptr);
    EXPECT_EQ(texts.SizeInBytes(kSlotCount), 0u);
    EXPECT_EQ(texts.TotalSize(), 0u);
}

} // namespace
} // namespace tavrix::model
