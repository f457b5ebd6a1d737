#include <QApplication>
#include <QEvent>
#include <QLabel>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTimer>
#include <algorithm>
#include <array>
#include <fstream>
#include <thread>

#include "app/app_state.h"
#include "bin_folder.h"
#include "device/protocol.h"
#include "main_window_fixture.h"
#include "model/key_code.h"
#include "model/profile_file.h"
#include "sim_link_fixture.h"
#include "skin/language.h"
#include "skin/skin_rect.h"
#include "ui/main_window/about_dlg.h"
#include "ui/main_window/custom_messages.h"
#include "ui/main_window/key_layout.h"
#include "ui/main_window/progress_picture.h"

namespace tavrix::ui {
namespace {

using testing::MainWindowTest;

constexpr uint16_t kKeyA = 0x01E;
constexpr uint16_t kKeyB = 0x030;

// Counts how often a widget was shown.
class ShowCounter : public QObject {
public:
    int shows = 0;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Show && dynamic_cast<CTavrixDlg*>(watched) != nullptr) {
            ++shows;
        }
        return false;
    }
};

model::KeyAssignment Remap(uint16_t to)
{
    return {model::kTypeKey, 0, to};
}

class MainWindowSessionTest : public MainWindowTest {
protected:
    int CurrentProfile() { return Dlg().Commands().GetCurrentProfile(); }
};

TEST_F(MainWindowSessionTest, StartWithTheKeyboardShowsTheWindowOnce)
{
    ShowCounter counter;
    QApplication::instance()->installEventFilter(&counter);
    Start();
    ASSERT_TRUE(WaitUntil([&] { return Dlg().isVisible(); }));
    QApplication::instance()->removeEventFilter(&counter);
    EXPECT_FALSE(Dlg().windowFlags().testFlag(Qt::Tool)) << "a shown window has a taskbar entry";
    EXPECT_EQ(counter.shows, 1) << "shown once, never during start-up";
    EXPECT_GE(m_parts.keyMarks, 1) << "the keys were marked from the keyboard";
    EXPECT_EQ(m_parts.selectedProfile, CurrentProfile());
    EXPECT_FALSE(Dlg().IsApplyEnabled());
    EXPECT_TRUE(MessageTexts().empty());
}

TEST_F(MainWindowSessionTest, StartWithoutKeyboardStaysHiddenAndOpenExplains)
{
    Start(false);
    EXPECT_FALSE(Dlg().isVisible());
    EXPECT_TRUE(Dlg().windowFlags().testFlag(Qt::Tool)) << "no taskbar entry while hidden";
    // Three asks before the first box was read (the tray, two more starts) give one box.
    Dlg().OnCommand(kCommandOpen);
    Dlg().OnMessage(UM_OPEN, kOpenRequestTag, 0);
    Dlg().OnMessage(UM_OPEN, kOpenRequestTag, 0);
    EXPECT_TRUE(MessageTexts().empty()) << "the answer to another instance does not wait for the message";
    testing::Pump();
    ASSERT_EQ(MessageTexts().size(), 1U);
    EXPECT_FALSE(Dlg().isVisible());
    EXPECT_EQ(MessageTexts()[0], Text("MAIN_NO_DEVICE_PROMPT"));
    EXPECT_EQ(m_prompts.messageBoxes[0].caption, Text("MAIN_CAPTION"));
    Dlg().OnCommand(kCommandOpen);
    testing::Pump();
    EXPECT_EQ(MessageTexts().size(), 2U) << "once read, the next ask shows it again";
}

TEST_F(MainWindowSessionTest, StartHiddenStaysInTheTrayUntilOpened)
{
    Start(true, true);
    EXPECT_FALSE(Dlg().isVisible());
    Dlg().OnCommand(kCommandOpen);
    EXPECT_TRUE(Dlg().isVisible());
    EXPECT_TRUE(MessageTexts().empty());
}

