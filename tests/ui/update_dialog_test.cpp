#include <QTimer>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <sstream>

#include "controls/color_static.h"
#include "main_window_fixture.h"
#include "model/profile_file.h"
#include "platform/file_util.h"
#include "sim/keyboard_layout.h"
#include "ui/editors/tavrix_dlg_update.h"
#include "ui/main_window/custom_messages.h"

// The update dialog in the main window, offscreen, on the simulated keyboard: choosing the
// updater, the backup, and the update that puts the keyboard into boot mode and starts the
// updater program.
namespace tavrix::ui {
namespace {

namespace fs = std::filesystem;

class UpdateDialogTest : public testing::MainWindowTest {
protected:
    void TearDown() override
    {
        m_update.reset();
        MainWindowTest::TearDown();
    }

    void StartWithDialog(bool keyboard = true)
    {
        Start(keyboard);
        m_update = std::make_unique<CTavrix_DlgUpdate>(Dlg());
        WindowParts parts = Dlg().Parts();
        parts.update = m_update.get();
        Dlg().AttachParts(parts);
    }

    // Opens the dialog as the update command does and runs steps inside its modal run; what the
    // steps leave open is closed. The result the dialog closed with.
    int WhileOpen(const std::function<void(CTavrix_DlgUpdate&)>& steps)
    {
        bool ran = false;
        QTimer::singleShot(0, m_update.get(), [&] {
            ran = true;
            steps(*m_update);
            m_update->CloseIfOpen();
        });
        const int result = m_update->Open();
        EXPECT_TRUE(ran) << "the dialog ran";
        EXPECT_FALSE(m_update->IsOpen());
        return result;
    }

    // A program at path that leaves the folder it ran in, as "pwd -P" prints it, in a file named
    // ran beside it.
    static void PlantUpdater(const fs::path& path)
    {
        fs::create_directories(path.parent_path());
        std::ofstream(path) << "#!/bin/sh\npwd -P > ran.tmp && mv ran.tmp ran\n";
        fs::permissions(path, fs::perms::owner_all);
    }

    // Chooses the file as the updater through the Open button.
    void Choose(CTavrix_DlgUpdate& dialog, const std::string& path)
    {
        m_prompts.fileAnswers.push_back(QString::fromStdString(path));
        dialog.OnCommand(kUpdateOpenId);
    }

    static int BootModeRequests()
    {
        int count = 0;
        for (const sim::Report& request : Sim().CommandRequests()) {
            count += request[sim::kFrameCommandAt] == static_cast<uint8_t>(sim::Command::EnterBoot) ? 1 : 0;
        }
        return count;
    }

    static bool AppearsSoon(const fs::path& file)
    {
        return WaitUntil([&] { return fs::exists(file); });
    }

