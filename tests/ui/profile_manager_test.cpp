#include <QHeaderView>
#include <QTableView>
#include <QTimer>
#include <functional>
#include <memory>

#include "app/app_state.h"
#include "device/commands.h"
#include "main_window_fixture.h"
#include "model/key_code.h"
#include "model/profile_file.h"
#include "platform/app_profile.h"
#include "ui/editors/profile_list_model.h"
#include "ui/editors/tavrix_dlg_profile.h"
#include "ui/main_window/custom_messages.h"

// The profile manager in the main window, offscreen, on the simulated keyboard: its list, Add,
// Load, Delete and Apply, and how a profile switch and closing from outside reach it.
namespace tavrix::ui {
namespace {

constexpr uint16_t kKeyA = 0x01E;

class ProfileManagerTest : public testing::MainWindowTest {
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        platform::SetRegistryKey("Tavrix_Quenda", "Tavrix");
    }

    void TearDown() override
    {
        m_manager.reset();
        MainWindowTest::TearDown();
    }

    void StartWithManager(bool keyboard = true)
    {
        Start(keyboard);
        m_manager = std::make_unique<CTavrix_DlgProfile>(Dlg());
        WindowParts parts = Dlg().Parts();
        parts.profileManager = m_manager.get();
        Dlg().AttachParts(parts);
    }

    // Opens the manager as its button in the main window does and runs steps inside its modal run;
    // what the steps leave open is closed as cancelled. The result the dialog closed with.
    int WhileOpen(const std::function<void(CTavrix_DlgProfile&)>& steps)
    {
        bool ran = false;
        QTimer::singleShot(0, m_manager.get(), [&] {
            ran = true;
            EXPECT_TRUE(m_manager->IsOpen());
            steps(*m_manager);
            m_manager->CloseIfOpen();
        });
        const int result = m_manager->Open();
        EXPECT_TRUE(ran) << "the dialog ran";
        EXPECT_FALSE(m_manager->IsOpen());
        return result;
    }

    QString Cell(int row, int column) const
    {
        const ProfileListModel& model = m_manager->ListModel();
        return model.data(model.index(row, column)).toString();
    }
    QString Name(int row) const { return Cell(row, ProfileListModel::kNameColumn); }
    static QString Label(int profile) { return Text("PROFILE_NUMBER").replace("%d", QString::number(profile + 1)); }
    bool ApplyEnabled() const { return testing::Control(*m_manager, kProfileApplyId).isEnabled(); }
    int CurrentProfile() { return Dlg().Commands().GetCurrentProfile(); }
    static int KeyboardProfile() { return Sim().Memory().info[device::kInfoCurrentProfileOffset]; }
    static QString DataFolderText() { return QString::fromStdString(model::DataFolder().string()); }

