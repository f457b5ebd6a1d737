#include <gtest/gtest.h>

#include "ui/editors/profile_list.h"

namespace tavrix::ui {
namespace {

using Values = std::vector<std::pair<std::string, std::string>>;

TEST(ProfileList, RowsKeepTheirProfileWhateverIsDeletedBeforeThem)
{
    ProfileList list;
    list.Open(3, "/data/PL3094V/$Profile0", 2);
    list.AddFile("/backups/evening.fwc");
    EXPECT_EQ(list.Delete(0), 0);
    EXPECT_EQ(list.RowOf(2), 1);
    EXPECT_TRUE(list.IsActive(1));
    EXPECT_FALSE(list.IsActive(0));
    EXPECT_EQ(list.RowOf(0), -1) << "deleted";
    EXPECT_EQ(list.RowOf(-1), -1) << "a file's row names no profile";
    EXPECT_EQ(list.Row(2).profile, -1);
    EXPECT_EQ(list.Row(2).name, "evening");
    EXPECT_EQ(list.Row(2).folder, "/backups");
    list.SetActiveProfile(-1);
    EXPECT_FALSE(list.IsActive(2)) << "no active profile marks no file";
}

TEST(ProfileList, SettingsHoldTheRowCountAndTheLastRow)
{
    ProfileList list;
    list.Open(3, "/data/PL3094V/$Profile0", 0);
    EXPECT_EQ(
        list.SettingsValues(),
        (Values{
            {"PROFILE00", "3"}, {"PROFILE01", "/data/PL3094V"}, {"PROFILE02", "$Profile0"}, {"PROFILE03", ".fwc"}}));
    list.AddFile("/backups/evening.fwc");
    EXPECT_EQ(list.SettingsValues(),
              (Values{{"PROFILE00", "4"}, {"PROFILE01", "/backups"}, {"PROFILE02", "evening"}, {"PROFILE03", ".fwc"}}));
    for (int row = list.Count() - 1; row >= 0; --row) {
        EXPECT_EQ(list.Delete(row), row - 1);
    }
    EXPECT_EQ(list.Delete(0), -1) << "nothing left to delete";
    EXPECT_EQ(list.SettingsValues(), (Values{{"PROFILE00", "0"}}));
}

} // namespace
} // namespace tavrix::ui