TEST_F(MainWindowSessionTest, WindowButtonsSitWhereTheSkinSaysAndDoTheirWork)
{
    Start(true, true);
    const struct {
        int id;
        const char* key;
    } buttons[] = {
        {1121, "OSTRIM_LINK"},
        {1209, "FACEBOOK_LINK"},
        {1210, "TWITTER_LINK"},
        {1005, "FUNC_PROFILES"},
        {1007, "FUNC_MACRO"},
        {skin::IDOK, "CONTROL_OK"},
        {skin::IDCANCEL, "CONTROL_CANCEL"},
        {1122, "CONTROL_HELP"},
        {1124, "CONTROL_CLOSE"},
        {1123, "CONTROL_MINIMIZE"},
        {1139, "CONTROL_MENU"},
        {kApplyButtonId, "CONTROL2_APPLY"},
        {1134, "OSTRIM_VER"},
        {1138, "FUNC_DEFAULT"},
        {1144, "FUNC_SWITCH"},
        {1135, "FUNC_PROFILE1"},
        {1136, "FUNC_PROFILE2"},
        {1137, "FUNC_PROFILE3"},
    };
    for (const auto& button : buttons) {
        const skin::SkinRect rect = skin::ReadSkinRect(Dlg().SkinIniPath(), "BUTTONINFO", button.key);
        EXPECT_EQ(testing::Control(Dlg(), button.id).geometry(), QRect(rect.x, rect.y, rect.w, rect.h)) << button.key;
    }
    EXPECT_FALSE(testing::Control(Dlg(), 1134).isEnabled()) << "the version label";
    EXPECT_TRUE(testing::Control(Dlg(), 1144).isHidden()) << "the switch stays hidden";
    EXPECT_FALSE(testing::Control(Dlg(), kApplyButtonId).isEnabled()) << "nothing to apply yet";

    for (int link : {1121, 1209, 1210, 1122}) {
        Dlg().OnCommand(link);
    }
    ASSERT_EQ(m_opened.size(), 4u);
    EXPECT_EQ(m_opened[0].target, Dlg().SiteLink());
    EXPECT_NE(m_opened[1].target, m_opened[0].target);
    EXPECT_NE(m_opened[2].target, m_opened[1].target);
    for (const auto& request : m_opened) {
        EXPECT_EQ(request.show, platform::ShowMode::Normal);
    }
    Dlg().OnCommand(1007);
    EXPECT_EQ(m_parts.openedFor, kGKeyIds.back()) << "the macro button edits G9";
}

TEST_F(MainWindowSessionTest, MessagesWithAnotherTagAreIgnored)
{
    Start(true, true);
    const struct {
        uint32_t message;
        controls::WParam wParam;
    } cases[] = {
        {UM_OPEN, kKillRequestTag}, {UM_KILL, kOpenRequestTag}, {UM_INIT, 0},          {UM_PROFILE, kInitTag},
        {UM_GKEYS, kProfileTag},    {UM_LANG, kGKeysTag},       {UM_CLOSE_EDITORS, 1}, {0x1234, kOpenRequestTag},
    };
    const int gKeyMarks = m_parts.gKeyMarks;
    for (const auto& c : cases) {
        EXPECT_EQ(Dlg().OnMessage(c.message, c.wParam, 0), 0) << std::hex << c.message;
    }
    EXPECT_FALSE(Dlg().isVisible());
    EXPECT_EQ(m_runEnds, 0);
    EXPECT_EQ(m_parts.closed, 0);
    EXPECT_EQ(m_parts.gKeyMarks, gKeyMarks);
}

