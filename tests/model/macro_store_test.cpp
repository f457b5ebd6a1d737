#include <gtest/gtest.h>

#include "model/macro_store.h"

namespace tavrix::model {
namespace {

MacroRecord Numbered(uint16_t number)
{
    MacroRecord record;
    record.number = number;
    return record;
}

TEST(MacroStore, HoldsAtMostOneHundredMacros)
{
    MacroStore store;
    for (uint16_t i = 1; i <= kMaxMacros; ++i)
        ASSERT_TRUE(store.Add(Numbered(i)));
    EXPECT_FALSE(store.Add(Numbered(101)));
    EXPECT_EQ(store.Count(), kMaxMacros);

    EXPECT_FALSE(store.Assign(std::vector<MacroRecord>(kMaxMacros + 1)));
    EXPECT_EQ(store.Count(), kMaxMacros);
    EXPECT_EQ(store.Records().back().number, 100);
    EXPECT_TRUE(store.Assign({Numbered(5)}));
    EXPECT_EQ(store.Count(), 1u);
}

TEST(MacroStore, SlotsAndNumbers)
{
    MacroStore store;
    ASSERT_TRUE(store.Assign({Numbered(4), Numbered(9), Numbered(2)}));

    const struct {
        uint16_t number;
        size_t slot;
    } slots[] = {{4, 0}, {9, 1}, {2, 2}, {3, 0}, {0, 0}};
    for (const auto& c : slots)
        EXPECT_EQ(store.MacroSlotOf(c.number), c.slot) << "number " << c.number;

    const struct {
        int slot;
        uint16_t number;
    } numbers[] = {{0, 4}, {2, 2}, {3, 0}, {-1, 0}, {1000, 0}};
    for (const auto& c : numbers)
        EXPECT_EQ(store.MacroNumberAt(c.slot), c.number) << "slot " << c.slot;
}

} // namespace
} // namespace tavrix::model
