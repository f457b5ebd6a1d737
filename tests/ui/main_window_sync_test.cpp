#include <filesystem>

#include "device/commands.h"
#include "main_window_fixture.h"
#include "model/key_code.h"
#include "model/profile_file.h"
#include "ui/main_window/custom_messages.h"

// The main window against a keyboard that misbehaves: nothing nobody chose reaches the keyboard,
// and every failure is told, naming the file when there is one.
namespace tavrix::ui {
namespace {

using Fault = dexlink::SimBackend::ReplyFault;

constexpr uint16_t kKeyA = 0x01E;
constexpr uint16_t kKeyB = 0x030;

class MainWindowSyncTest : public testing::MainWindowTest {
protected:
    // A profile file with A remapped in every profile.
    std::string ProfileFile()
    {
        model::ConfigModel file;
        model::NewModel(file, 0);
        for (std::size_t profile = 0; profile < 3; ++profile) {
            file.image.blocks[profile][model::KeyIndexOf(kKeyA)] = {model::kTypeKey, 0,
                                                                    static_cast<uint32_t>(kKeyB + profile)};
        }
        const std::string path = m_home / "profile.fwc";
        EXPECT_TRUE(model::SaveModelToFile(file, path));
        return path;
    }

    void Import(const std::string& path)
    {
        m_prompts.fileAnswers.push_back(QString::fromStdString(path));
        Dlg().OnCommand(kCommandImport);
    }

    bool Told(const char* key) const
    {
        const std::vector<QString> texts = MessageTexts();
        return std::find(texts.begin(), texts.end(), Text(key)) != texts.end();
    }
};

TEST_F(MainWindowSyncTest, ImportWhileTheDefaultTableCannotBeReadWritesNothing)
{
    ::ScopedEnv faults("DEXLINK_SIM_FAULTS", std::string("refuse 0x0F always"));
    Start();
    EXPECT_TRUE(Told("MAIN_DEFAULT_MATRIX_PROMPT"));
    const sim::KeyboardMemory before = Sim().Memory();
    const std::vector<uint8_t> model = ModelBytes();

    Import(ProfileFile());
    EXPECT_TRUE(Sim().Memory() == before) << "no key table was encoded against an unknown default table";
    EXPECT_EQ(ModelBytes(), model);
    ASSERT_FALSE(MessageTexts().empty());
    EXPECT_EQ(MessageTexts().back(), Text("MAIN_DEFAULT_MATRIX_WRITE_PROMPT"));
}

TEST_F(MainWindowSyncTest, ApplyStaysOffWhileTheKeyboardIsUnread)
{
    ::ScopedEnv faults("DEXLINK_SIM_FAULTS", std::string("profile 7"));
    Start();
    EXPECT_TRUE(Told("MAIN_MODEL_UNREAD_PROMPT"));
    const sim::KeyboardMemory before = Sim().Memory();

    Edit(0, model::KeyIndexOf(kKeyA), {model::kTypeKey, 0, kKeyB});
    EXPECT_FALSE(Dlg().IsApplyEnabled());
    Dlg().OnCommand(skin::IDOK);
    m_prompts.messageBoxAnswers.push_back(controls::PromptResult::Yes);
    Dlg().OnCommand(kDefaultsButtonId);
    EXPECT_TRUE(Sim().Memory() == before);

    Import(ProfileFile());
    EXPECT_NE(Sim().Memory().keyTables, before.keyTables) << "a file the user loaded whole may be written";
}

TEST_F(MainWindowSyncTest, ImportTheKeyboardRefusesIsToldAndKeepsApply)
{
    Start();
    Sim().AddFault({device::kCmdWriteKeyTable, {Fault::Kind::Status, 0xFF}, dexlink::kEveryReply});
    const std::string path = ProfileFile();
    Import(path);
    ASSERT_FALSE(MessageTexts().empty());
    EXPECT_TRUE(MessageTexts().back().contains(QString::fromStdString(path))) << MessageTexts().back().toStdString();
    EXPECT_TRUE(Dlg().IsApplyEnabled()) << "the keyboard still waits for the imported model";
}

TEST_F(MainWindowSyncTest, ExportThatCannotBeWrittenIsToldNamingTheFile)
{
    Start();
    const std::string path = m_home / "no such folder/backup.fwc";
    m_prompts.fileAnswers.push_back(QString::fromStdString(path));
    Dlg().OnCommand(kCommandExport);
    ASSERT_EQ(MessageTexts().size(), 1u);
    EXPECT_TRUE(MessageTexts().back().contains(QString::fromStdString(path))) << MessageTexts().back().toStdString();
    EXPECT_FALSE(std::filesystem::exists(path));
}

} // namespace
} // namespace tavrix::ui