TEST_F(MainWindowSessionTest, KillAndTheCloseButtonRunTheExitRoutine)
{
    const std::function<void(CTavrixDlg&)> ways[] = {
        [](CTavrixDlg& dlg) { EXPECT_EQ(dlg.OnMessage(UM_KILL, kKillRequestTag, 0), 1); },
        [](CTavrixDlg& dlg) { testing::Click(testing::Control(dlg, 1124)); },
        [](CTavrixDlg& dlg) { dlg.OnCommand(kCommandExit); },
    };
    for (const auto& exit : ways) {
        Start();
        m_runEnds = m_releases = m_parts.closed = 0;
        Edit(0, model::KeyIndexOf(kKeyA), Remap(kKeyB));
        exit(Dlg());
        EXPECT_FALSE(Dlg().isVisible());
        EXPECT_EQ(m_runEnds, 1);
        EXPECT_EQ(m_releases, 1) << "the instance is given up";
        EXPECT_EQ(m_parts.closed, 2) << "profile manager and composite dialog closed as cancelled";
        EXPECT_FALSE(Dlg().IsApplyEnabled());
        EXPECT_EQ(Dlg().TrayIconId(), 0);
        EXPECT_EQ(SlotOf(0, model::KeyIndexOf(kKeyA)).type, model::kTypeDefault) << "the model is released";
        Dlg().ExitRoutine();
        EXPECT_EQ(m_releases, 1) << "the routine runs once";
        m_dlg.reset();
        ::End();
    }
}

TEST_F(MainWindowSessionTest, ExitTellsTheLinksThreadsToStopWaitingForTheKeyboard)
{
    Start(true, true);
    // The keyboard stops answering while a thread reads it.
    Sim().QueueReplyFault({dexlink::SimBackend::ReplyFault::Kind::Drop}, 100);
    const std::size_t before = Sim().CommandRequests().size();
    int result = -1;
    std::thread reader([&] {
        std::array<uint8_t, device::kInfoBlockSize> info{};
        result = Dlg().Commands().ReadInfoBlock(info);
    });
    ASSERT_TRUE(WaitUntil([&] { return Sim().CommandRequests().size() > before; }));
    Dlg().OnMessage(UM_KILL, kKillRequestTag, 0);
    reader.join();
    EXPECT_EQ(result, device::kResultNoDevice);
    EXPECT_EQ(Sim().CommandRequests().size(), before + 1) << "no retries once told to stop";
    std::array<uint8_t, device::kInfoBlockSize> info{};
    EXPECT_EQ(Dlg().Commands().ReadInfoBlock(info), device::kResultNoDevice);
    EXPECT_EQ(Sim().CommandRequests().size(), before + 1) << "nothing goes out after the exit";
}

TEST_F(MainWindowSessionTest, OkAppliesAndHidesCancelHidesAndKeepsApply)
{
    Start();
    const int profile = CurrentProfile();
    ASSERT_GE(profile, 0);
    const auto before = Sim().Memory().keyTables[static_cast<size_t>(profile)];

    Edit(profile, model::KeyIndexOf(kKeyA), Remap(kKeyB));
    testing::Click(testing::Control(Dlg(), skin::IDCANCEL));
    EXPECT_FALSE(Dlg().isVisible());
    EXPECT_TRUE(Dlg().IsApplyEnabled());
    EXPECT_EQ(Sim().Memory().keyTables[static_cast<size_t>(profile)], before) << "Cancel writes nothing";

    // A close request from the window manager (Alt+F4) is Cancel: the program stays.
    Dlg().ShowMainWindow();
    EXPECT_TRUE(Dlg().isVisible());
    Dlg().close();
    EXPECT_FALSE(Dlg().isVisible());
    EXPECT_EQ(m_runEnds, 0);
    EXPECT_TRUE(Dlg().IsApplyEnabled());
    Dlg().OnCommand(kCommandOpen);
    EXPECT_TRUE(Dlg().isVisible()) << "and opens again";

    Dlg().ShowMainWindow();
    testing::Click(testing::Control(Dlg(), skin::IDOK));
    EXPECT_FALSE(Dlg().isVisible());
    EXPECT_FALSE(Dlg().IsApplyEnabled());
    EXPECT_NE(Sim().Memory().keyTables[static_cast<size_t>(profile)], before) << "OK wrote the key table";
}

TEST_F(MainWindowSessionTest, ApplyWithNothingChangedWritesNothingButFlashesTheProgress)
{
    Start();
    const auto requests = Sim().CommandRequests();
    testing::Click(testing::Control(Dlg(), kApplyButtonId));
    Dlg().ApplyChanges();
    auto& progress = dynamic_cast<ProgressPicture&>(testing::Control(Dlg(), ProgressPicture::kId));
    EXPECT_TRUE(progress.isVisibleTo(&Dlg()));
    EXPECT_TRUE(WaitUntil([&] { return !progress.isVisibleTo(&Dlg()); }));
    EXPECT_EQ(Sim().CommandRequests(), requests);
}

