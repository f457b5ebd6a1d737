// The main window while a user makes a quick series of lighting changes, against the simulated
// keyboard linked into the probe: reports the longest time its event loop did not run, for
// tools/bench/run-lighting-stall. It runs from the output folder so it finds the skin and the
// language files as the utility does.
//
//   tavrix-lighting-stall-probe latency|dropped [steps]
//
// latency: 1 ms of simulated USB time per report each way. dropped: once the keyboard was read,
// it answers nothing any more.
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "app/app_state.h"
#include "app/program_paths.h"
#include "controls/window_message.h"
#include "dexlink.h"
#include "library.h"
#include "linked_device_service.h"
#include "platform/app_profile.h"
#include "sim/sim_backend.h"
#include "ui/main_window/custom_messages.h"
#include "ui/main_window/drawn_keyboard.h"
#include "ui/main_window/lighting_panel.h"
#include "ui/main_window/tavrix_dlg.h"

namespace {

using namespace tavrix;

constexpr int kStepGapMs = 10;
constexpr int kKeyAId = 1058;
constexpr int kSettleBoundMs = 20000;

bool WaitUntil(const std::function<bool()>& done, int boundMs)
{
    QElapsedTimer timer;
    timer.start();
    while (!done()) {
        if (timer.elapsed() > boundMs) {
            return false;
        }
        QApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    return true;
}

dexlink::SimBackend* Sim()
{
    return dynamic_cast<dexlink::SimBackend*>(dexlink::Library::Instance().ActiveBackend());
}

// Lighting changes as a user makes them: the window's own entry points, one after another.
std::vector<std::function<void()>> Script(ui::CTavrixDlg& window, int steps)
{
    auto* effects = window.GetDlgItem<QComboBox>(ui::kEffectListId);
    auto* patterns = window.GetDlgItem<QComboBox>(ui::kUserPatternListId);
    const auto choose = [](QComboBox* list, int position) {
        if (list != nullptr && position < list->count()) {
            list->setCurrentIndex(position);
            emit list->activated(position);
        }
    };
    const std::vector<std::function<void()>> kinds{
        [&window] { controls::SendMessage(&window, ui::UM_SLIDER, ui::kBrightnessSliderId, 1); },
        [&window] { controls::SendMessage(&window, ui::UM_SLIDER, ui::kSpeedSliderId, 2); },
        [effects, choose] { choose(effects, effects->count() - 1); }, // the per-key effect
        [patterns, choose] { choose(patterns, 3); },
        [&window] { window.OnCommand(ui::kToolLightId); },
        [&window] { window.OnCommand(kKeyAId); },
        [&window] { window.OnCommand(ui::kAllLitId); },
        [&window] { window.OnCommand(ui::kReportRateIds[2]); },
        [effects, choose] { choose(effects, 2); },
        [&window] { window.OnCommand(ui::kDirectionRightId); },
        [&window] { controls::SendMessage(&window, ui::UM_SLIDER, ui::kBrightnessSliderId, 4); },
        [&window] { window.OnCommand(ui::kReportRateIds[0]); },
    };
    std::vector<std::function<void()>> script{[&window] { window.OnCommand(ui::kLightingToggleId); }};
    for (int i = 0; i < steps; ++i) {
        script.push_back(kinds[static_cast<std::size_t>(i) % kinds.size()]);
    }
    return script;
}

// Runs the script with kStepGapMs between steps while a 1 ms timer notes the longest gap
// between its ticks: the longest the event loop was held up.
qint64 LongestStall(const std::vector<std::function<void()>>& script)
{
    QElapsedTimer clock;
    clock.start();
    qint64 lastTick = 0;
    qint64 longest = 0;
    QTimer heartbeat;
    heartbeat.setTimerType(Qt::PreciseTimer);
    heartbeat.setInterval(1);
    QObject::connect(&heartbeat, &QTimer::timeout, [&] {
        const qint64 now = clock.nsecsElapsed();
        longest = std::max(longest, now - lastTick);
        lastTick = now;
    });
    lastTick = clock.nsecsElapsed();
    heartbeat.start();
    std::size_t next = 0;
    QTimer stepper;
    stepper.setInterval(kStepGapMs);
    QObject::connect(&stepper, &QTimer::timeout, [&] {
        if (next < script.size()) {
            script[next++]();
        }
    });
    stepper.start();
    WaitUntil([&] { return next == script.size(); }, 1 << 30);
    // The last step's own handling counts too.
    WaitUntil([] { return false; }, 2 * kStepGapMs);
    return longest / 1000000;
}

} // namespace

int main(int argc, char** argv)
{
    const std::string mode = argc > 1 ? argv[1] : "";
    if (mode != "latency" && mode != "dropped") {
        std::fprintf(stderr, "usage: tavrix-lighting-stall-probe latency|dropped [steps]\n");
        return 2;
    }
    const int steps = argc > 2 ? std::max(1, std::atoi(argv[2])) : 24;
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication application(argc, argv);
    QTemporaryDir home;
    const std::string folder = home.path().toStdString();
    QDir(home.path()).mkpath("run");
    QFile::setPermissions(home.path() + "/run",
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    setenv("XDG_CONFIG_HOME", folder.c_str(), 1);
    setenv("XDG_DATA_HOME", folder.c_str(), 1);
    setenv("XDG_RUNTIME_DIR", (folder + "/run").c_str(), 1);
    setenv("DEXLINK_BACKEND", "sim", 1);
    setenv("DEXLINK_SIM_STATE", (folder + "/sim.bin").c_str(), 1);
    setenv("DEXLINK_SIM_LATENCY_US", mode == "latency" ? "1000" : "0", 1);
    platform::SetRegistryKey("Tavrix_Quenda", "Tavrix");

    const app::ProgramPaths paths =
        app::BuildProgramPaths(QCoreApplication::applicationDirPath().toStdString() + "/tavrix");
    app::SetProgramPaths(paths);
    ui::CTavrixDlg window(paths, [] {
        (void)::Init(0);
        return testing::LinkedDeviceService();
    });
    window.Create();
    auto* effects = window.GetDlgItem<QComboBox>(ui::kEffectListId);
    if (!WaitUntil([&] { return window.isVisible() && effects != nullptr && effects->count() > 0; }, kSettleBoundMs)) {
        std::fprintf(stderr, "lighting-stall-probe: the keyboard was not read\n");
        return 1;
    }
    WaitUntil([] { return false; }, 100);
    if (mode == "dropped") {
        Sim()->AddFault({std::nullopt, {dexlink::ReplyFault::Kind::Drop, 0}, dexlink::kEveryReply});
    }
    const qint64 stall = LongestStall(Script(window, steps));
    std::printf("mode=%s steps=%d longest_stall_ms=%lld\n", mode.c_str(), steps, static_cast<long long>(stall));
    std::fflush(stdout);
    window.ExitRoutine();
    return 0;
}