    std::unique_ptr<CTavrix_DlgProfile> m_manager;
};

TEST_F(ProfileManagerTest, TheProfileButtonListsTheThreeProfilesWithTheCurrentOneMarked)
{
    StartWithManager();
    ASSERT_EQ(Dlg().SwitchProfile(1), 1);
    bool ran = false;
    QTimer::singleShot(0, m_manager.get(), [&] {
        ran = true;
        QTableView& list = m_manager->ListView();
        EXPECT_TRUE(list.isVisible());
        ASSERT_EQ(list.model()->rowCount(), 3);
        for (int row = 0; row < 3; ++row) {
            EXPECT_EQ(Name(row), Label(row));
            EXPECT_EQ(Cell(row, ProfileListModel::kFolderColumn), DataFolderText());
            EXPECT_EQ(Cell(row, ProfileListModel::kActiveColumn).isEmpty(), row != 1) << row;
        }
        EXPECT_EQ(m_manager->SelectedRow(), 1);
        EXPECT_FALSE(ApplyEnabled());
        EXPECT_EQ(list.selectionBehavior(), QAbstractItemView::SelectRows);
        EXPECT_TRUE(list.showGrid());
        const std::pair<int, const char*> columns[] = {
            {60, "PROFILE_LIST_ACTIVE"}, {120, "PROFILE_LIST_NAME"}, {230, "PROFILE_LIST_PATH"}};
        for (int column = 0; column < 3; ++column) {
            EXPECT_EQ(list.columnWidth(column), columns[column].first);
            EXPECT_EQ(list.model()->headerData(column, Qt::Horizontal).toString(), Text(columns[column].second));
        }
        m_manager->OnCommand(skin::IDOK);
    });
    Dlg().OnCommand(kProfilesButtonId);
    EXPECT_TRUE(ran) << "the profile button runs the manager";
    EXPECT_FALSE(m_manager->IsOpen());
    EXPECT_EQ(KeyboardProfile(), 1) << "OK switches nothing";
}

TEST_F(ProfileManagerTest, ApplyWritesTheSettingsSwitchesAndReadsTheKeyboard)
{
    for (const controls::PromptResult answer : {controls::PromptResult::Yes, controls::PromptResult::No}) {
        const bool keep = answer == controls::PromptResult::Yes;
        SCOPED_TRACE(keep ? "Yes" : "No");
        StartWithManager();
        const int profile = CurrentProfile();
        ASSERT_GE(profile, 0);
        const int other = (profile + 1) % 3;
        const size_t keyA = model::KeyIndexOf(kKeyA);
        const model::KeyAssignment stored = SlotOf(profile, keyA);
        const model::KeyAssignment edited{model::kTypeKey, 0, 0x30};
        Edit(profile, keyA, edited);
        m_prompts.messageBoxAnswers.push_back(answer);
        WhileOpen([&](CTavrix_DlgProfile& manager) {
            manager.ListView().selectRow(other);
            EXPECT_TRUE(ApplyEnabled()) << "choosing another profile is a change";
            manager.OnCommand(kProfileApplyId);
            EXPECT_TRUE(manager.IsOpen());
            EXPECT_FALSE(ApplyEnabled());
            EXPECT_FALSE(Cell(other, ProfileListModel::kActiveColumn).isEmpty());
            EXPECT_TRUE(Cell(profile, ProfileListModel::kActiveColumn).isEmpty());
        });
        ASSERT_EQ(MessageTexts().size(), 1u);
        EXPECT_EQ(MessageTexts()[0], Text("PROFILE_SELECT_PROMPT")) << "unapplied edits are asked about first";
        EXPECT_EQ(KeyboardProfile(), other);
        EXPECT_EQ(CurrentProfile(), other);
        EXPECT_EQ(SlotOf(profile, keyA), keep ? edited : stored) << "the model is the keyboard's again";
        EXPECT_FALSE(Dlg().IsApplyEnabled());
        EXPECT_EQ(testing::Control(Dlg(), kProfilesButtonId).property("text").toString(), Label(other));
        EXPECT_EQ(m_parts.selectedProfile, other);
        const std::pair<const char*, std::string> settings[] = {
            {"PROFILE00", "3"},
            {"PROFILE01", model::DataFolder().string()},
            {"PROFILE02", model::CacheFilePath().filename().string()},
            {"PROFILE03", ".fwc"},
        };
        for (const auto& [name, value] : settings) {
            EXPECT_EQ(platform::GetProfileString("PROFILES", name, "?"), value) << name;
        }
        Dlg().ExitRoutine();
        TearDown();
        m_prompts.messageBoxes.clear();
        SetUp();
    }
}

TEST_F(ProfileManagerTest, DeleteSelectsTheNextRowOrThePreviousWhenItWasTheLast)
{
    StartWithManager();
    const struct {
        std::vector<int> deleted;   // rows selected and deleted in turn
        std::vector<int> remaining; // the profiles left, in order
        int selected;               // the profile selected afterwards; -1 for none
    } cases[] = {
        {{0}, {1, 2}, 1},
        {{1}, {0, 2}, 2},
        {{2}, {0, 1}, 1},
        {{2, 1, 0}, {}, -1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.deleted));
        WhileOpen([&](CTavrix_DlgProfile& manager) {
            for (int row : c.deleted) {
                manager.ListView().selectRow(row);
                manager.OnCommand(kProfileDeleteId);
            }
            ASSERT_EQ(manager.ListModel().rowCount(), static_cast<int>(c.remaining.size()));
            for (size_t row = 0; row < c.remaining.size(); ++row) {
                EXPECT_EQ(Name(static_cast<int>(row)), Label(c.remaining[row]));
            }
            const int selected = manager.SelectedRow();
            EXPECT_EQ(selected < 0 ? -1 : manager.ListModel().List().Row(selected).profile, c.selected);
            EXPECT_TRUE(ApplyEnabled());
        });
    }
}