TEST_F(MainWindowSessionTest, ProgressTurnsWhileAnApplyRuns)
{
    Start();
    auto& progress = dynamic_cast<ProgressPicture&>(testing::Control(Dlg(), ProgressPicture::kId));
    int paints = 0;
    std::size_t frames = 0;
    Edit(CurrentProfile(), model::KeyIndexOf(kKeyA), Remap(kKeyB));
    QTimer probe;
    QObject::connect(&probe, &QTimer::timeout, [&] {
        ++paints;
        frames = std::max(frames, progress.Frame());
    });
    probe.start(1);
    // Slow replies make the apply take long enough to watch.
    Sim().QueueReplyFault({dexlink::SimBackend::ReplyFault::Kind::Delay, 30000}, 6);
    Dlg().ApplyChanges();
    probe.stop();
    EXPECT_GT(paints, 0) << "the window's thread kept handling events during the apply";
    EXPECT_GT(frames, 0u) << "the progress picture advanced";
    EXPECT_FALSE(Dlg().IsApplyEnabled());
}

TEST_F(MainWindowSessionTest, ImportOfAnInvalidFileLeavesTheModel)
{
    Start();
    Edit(CurrentProfile(), model::KeyIndexOf(kKeyA), Remap(kKeyB));
    const std::string bad = m_home / "bad.fwc";
    std::ofstream(bad) << "not a profile file";
    const std::vector<uint8_t> model = ModelBytes();
    for (const std::string& path : {bad, m_home / "missing.fwc"}) {
        m_prompts.fileAnswers.push_back(QString::fromStdString(path));
        Dlg().OnCommand(kCommandImport);
        ASSERT_FALSE(MessageTexts().empty());
        EXPECT_EQ(MessageTexts().back(), Text("MAIN_PROMPT_INPORT").replace("%s", QString::fromStdString(path)));
        EXPECT_EQ(ModelBytes(), model) << path;
    }
    EXPECT_TRUE(Dlg().IsApplyEnabled());
    EXPECT_EQ(m_prompts.openRequests.front().defaultExtension, "fwc");
    EXPECT_EQ(m_prompts.openRequests.front().initialName, "*.fwc");
}

TEST_F(MainWindowSessionTest, ImportOfAValidFileWritesAllThreeProfiles)
{
    Start();
    const auto before = Sim().Memory().keyTables;
    model::ConfigModel file;
    model::NewModel(file, 0);
    for (std::size_t profile = 0; profile < 3; ++profile) {
        file.image.blocks[profile][model::KeyIndexOf(kKeyA)] = Remap(static_cast<uint16_t>(kKeyB + profile));
    }
    const std::string path = m_home / "good.fwc";
    ASSERT_TRUE(model::SaveModelToFile(file, path));
    m_prompts.fileAnswers.push_back(QString::fromStdString(path));
    Dlg().OnCommand(kCommandImport);
    EXPECT_TRUE(MessageTexts().empty());
    const auto after = Sim().Memory().keyTables;
    for (std::size_t profile = 0; profile < 3; ++profile) {
        EXPECT_NE(after[profile], before[profile]) << profile;
        EXPECT_EQ(SlotOf(static_cast<int>(profile), model::KeyIndexOf(kKeyA)).value, kKeyB + profile);
    }
    EXPECT_FALSE(Dlg().IsApplyEnabled());
    EXPECT_GE(m_parts.keyMarks, 2);
}

