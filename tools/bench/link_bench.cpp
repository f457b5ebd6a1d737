// The device link against the simulated keyboard: what one transaction costs the program, and
// how close reading and applying a whole configuration come to the time USB itself needs.
#include <array>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <mutex>
#include <string>

#include <benchmark/benchmark.h>
#include <unistd.h>

#include "bench_models.h"
#include "device/commands.h"
#include "device/protocol.h"
#include "device/report_frame.h"
#include "model/device_sync.h"
#include "quiet_device_host.h"
#include "sim_keyboard_session.h"

namespace tavrix::bench {

namespace {

// One interrupt interval of a full-speed keyboard, each way.
constexpr uint32_t kUsbIntervalUs = 1000;
constexpr double kTransactionBoundMs = 2.0 * kUsbIntervalUs / 1000.0;

// What the main window does for synchronisation, without a window: it reads the keyboard into
// the model when told the profile changed, and shows nothing.
class BenchSyncHost : public testing::QuietTextHost<model::SyncHost> {
public:
    model::DeviceSync* sync = nullptr;

    bool IsInitialisationComplete() const override { return true; }
    void OnKeyboardArrived() override { sync->ReadKeyboardIntoModel(false); }
    void OnKeyboardRemoved() override {}
    void ShowConnected(bool) override {}
    void ShowWindow() override {}
    bool IsStartHidden() const override { return true; }
    void SetStartHidden() override {}
    void OnModelReplaced() override {}
    void OnNothingToApply() override {}
};

// A data folder of the benchmark's own, so the cache file the read writes is nobody's.
class ScratchDataFolder {
public:
    ScratchDataFolder()
        : m_path(std::filesystem::temp_directory_path() / ("tavrix-bench-" + std::to_string(::getpid())))
    {
        std::filesystem::create_directories(m_path);
        ::setenv("XDG_DATA_HOME", m_path.c_str(), 1);
    }
    ~ScratchDataFolder()
    {
        std::error_code error;
        std::filesystem::remove_all(m_path, error);
    }

private:
    std::filesystem::path m_path;
};

// A keyboard that has arrived and been read, holding the macros when the benchmark's argument
// asks for them.
struct SyncedKeyboard {
    explicit SyncedKeyboard(bool withMacros)
        : session(kUsbIntervalUs), sync(session.Commands(), host, modelLock, applyLock)
    {
        host.sync = &sync;
        if (!session.Started()) {
            return;
        }
        sync.OnConnectionChanged(1);
        if (withMacros) {
            std::lock_guard lock(modelLock);
            static_cast<void>(sync.Model().macros.Assign(KeyboardMacros()));
            applied = sync.ApplyToKeyboard(false) == 1;
        }
    }

    ScratchDataFolder folder;
    SimKeyboardSession session;
    BenchSyncHost host;
    std::recursive_mutex modelLock;
    std::recursive_mutex applyLock;
    model::DeviceSync sync;
    bool applied = true;
};

// Time and transactions per iteration beside the lower bound: the transactions' USB time plus
// the pauses the protocol itself asks for (pauseMs per iteration).
void ReportAgainstBound(benchmark::State& state, uint64_t transactions, double seconds, double pauseMs = 0)
{
    const double iterations = static_cast<double>(state.iterations());
    const double perIteration = static_cast<double>(transactions) / iterations;
    const double boundMs = perIteration * kTransactionBoundMs + pauseMs;
    state.counters["transactions"] = perIteration;
    state.counters["bound_ms"] = boundMs;
    state.counters["over_bound_pct"] = 100.0 * (seconds * 1000.0 / iterations / boundMs - 1.0);
}

// Argument: the simulated USB time per report each way; 0 measures the program's own cost.
void BM_SendCommandRoundTrip(benchmark::State& state)
{
    SimKeyboardSession session(static_cast<uint32_t>(state.range(0)));
    if (!session.Started()) {
        state.SkipWithError("the simulated keyboard did not start");
        return;
    }
    device::ReportFrame request = device::ReportFrame::ForCommand(device::kCmdTestCommand);
    request.FillSum();
    std::array<uint8_t, device::kReportSize> reply{};
    for (auto _ : state) {
        uint32_t received = 0;
        if (session.Link().SendCommand(request.Bytes(), reply, received) != device::kResultOk) {
            state.SkipWithError("the simulated keyboard did not answer");
            return;
        }
    }
    state.SetItemsProcessed(state.iterations());
}
// Time is wall time; CPU is the whole process's (the library's notification thread and the
// simulated keyboard included), so both are per transaction.
BENCHMARK(BM_SendCommandRoundTrip)
    ->ArgName("latency_us")
    ->Arg(0)
    ->Arg(kUsbIntervalUs)
    ->Unit(benchmark::kMicrosecond)
    ->MinTime(1.0)
    ->UseRealTime()
    ->MeasureProcessCPUTime();

// Arrival: the default table and information block, then the three key tables and the extra
// area into the model through the cache file. Argument 1: a keyboard holding 100 macros.
void BM_FullRead(benchmark::State& state)
{
    SyncedKeyboard keyboard(state.range(0) != 0);
    if (!keyboard.session.Started() || !keyboard.applied) {
        state.SkipWithError("the simulated keyboard could not be prepared");
        return;
    }
    keyboard.sync.OnConnectionChanged(0);
    uint64_t transactions = 0;
    double seconds = 0;
    for (auto _ : state) {
        const uint64_t before = SimKeyboardSession::Transactions();
        const auto start = std::chrono::steady_clock::now();
        keyboard.sync.OnConnectionChanged(1);
        seconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        transactions += SimKeyboardSession::Transactions() - before;
        state.PauseTiming();
        keyboard.sync.OnConnectionChanged(0);
        state.ResumeTiming();
    }
    ReportAgainstBound(state, transactions, seconds);
}
BENCHMARK(BM_FullRead)->ArgName("macros")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(3);

// Apply: the macros into the extra area and the key tables, inside one configuration. Argument
// 1: 100 macros; the second argument 1 writes all three profiles' tables, 0 the current one.
void BM_FullApply(benchmark::State& state)
{
    SyncedKeyboard keyboard(state.range(0) != 0);
    if (!keyboard.session.Started() || !keyboard.applied) {
        state.SkipWithError("the simulated keyboard could not be prepared");
        return;
    }
    const bool allProfiles = state.range(1) != 0;
    uint64_t transactions = 0;
    double seconds = 0;
    for (auto _ : state) {
        const uint64_t before = SimKeyboardSession::Transactions();
        const auto start = std::chrono::steady_clock::now();
        {
            std::lock_guard lock(keyboard.modelLock);
            if (keyboard.sync.ApplyToKeyboard(allProfiles) != 1) {
                state.SkipWithError("the apply failed");
                return;
            }
        }
        seconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        transactions += SimKeyboardSession::Transactions() - before;
    }
    ReportAgainstBound(state, transactions, seconds, device::kEndConfigDelayMs);
}
BENCHMARK(BM_FullApply)
    ->ArgNames({"macros", "all_profiles"})
    ->Args({0, 0})
    ->Args({1, 0})
    ->Args({1, 1})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);

} // namespace

} // namespace tavrix::bench