    std::unique_ptr<CTavrix_DlgUpdate> m_update;
};

TEST_F(UpdateDialogTest, UpdateWithoutAProgramSaysSoAndSendsNothing)
{
    StartWithDialog();
    WhileOpen([&](CTavrix_DlgUpdate& dialog) {
        EXPECT_TRUE(dialog.isVisible());
        dialog.OnCommand(kUpdateStartId);
        EXPECT_TRUE(dialog.IsOpen());
    });
    ASSERT_EQ(MessageTexts().size(), 1u);
    EXPECT_EQ(MessageTexts()[0], Text("UPDATE_NO_FILE"));
    EXPECT_EQ(BootModeRequests(), 0);
    EXPECT_TRUE(m_opened.empty());
}

TEST_F(UpdateDialogTest, OpenTakesOnlyAFileTheUserMayRun)
{
    StartWithDialog();
    const std::string program = m_home / "Package/updater";
    PlantUpdater(program);
    const std::string plain = m_home / "Package/firmware.bin";
    std::ofstream(plain) << "not a program";
    const struct {
        std::string path;
        bool taken;
    } cases[] = {
        {plain, false},
        {m_home / "Package", false},
        {m_home / "Package/missing", false},
        {program, true},
    };
    WhileOpen([&](CTavrix_DlgUpdate& dialog) {
        for (const auto& c : cases) {
            m_prompts.messageBoxes.clear();
            Choose(dialog, c.path);
            EXPECT_EQ(dialog.UpdaterPath().toStdString(), c.taken ? c.path : std::string()) << c.path;
            EXPECT_EQ(MessageTexts(), c.taken ? std::vector<QString>{} : std::vector<QString>{Text("UPDATE_NO_FILE")})
                << c.path;
        }
        const auto* shown = dialog.GetDlgItem<controls::ColorStatic>(kUpdaterPathId);
        ASSERT_NE(shown, nullptr);
        EXPECT_EQ(shown->toolTip().toStdString(), program);
        EXPECT_FALSE(shown->text().isEmpty());
    });
    ASSERT_FALSE(m_prompts.openRequests.empty());
    EXPECT_EQ(m_prompts.openRequests[0].folder.toStdString(), Dlg().Paths().packageFolder);
}

TEST_F(UpdateDialogTest, RefusedBootModeSaysSoAndStartsNothing)
{
    StartWithDialog();
    const std::string program = m_home / "Package/updater";
    PlantUpdater(program);
    Sim().Unplug();
    ASSERT_TRUE(WaitUntil([&] { return Dlg().Sync().LastDeviceCount() == 0; }));
    WhileOpen([&](CTavrix_DlgUpdate& dialog) {
        Choose(dialog, program);
        dialog.OnCommand(kUpdateStartId);
        EXPECT_TRUE(dialog.IsOpen());
    });
    EXPECT_EQ(MessageTexts(), std::vector<QString>{Text("UPDATE_NO_BOOT_MODE")});
    EXPECT_TRUE(m_opened.empty());
}

TEST_F(UpdateDialogTest, UpdatePutsTheKeyboardInBootModeAndRunsTheUpdaterInItsFolder)
{
    StartWithDialog();
    // The real launch this time, not the recording.
    platform::SetShellOpenHandler({});
    const fs::path program = m_home / "Package/v2/updater";
    PlantUpdater(program);
    const int result = WhileOpen([&](CTavrix_DlgUpdate& dialog) {
        Choose(dialog, program);
        dialog.OnCommand(kUpdateStartId);
        EXPECT_FALSE(dialog.IsOpen()) << "the dialog closes once the updater started";
        EXPECT_TRUE(dialog.UpdaterPath().isEmpty());
    });
    EXPECT_EQ(result, skin::IDOK);
    EXPECT_TRUE(MessageTexts().empty());
    EXPECT_EQ(BootModeRequests(), 1);
    const sim::Report boot = Sim().CommandRequests().back();
    EXPECT_EQ(boot[sim::kFrameCommandAt], static_cast<uint8_t>(sim::Command::EnterBoot));
    EXPECT_EQ(boot[sim::kFrameLengthAt], sim::kBootConfirm);
    ASSERT_TRUE(AppearsSoon(program.parent_path() / "ran")) << "the updater ran";
    std::stringstream folder;
    folder << std::ifstream(program.parent_path() / "ran").rdbuf();
    EXPECT_EQ(folder.str(), fs::canonical(program.parent_path()).string() + "\n") << "in its own folder";
}

TEST_F(UpdateDialogTest, BackupWritesTheModelAndTellsHowItWent)
{
    StartWithDialog();
    const std::string backup = m_home / "backup.fwc";
    m_prompts.fileAnswers = {QString::fromStdString(backup), QString::fromStdString(m_home / "no/such/folder.fwc"),
                             std::nullopt};
    WhileOpen([&](CTavrix_DlgUpdate& dialog) {
        for (int i = 0; i < 3; ++i) {
            dialog.OnCommand(kUpdateBackupId);
        }
        EXPECT_TRUE(dialog.IsOpen());
    });
    EXPECT_EQ(MessageTexts(), (std::vector<QString>{Text("UPDATE_BACKUP_OK"), Text("UPDATE_BACKUP_FAILED")}));
    ASSERT_EQ(m_prompts.saveRequests.size(), 3u);
    EXPECT_EQ(m_prompts.saveRequests[0].defaultExtension, QStringLiteral("fwc"));
    EXPECT_TRUE(m_prompts.saveRequests[0].overwritePrompt);
    EXPECT_EQ(model::ValidateProfileFile(backup, Dlg()), model::kProfileValid);
    std::vector<uint8_t> written;
    ASSERT_EQ(platform::ReadWholeFile(backup, 1 << 24, written), platform::ReadResult::Ok);
    EXPECT_EQ(written, ModelBytes());
}

TEST_F(UpdateDialogTest, CancelUpdateForgetsTheProgramAndTheCommandBringsAnOpenDialogForward)
{
    StartWithDialog();
    const std::string program = m_home / "Package/updater";
    PlantUpdater(program);
    const int result = WhileOpen([&](CTavrix_DlgUpdate& dialog) {
        Choose(dialog, program);
        Dlg().OnCommand(kCommandUpdate);
        EXPECT_TRUE(dialog.IsOpen()) << "no second dialog, the same one stays";
        dialog.OnCommand(kUpdateCancelId);
        EXPECT_FALSE(dialog.IsOpen());
    });
    EXPECT_EQ(result, skin::IDCANCEL);
    EXPECT_TRUE(m_update->UpdaterPath().isEmpty());
    EXPECT_EQ(BootModeRequests(), 0);
}

} // namespace
} // namespace tavrix::ui