TEST_F(MainWindowSessionTest, ExportWritesAValidProfileFile)
{
    Start();
    Edit(CurrentProfile(), model::KeyIndexOf(kKeyA), Remap(kKeyB));
    const std::string path = m_home / "backup.fwc";
    m_prompts.fileAnswers.push_back(QString::fromStdString(path));
    Dlg().OnCommand(kCommandExport);
    ASSERT_EQ(m_prompts.saveRequests.size(), 1u);
    EXPECT_TRUE(m_prompts.saveRequests[0].overwritePrompt);
    EXPECT_EQ(m_prompts.saveRequests[0].folder, QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation));
    EXPECT_EQ(controls::NameFiltersFromPattern(m_prompts.saveRequests[0].filter),
              (QStringList{Text("FILE_FILTER_PROFILE"), Text("FILE_FILTER_ALL")}));
    Dlg().OnCommand(kCommandImport);
    ASSERT_EQ(m_prompts.openRequests.size(), 1u);
    EXPECT_EQ(m_prompts.openRequests[0].folder.toStdString(), m_home.Path()) << "the folder last used";
    EXPECT_EQ(model::ValidateProfileFile(path, Dlg()), model::kProfileValid);
    model::ConfigModel loaded;
    ASSERT_TRUE(model::LoadProfileFile(path, loaded));
    EXPECT_EQ(loaded.image.blocks[static_cast<size_t>(CurrentProfile())][model::KeyIndexOf(kKeyA)].value, kKeyB);
}

TEST_F(MainWindowSessionTest, ButtonMenuRunsImportExportAndAbout)
{
    Start();
    m_prompts.menuAnswers = {kCommandExport, kCommandAbout, 0};
    for (int i = 0; i < 3; ++i) {
        Dlg().OnCommand(1139);
    }
    ASSERT_EQ(m_prompts.menus.size(), 3u);
    const std::vector<controls::MenuItem>& items = m_prompts.menus[0];
    ASSERT_EQ(items.size(), 3u);
    EXPECT_EQ(items[0].id, kCommandImport);
    EXPECT_EQ(items[0].text, Text("MENU_1"));
    EXPECT_EQ(items[1].text, Text("MENU_2"));
    EXPECT_EQ(items[2].text, Text("MENU_3"));
    EXPECT_EQ(m_prompts.saveRequests.size(), 1u);
    EXPECT_NE(Dlg().AboutDialog(), nullptr);
}

TEST_F(MainWindowSessionTest, RestoreDefaultsInBankBClearsTheKeysAndBankBOnly)
{
    Start();
    const int profile = CurrentProfile();
    const int other = (profile + 1) % 3;
    const std::size_t keyA = model::KeyIndexOf(kKeyA);
    const std::size_t bankA = model::GKeySlot(model::GKeyBank::A, 0);
    const std::size_t bankB = model::GKeySlot(model::GKeyBank::B, 2);
    Sim().SendConsumerEvent(device::kEventBankToggle);
    ASSERT_TRUE(WaitUntil([&] { return Dlg().ActiveBank() == 1; }));

    for (const controls::PromptResult answer : {controls::PromptResult::No, controls::PromptResult::Yes}) {
        Edit(profile, keyA, Remap(kKeyB));
        Edit(profile, bankA, Remap(kKeyB));
        Edit(profile, bankB, Remap(kKeyB));
        Edit(other, keyA, Remap(kKeyB));
        m_prompts.messageBoxAnswers.push_back(answer);
        Dlg().OnCommand(1138);
        EXPECT_EQ(m_prompts.messageBoxes.back().text, Text("MAIN_PROMPT_DEFAULT"));
        EXPECT_EQ(m_prompts.messageBoxes.back().defaultButton, controls::PromptResult::No);
        const bool cleared = answer == controls::PromptResult::Yes;
        EXPECT_EQ(SlotOf(profile, keyA).type == model::kTypeDefault, cleared);
        EXPECT_EQ(SlotOf(profile, bankB) == model::KeyAssignment{}, cleared) << "the G-key code goes too";
        EXPECT_EQ(SlotOf(profile, bankA).type, model::kTypeKey) << "bank A keeps its assignment";
        EXPECT_EQ(SlotOf(other, keyA).type, model::kTypeKey) << "other profiles keep theirs";
        EXPECT_EQ(m_parts.keysCleared, cleared ? 1 : 0);
        EXPECT_EQ(Dlg().IsApplyEnabled(), !cleared) << "Yes applies at once";
    }
    for (const DrawnKey& key : DrawnKeys()) {
        EXPECT_EQ(SlotOf(profile, model::KeyIndexOf(key.keyCode)).type, model::kTypeDefault) << key.id;
    }
}

