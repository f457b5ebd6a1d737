#include <set>
#include <string>

#include <gtest/gtest.h>

#include "model/key_catalogue.h"
#include "model/key_identifiers.h"
#include "model/media_keys.h"

namespace tavrix::model {
namespace {

TEST(KeyIdentifier, EveryNamedKeyHasOneThatLeadsBackToIt)
{
    std::set<std::string_view> seen;
    for (const KeyCatalogueRow& row : KeyCatalogue()) {
        if (!row.IsDefined() || row.nameKey.empty())
            continue;
        const std::string_view identifier = KeyIdentifier(row.code);
        if (identifier.empty()) {
            // Only a second code of a key already named: Right Shift's 0x136 beside 0x036.
            EXPECT_EQ(row.code, 0x136) << std::hex << row.code;
            continue;
        }
        EXPECT_TRUE(seen.insert(identifier).second) << identifier << " names two keys";
        EXPECT_EQ(KeyOfIdentifier(identifier), row.code) << identifier;
    }
    EXPECT_EQ(KeyIdentifier(0x01E), "A");
    EXPECT_EQ(KeyIdentifier(0x036), "RightShift");
    EXPECT_EQ(KeyIdentifier(0x064), "") << "F13 has no name key";
    EXPECT_EQ(KeyIdentifier(0x100), "") << "no catalogue row";
    EXPECT_EQ(KeyOfIdentifier("a"), 0) << "identifiers are compared exactly";
    EXPECT_EQ(KeyOfIdentifier(""), 0);
}

TEST(KeyIdentifier, MediaKeysAndFunctionsGoBothWays)
{
    for (size_t i = 0; i < MediaList.size(); ++i) {
        ASSERT_FALSE(MediaIdentifier(i).empty()) << i;
        EXPECT_EQ(MediaOfIdentifier(MediaIdentifier(i)), i);
        EXPECT_EQ(MediaIdentifier(i), KeyIdentifier(MediaList[i].code)) << "a media key is named as the key it is";
    }
    for (size_t i = 0; i < FunctionList.size(); ++i) {
        ASSERT_FALSE(FunctionIdentifier(i).empty()) << i;
        EXPECT_EQ(FunctionOfIdentifier(FunctionIdentifier(i)), i);
    }
    EXPECT_EQ(MediaIdentifier(MediaList.size()), "");
    EXPECT_EQ(FunctionIdentifier(FunctionList.size()), "");
    EXPECT_EQ(MediaOfIdentifier("A"), std::nullopt) << "a key is no media key";
    EXPECT_EQ(FunctionOfIdentifier("Mute"), std::nullopt);
    EXPECT_EQ(MediaOfIdentifier("Mute"), 7u);
    EXPECT_EQ(FunctionOfIdentifier("WinLock"), 10u);
}

} // namespace
} // namespace tavrix::model