TEST_F(ProfileManagerTest, AddWritesAnEmptyProfileFileAndLoadListsAFile)
{
    StartWithManager();
    const std::string added = m_home / "data/new profile.fwc";
    const std::string loaded = m_home / "kept.fwc";
    m_prompts.fileAnswers = {std::nullopt, QString::fromStdString(added), QString::fromStdString(loaded)};
    WhileOpen([&](CTavrix_DlgProfile& manager) {
        manager.OnCommand(kProfileAddId);
        EXPECT_EQ(manager.ListModel().rowCount(), 3) << "a cancelled Add adds nothing";
        EXPECT_FALSE(ApplyEnabled());
        manager.OnCommand(kProfileAddId);
        manager.OnCommand(kProfileLoadId);
        ASSERT_EQ(manager.ListModel().rowCount(), 5);
        EXPECT_EQ(Name(3), QStringLiteral("new profile"));
        EXPECT_EQ(Cell(3, ProfileListModel::kFolderColumn), QString::fromStdString(m_home / "data"));
        EXPECT_EQ(Name(4), QStringLiteral("kept"));
        EXPECT_TRUE(Cell(4, ProfileListModel::kActiveColumn).isEmpty());
        EXPECT_TRUE(ApplyEnabled());
    });
    ASSERT_EQ(m_prompts.saveRequests.size(), 2u);
    const controls::FileRequest& save = m_prompts.saveRequests[0];
    EXPECT_EQ(save.initialName, Text("PROFILE_NEW"));
    EXPECT_EQ(save.defaultExtension, QStringLiteral("fwc"));
    EXPECT_EQ(save.folder, DataFolderText());
    EXPECT_TRUE(save.overwritePrompt);
    ASSERT_EQ(m_prompts.openRequests.size(), 1u);
    EXPECT_EQ(m_prompts.openRequests[0].folder, DataFolderText());

    EXPECT_EQ(model::ValidateProfileFile(added, Dlg()), model::kProfileValid);
    model::ConfigModel empty;
    ASSERT_TRUE(model::LoadProfileFile(added, empty));
    EXPECT_EQ(empty.macros.Count(), 0u);
    EXPECT_EQ(empty.image.blocks[0][model::KeyIndexOf(kKeyA)].type, model::kTypeDefault);
    EXPECT_FALSE(std::filesystem::exists(loaded)) << "Load only lists the file";
}

TEST_F(ProfileManagerTest, ASwitchAsksAboutItsChangesThenMarksTheNewProfile)
{
    StartWithManager();
    const int profile = CurrentProfile();
    ASSERT_GE(profile, 0);
    const int other = (profile + 1) % 3;
    m_prompts.messageBoxAnswers.push_back(controls::PromptResult::No);
    WhileOpen([&](CTavrix_DlgProfile& manager) {
        EXPECT_EQ(Dlg().SwitchProfile(other), 1);
        EXPECT_TRUE(MessageTexts().empty()) << "nothing unapplied, nothing asked";
        EXPECT_FALSE(Cell(other, ProfileListModel::kActiveColumn).isEmpty());

        manager.ListView().selectRow(profile);
        ASSERT_TRUE(ApplyEnabled());
        EXPECT_EQ(Dlg().SwitchProfile(profile), 1);
        ASSERT_EQ(MessageTexts().size(), 1u);
        EXPECT_EQ(MessageTexts()[0], Text("PROFILE_SELECT_PROMPT"));
        EXPECT_FALSE(ApplyEnabled());
        EXPECT_FALSE(Cell(profile, ProfileListModel::kActiveColumn).isEmpty());
        EXPECT_TRUE(manager.IsOpen());
    });
    EXPECT_EQ(KeyboardProfile(), profile);
}

TEST_F(ProfileManagerTest, ClosedAsCancelledWhenTheKeyboardGoesAndAtExit)
{
    StartWithManager();
    EXPECT_EQ(WhileOpen([&](CTavrix_DlgProfile& manager) {
                  manager.OnCommand(kProfileDeleteId);
                  Dlg().SendMessage(UM_CLOSE_EDITORS, kCloseEditorsTag, 0);
                  EXPECT_FALSE(manager.IsOpen());
              }),
              skin::IDCANCEL);
    EXPECT_EQ(platform::GetProfileString("PROFILES", "PROFILE00", "?"), "?") << "nothing applied";
    EXPECT_EQ(WhileOpen([&](CTavrix_DlgProfile&) { Dlg().ExitRoutine(); }), skin::IDCANCEL);
    EXPECT_EQ(m_runEnds, 0) << "the exit routine alone does not end the run";
}

} // namespace
} // namespace tavrix::ui