TEST_F(MainWindowSessionTest, KeyboardEventsReachTheWindow)
{
    Start();
    const int marks = m_parts.gKeyMarks;
    Sim().SendConsumerEvent(device::kEventBankToggle);
    EXPECT_TRUE(WaitUntil([&] { return m_parts.gKeyMarks > marks; })) << "UM_GKEYS after a bank toggle";
    Sim().SendConsumerEvent(device::kEventKeyboardBusy);
    EXPECT_TRUE(WaitUntil([&] { return Dlg().TrayIconId() == kIconKeyboardBusy; }));
    Sim().SendConsumerEvent(device::kEventKeyboardIdle);
    EXPECT_TRUE(WaitUntil([&] { return Dlg().TrayIconId() == kIconKeyboard; })) << "the remembered icon";
}

TEST_F(MainWindowSessionTest, LightingIsReadOnArrivalAndWhenTheKeyboardChangedIt)
{
    Start(true, true);
    EXPECT_EQ(m_parts.lightingReads, 1) << "read with the rest of the keyboard";
    EXPECT_EQ(m_parts.lightingRefreshes, 1);
    EXPECT_EQ(m_parts.lightingLanguage, skin::GetLanguageIndex());
    Sim().SendConsumerEvent(device::kEventLightingChanged);
    EXPECT_TRUE(WaitUntil([&] { return m_parts.lightingRefreshes == 2; }));
    EXPECT_EQ(m_parts.lightingReads, 1);
    EXPECT_EQ(m_parts.lightingSettingsReads, 1) << "only the settings blocks are read again";
    testing::Pump();
    EXPECT_EQ(m_parts.lightingRefreshes, 2) << "the refresh timer runs once";
}

TEST_F(MainWindowSessionTest, FailedApplyKeepsApplyEnabled)
{
    Start(true, true);
    Edit(CurrentProfile(), model::KeyIndexOf(kKeyA), Remap(kKeyB));
    Sim().QueueReplyFault({dexlink::SimBackend::ReplyFault::Kind::Status, 0xFF}, 1000);
    Dlg().PostMessage(WM_TIMECHANGE, 0, 0);
    testing::Pump();
    EXPECT_TRUE(Dlg().IsApplyEnabled());
    auto& progress = dynamic_cast<ProgressPicture&>(testing::Control(Dlg(), ProgressPicture::kId));
    EXPECT_TRUE(WaitUntil([&] { return !progress.isVisibleTo(&Dlg()); })) << "the progress goes away again";
}

TEST_F(MainWindowSessionTest, RestoreDefaultsResetsTheLightingOnlyInTheLightingEdit)
{
    Start(true, true);
    for (const bool edit : {false, true}) {
        m_parts.lightingEdit = edit;
        m_prompts.messageBoxAnswers.push_back(controls::PromptResult::Yes);
        Dlg().OnCommand(1138);
        EXPECT_EQ(m_parts.lightingResets, edit ? 1 : 0);
    }
}

TEST_F(MainWindowSessionTest, UnplugClosesEditorsHidesAndShowsNoKeyboard)
{
    Start();
    ASSERT_TRUE(WaitUntil([&] { return Dlg().isVisible(); }));
    Dlg().OnCommand(kCommandAbout);
    Sim().Unplug();
    EXPECT_TRUE(WaitUntil([&] { return !Dlg().isVisible() && Dlg().TrayIconId() == kIconNoKeyboard; }));
    EXPECT_EQ(m_parts.closed, 2);
    EXPECT_TRUE(WaitUntil([&] { return Dlg().AboutDialog() == nullptr; })) << "the about box closed too";
    Dlg().OnCommand(kCommandOpen);
    ASSERT_TRUE(WaitUntil([&] { return !MessageTexts().empty(); }));
    EXPECT_EQ(MessageTexts().back(), Text("MAIN_NO_DEVICE_PROMPT"));

    Sim().Replug();
    EXPECT_TRUE(WaitUntil([&] { return Dlg().TrayIconId() == kIconKeyboard; }));
    EXPECT_FALSE(Dlg().isVisible()) << "a returning keyboard does not open the window by itself";
}

