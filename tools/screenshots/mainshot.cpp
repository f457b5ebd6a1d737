#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QLineEdit>
#include <QTableView>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>

#include "app/app_state.h"
#include "app/program_paths.h"
#include "controls/skin_look.h"
#include "device/device_service.h"
#include "model/key_code.h"
#include "platform/app_profile.h"
#include "ui/editors/action_view.h"
#include "ui/editors/tavrix_dlg_composite.h"
#include "ui/editors/tavrix_dlg_profile.h"
#include "ui/editors/tavrix_dlg_update.h"
#include "ui/main_window/custom_messages.h"
#include "ui/main_window/tavrix_dlg.h"

// Grabs the main window as it shows the simulated keyboard onto PNG files: the drawn keyboard with
// a few keys assigned, their marks and the current profile; the same with the top row swapped to
// D1 to D6; the key-assignment dialog opened for A on each of its four pages, its macro page also
// while recording and while a delay is typed; the profile manager and the update dialog; then the
// lighting panel open on the per-key effect, with the lamp frames of the current pattern on the
// keys; and the About box in English and in Simplified Chinese.
//
//   mainshot <folder of the built program> <output folder>
namespace {

constexpr auto kWaitBound = std::chrono::seconds(30);

// Handles events until done() holds; false when it did not within the bound.
template <typename Done> bool WaitUntil(Done done)
{
    const auto end = std::chrono::steady_clock::now() + kWaitBound;
    while (!done()) {
        if (std::chrono::steady_clock::now() > end) {
            return false;
        }
        QApplication::processEvents(QEventLoop::AllEvents, 5);
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}

// A few assignments a user would make: A sends B, Caps Lock is off, G1 sends Esc.
void AssignKeys(tavrix::ui::CTavrixDlg& window, int profile)
{
    using namespace tavrix::model;
    ModelEditor& editor = window.Sync().Editor();
    (void)editor.AssignKey(profile, KeyIndexOf(0x1E), kTypeKey, 0, 0x30);
    (void)editor.AssignKey(profile, KeyIndexOf(0x3A), kTypeDisabled, 0, 0);
    (void)editor.AssignKey(profile, GKeySlot(GKeyBank::A, 0), kTypeKey, GKeyCode(GKeyBank::A, 0), 0x01);
    std::vector<MacroRecord> macros(2);
    const char16_t* names[] = {u"Reload", u"Greeting"};
    for (std::size_t i = 0; i < macros.size(); ++i) {
        macros[i].number = static_cast<uint16_t>(i + 1);
        macros[i].repeatCount = static_cast<uint8_t>(i + 1);
        macros[i].SetName(names[i]);
    }
    // Reload: Ctrl+R, as a recording with its pauses kept would give it.
    const MacroAction reload[] = {
        {120, 0x1D, kMacroPress}, {80, 0x13, kMacroPress}, {60, 0x13, kMacroRelease}, {0, 0x1D, kMacroRelease}};
    std::copy(std::begin(reload), std::end(reload), macros[0].actions.begin());
    macros[0].actionCount = static_cast<uint16_t>(std::size(reload));
    (void)editor.CommitMacros(std::move(macros));
    window.RefreshKeyMarks();
}

// Switches the lighting edit on and picks the per-key effect, as the user would.
bool OpenPerKeyLighting(tavrix::ui::CTavrixDlg& window)
{
    using namespace tavrix::ui;
    if (!window.Lighting().IsLightingEditOn()) {
        window.OnCommand(kLightingToggleId);
    }
    const std::vector<uint8_t>& effects = window.Lighting().SupportedEffects();
    const auto found = std::find(effects.begin(), effects.end(), tavrix::model::kPerKeyEffect);
    auto* list = window.GetDlgItem<QComboBox>(kEffectListId);
    if (found == effects.end() || list == nullptr) {
        return false;
    }
    const int position = static_cast<int>(found - effects.begin());
    list->setCurrentIndex(position);
    emit list->activated(position);
    return true;
}

bool Save(QWidget& window, const QString& path)
{
    QApplication::processEvents();
    if (!window.grab().save(path)) {
        std::fprintf(stderr, "mainshot: cannot write %s\n", path.toLocal8Bit().constData());
        return false;
    }
    std::printf("%s\n", path.toLocal8Bit().constData());
    return true;
}

// The macro page while it records (the record button reads Stop), and while the user types a
// delay into a cell.
bool ShootMacroPageStates(tavrix::ui::Tavrix_DlgComposite& composite, const QString& outFolder)
{
    using namespace tavrix::ui;
    auto* actions = composite.GetDlgItem<ActionView>(kActionListId);
    if (actions == nullptr || actions->model()->rowCount() < 2) {
        std::fprintf(stderr, "mainshot: the macro page shows no actions\n");
        return false;
    }
    actions->SelectRow(1);
    composite.OnCommand(kRecordId);
    bool saved = Save(composite, outFolder + "/composite_macro_recording.png");
    composite.OnCommand(kRecordId);
    const QModelIndex delay = actions->model()->index(1, 2);
    actions->setCurrentIndex(delay);
    actions->edit(delay);
    if (auto* edit = qobject_cast<QLineEdit*>(actions->indexWidget(delay))) {
        edit->setText(QStringLiteral("1250"));
    }
    saved = Save(composite, outFolder + "/composite_macro_delay_edit.png") && saved;
    actions->EndEdit();
    return saved;
}

// Opens the key-assignment dialog for A, as a click on it does, and grabs each of its pages.
bool ShootCompositePages(tavrix::ui::CTavrixDlg& window, const QString& outFolder)
{
    using namespace tavrix::ui;
    constexpr int kKeyAId = 1058;
    Tavrix_DlgComposite composite(window);
    bool saved = true;
    QTimer::singleShot(0, &composite, [&] {
        const std::pair<int, const char*> pages[] = {
            {kKeyPageId, "key"}, {kMacroPageId, "macro"}, {kMediaPageId, "media"}, {kFunctionPageId, "function"}};
        for (const auto& [id, name] : pages) {
            composite.OnCommand(id);
            // The key holds no macro: the page shows none until the user picks one.
            if (auto* macros = composite.GetDlgItem<QComboBox>(kMacroListId); id == kMacroPageId && macros) {
                macros->setCurrentIndex(0);
                emit macros->activated(0);
            }
            saved = Save(composite, outFolder + "/composite_" + name + "_page.png") && saved;
            if (id == kMacroPageId) {
                saved = ShootMacroPageStates(composite, outFolder) && saved;
            }
        }
        composite.CloseIfOpen();
    });
    return composite.OpenForKey(kKeyAId) == tavrix::skin::IDCANCEL && saved;
}

// The keyboard with its top row swapped to D1 to D6, then swapped back.
bool SaveSwappedRow(tavrix::ui::CTavrixDlg& window, const QString& outFolder)
{
    window.OnCommand(tavrix::ui::kFlipLeftId);
    const bool saved = Save(window, outFolder + "/main_window_flipped.png");
    window.OnCommand(tavrix::ui::kFlipLeftId);
    return saved;
}

bool SaveAboutBox(tavrix::ui::CTavrixDlg& window, const QString& outFolder)
{
    using namespace tavrix::ui;
    window.OnCommand(kCommandAbout);
    CAboutDlg* about = window.AboutDialog();
    if (about == nullptr || !Save(*about, outFolder + "/about.png")) {
        return false;
    }
    tavrix::controls::SendMessage(about, UM_LANG, kLangTag, 1);
    return Save(*about, outFolder + "/about_zh.png");
}

// Opens the profile manager as the profile button does, with the second profile chosen, and
// grabs it.
bool ShootProfileManager(tavrix::ui::CTavrixDlg& window, const QString& outFolder)
{
    using namespace tavrix::ui;
    CTavrix_DlgProfile manager(window);
    bool saved = false;
    QTimer::singleShot(0, &manager, [&] {
        manager.ListView().selectRow(1);
        saved = Save(manager, outFolder + "/profile_manager.png");
        manager.CloseIfOpen();
    });
    return manager.Open() == tavrix::skin::IDCANCEL && saved;
}

// Opens the update dialog as "tavrix /Update" does, before an updater is chosen, and grabs it.
bool ShootUpdateDialog(tavrix::ui::CTavrixDlg& window, const QString& outFolder)
{
    using namespace tavrix::ui;
    CTavrix_DlgUpdate update(window);
    bool saved = false;
    QTimer::singleShot(0, &update, [&] {
        saved = Save(update, outFolder + "/update_dialog.png");
        update.CloseIfOpen();
    });
    return update.Open() == tavrix::skin::IDCANCEL && saved;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: mainshot <program folder> <output folder>\n");
        return 2;
    }
    const std::string binFolder = argv[1];
    const QString outFolder = QString::fromLocal8Bit(argv[2]);
    QDir().mkpath(outFolder + "/home");
    const std::string home = QDir(outFolder + "/home").absolutePath().toStdString();
    QFile::setPermissions(QString::fromStdString(home),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    // Everything the window keeps goes to a private folder, the keyboard is the simulated one.
    setenv("XDG_CONFIG_HOME", home.c_str(), 1);
    setenv("XDG_DATA_HOME", home.c_str(), 1);
    setenv("XDG_RUNTIME_DIR", home.c_str(), 1);
    setenv("DEXLINK_BACKEND", "sim", 1);
    setenv("DEXLINK_SIM_STATE", (home + "/sim.bin").c_str(), 1);

    QApplication application(argc, argv);
    tavrix::controls::ApplySkinLook();
    tavrix::platform::SetRegistryKey("Tavrix_Quenda", "Tavrix");
    const tavrix::app::ProgramPaths paths = tavrix::app::BuildProgramPaths(binFolder + "/tavrix");
    tavrix::app::SetProgramPaths(paths);
    tavrix::ui::CTavrixDlg window(
        paths, [folder = paths.exeDrive + paths.exeFolder] { return tavrix::device::BindDeviceServiceOrExit(folder); });
    window.Create();
    // Shown once the keyboard was read; its lighting arrives from the keyboard thread.
    if (!WaitUntil([&] { return window.isVisible() && window.IsKeyboardIdle(); })) {
        std::fprintf(stderr, "mainshot: the window did not show the keyboard\n");
        return 1;
    }
    const int profile = window.CurrentProfile();
    if (profile >= 0) {
        AssignKeys(window, profile);
    }
    if (!Save(window, outFolder + "/main_window_keyboard.png") || !SaveSwappedRow(window, outFolder) ||
        !ShootCompositePages(window, outFolder) || !ShootProfileManager(window, outFolder) ||
        !ShootUpdateDialog(window, outFolder)) {
        return 1;
    }
    if (!OpenPerKeyLighting(window)) {
        std::fprintf(stderr, "mainshot: the keyboard offers no per-key lighting\n");
        return 1;
    }
    const bool saved = Save(window, outFolder + "/main_window_lighting.png") && SaveAboutBox(window, outFolder);
    window.ExitRoutine();
    return saved ? 0 : 1;
}
