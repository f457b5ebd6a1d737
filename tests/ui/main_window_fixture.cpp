#include "main_window_fixture.h"

#include <QApplication>
#include <chrono>

#include "app/app_state.h"
#include "bin_folder.h"
#include "library.h"
#include "model/profile_file.h"
#include "platform/clock.h"
#include "sim_link_fixture.h"
#include "skin/language.h"

namespace tavrix::testing {

namespace {

constexpr double kTimeScale = 0.1;
constexpr auto kWaitBound = std::chrono::seconds(20);

} // namespace

void MainWindowTest::SetUp()
{
    platform::SetTimeScale(kTimeScale);
    platform::SetShellOpenHandler([this](const platform::ShellRequest& request) {
        m_opened.push_back(request);
        return true;
    });
    app::SetStartHidden(false);
}

void MainWindowTest::TearDown()
{
    m_composite.reset();
    m_dlg.reset();
    ::End();
    platform::SetShellOpenHandler({});
    platform::SetTimeScale(1.0);
}

void MainWindowTest::Start(bool keyboardPresent, bool startHidden)
{
    app::SetStartHidden(startHidden);
    const app::ProgramPaths paths = app::BuildProgramPaths(BinFolder() + "/tavrix");
    m_dlg = std::make_unique<ui::CTavrixDlg>(paths, [keyboardPresent] {
        EXPECT_GT(::Init(0), 0);
        if (!keyboardPresent) {
            Sim().Unplug();
        }
        return LinkedDeviceService();
    });
    ui::KeyboardPart* keyboard = m_ownKeyboard ? static_cast<ui::KeyboardPart*>(&m_dlg->Keyboard()) : &m_parts;
    ui::LightingPart* lighting = m_ownLighting ? static_cast<ui::LightingPart*>(&m_dlg->Lighting()) : &m_parts;
    if (m_ownComposite) {
        m_composite = std::make_unique<ui::Tavrix_DlgComposite>(*m_dlg);
    }
    ui::EditorPart* composite = m_ownComposite ? static_cast<ui::EditorPart*>(m_composite.get()) : &m_parts;
    m_dlg->AttachParts({keyboard, lighting, &m_parts, composite, nullptr});
    m_dlg->SetRunEnd([this] { ++m_runEnds; });
    m_dlg->SetInstanceRelease([this] { ++m_releases; });
    ASSERT_TRUE(m_dlg->Create());
    ASSERT_TRUE(WaitUntilSettled(keyboardPresent ? ui::kIconKeyboard : ui::kIconNoKeyboard));
}

bool MainWindowTest::WaitUntil(const std::function<bool()>& done)
{
    const auto end = std::chrono::steady_clock::now() + kWaitBound;
    while (!done()) {
        if (std::chrono::steady_clock::now() > end) {
            return false;
        }
        QApplication::processEvents(QEventLoop::AllEvents, 5);
        platform::SleepMs(1);
    }
    return true;
}

bool MainWindowTest::WaitUntilSettled(int iconId)
{
    // The connection routine ends by setting the tray icon, asking for the window and setting
    // the start-hidden flag; what it posted is handled by the pump after it.
    const bool settled = WaitUntil(
        [&] { return m_dlg->IsInitialisationComplete() && m_dlg->TrayIconId() == iconId && app::IsStartHidden(); });
    Pump();
    Settle();
    return settled;
}

void MainWindowTest::Settle()
{
    // Posted events may hand the keyboard thread work, and what it finished is shown by the
    // window's thread after it, which may hand it more.
    do {
        Pump();
        EXPECT_TRUE(WaitUntil([&] { return m_dlg->IsKeyboardIdle(); }));
        Pump();
    } while (!m_dlg->IsKeyboardIdle());
}

dexlink::SimBackend& MainWindowTest::Sim()
{
    auto* sim = dynamic_cast<dexlink::SimBackend*>(dexlink::Library::Instance().ActiveBackend());
    EXPECT_NE(sim, nullptr);
    return *sim;
}

QString MainWindowTest::Text(const char* key)
{
    return QString::fromStdString(skin::LoadLangText(key, skin::GetLanguageIndex()));
}

std::vector<QString> MainWindowTest::MessageTexts() const
{
    std::vector<QString> texts;
    for (const auto& request : m_prompts.messageBoxes) {
        texts.push_back(request.text);
    }
    return texts;
}

std::vector<uint8_t> MainWindowTest::ModelBytes()
{
    std::lock_guard lock(app::ModelLock());
    return model::EncodeProfileFile(m_dlg->Sync().Model());
}

void MainWindowTest::Edit(int profile, std::size_t slot, const model::KeyAssignment& assignment)
{
    {
        std::lock_guard lock(app::ModelLock());
        m_dlg->Sync().Model().image.blocks[static_cast<size_t>(profile)][slot] = assignment;
    }
    m_dlg->SetApplyEnabled(true);
}

model::KeyAssignment MainWindowTest::SlotOf(int profile, std::size_t slot)
{
    std::lock_guard lock(app::ModelLock());
    return m_dlg->Sync().Model().image.blocks[static_cast<size_t>(profile)][slot];
}

} // namespace tavrix::testing