TEST_F(MainWindowSessionTest, AboutIsOneWindowAndFollowsTheLanguage)
{
    Start(true, true);
    Dlg().OnCommand(kCommandAbout);
    CAboutDlg* about = Dlg().AboutDialog();
    ASSERT_NE(about, nullptr);
    Dlg().OnCommand(kCommandAbout);
    Dlg().OnCommand(kCommandSystemAbout);
    EXPECT_EQ(Dlg().AboutDialog(), about);
    int abouts = 0;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        abouts += dynamic_cast<CAboutDlg*>(widget) != nullptr ? 1 : 0;
    }
    EXPECT_EQ(abouts, 1);
    EXPECT_EQ(about->windowTitle(), Text("LANG_ABOUT_TITLE"));

    Dlg().SendMessage(UM_LANG, kLangTag, 1);
    EXPECT_EQ(about->windowTitle(), QString::fromStdString(skin::LoadLangText("LANG_ABOUT_TITLE", 1)));
    EXPECT_EQ(m_parts.language, 1) << "the composite dialog follows too";
    EXPECT_TRUE(QRegularExpression("^\\d+\\.\\d+").match(CAboutDlg::Version()).hasMatch())
        << CAboutDlg::Version().toStdString();
    auto& version = dynamic_cast<QLabel&>(testing::Control(*about, CAboutDlg::kVersionLabelId));
    EXPECT_EQ(version.text(),
              QString::fromStdString(skin::LoadLangText("LANG_ABOUT_VERSION", 1)) + " " + CAboutDlg::Version());
    testing::Pump();
    for (int id : {CAboutDlg::kIntroLabelId, CAboutDlg::kVersionLabelId, CAboutDlg::kCopyrightLabelId}) {
        auto& label = dynamic_cast<QLabel&>(testing::Control(*about, id));
        EXPECT_LT(label.height(), 2 * label.fontMetrics().lineSpacing()) << "one line, not broken: " << id;
        EXPECT_GE(label.width(), label.fontMetrics().horizontalAdvance(label.text())) << id;
    }
    EXPECT_EQ(dynamic_cast<controls::CPngButton&>(testing::Control(Dlg(), skin::IDOK)).text(),
              QString::fromStdString(skin::LoadLangText("PROFILE_OK", 1)));

    auto& link = dynamic_cast<CHyperLink&>(testing::Control(*about, CAboutDlg::kLinkId));
    testing::Click(link);
    ASSERT_FALSE(m_opened.empty());
    EXPECT_EQ(m_opened.back().target, Dlg().SiteLink());

    testing::Click(testing::Control(*about, CAboutDlg::kOkId));
    EXPECT_TRUE(WaitUntil([&] { return Dlg().AboutDialog() == nullptr; }));
    Dlg().OnCommand(kCommandAbout);
    EXPECT_NE(Dlg().AboutDialog(), nullptr) << "a new one after the first closed";
}

TEST_F(MainWindowSessionTest, EnterAndEscapeDoNothingF1OpensHelp)
{
    Start();
    ASSERT_TRUE(WaitUntil([&] { return Dlg().isVisible(); }));
    Edit(CurrentProfile(), model::KeyIndexOf(kKeyA), Remap(kKeyB));
    for (Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape}) {
        testing::Key(Dlg(), key);
        EXPECT_TRUE(Dlg().isVisible()) << key;
    }
    EXPECT_TRUE(Dlg().IsApplyEnabled());
    EXPECT_EQ(m_runEnds, 0);

    testing::Key(Dlg(), Qt::Key_F1);
    testing::Click(testing::Control(Dlg(), 1122));
    ASSERT_EQ(m_opened.size(), 2u);
    for (const auto& request : m_opened) {
        EXPECT_EQ(request.target, app::BuildProgramPaths(BinFolder() + "/tavrix").helpFolder + "index.html");
    }
}

} // namespace
} // namespace tavrix::ui
