#include "sim/sim_backend.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <thread>

#include "sim/factory_defaults.h"
#include "sim/state_file.h"

namespace tavrix::dexlink {

namespace {

constexpr uint8_t kConsumerReportId = 0x02;

std::chrono::microseconds LatencyFromEnvironment()
{
    const char* text = std::getenv("DEXLINK_SIM_LATENCY_US");
    if (!text) {
        return std::chrono::microseconds(0);
    }
    const long value = std::strtol(text, nullptr, 10);
    return std::chrono::microseconds(std::clamp(value, 0L, 1000000L));
}

// DEXLINK_SIM_STATE names the file; unset means the data folder, empty means no file at all.
std::filesystem::path StatePathFromEnvironment()
{
    if (const char* path = std::getenv("DEXLINK_SIM_STATE")) {
        return path;
    }
    std::filesystem::path dataFolder;
    if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg && *xdg) {
        dataFolder = xdg;
    } else if (const char* home = std::getenv("HOME"); home && *home) {
        dataFolder = std::filesystem::path(home) / ".local" / "share";
    } else {
        return {};
    }
    return dataFolder / "PL3094V" / "sim-keyboard.bin";
}

// The memory kept at statePath, factory-fresh without a file. A file that exists but cannot be
// read is not overwritten: statePath is cleared and the keyboard runs from memory.
sim::KeyboardMemory LoadMemory(std::filesystem::path& statePath)
{
    if (statePath.empty()) {
        return sim::FactoryMemory();
    }
    sim::LoadedState loaded = sim::LoadStateFile(statePath);
    if (loaded.source == sim::LoadedState::Source::Unreadable) {
        statePath.clear();
    }
    return std::move(loaded.memory);
}

// DEXLINK_SIM_FAULTS, with what it could not understand told on stderr.
SimFaultSettings FaultsFromEnvironment()
{
    const char* text = std::getenv("DEXLINK_SIM_FAULTS");
    if (!text) {
        return {};
    }
    SimFaultSettings settings = ParseSimFaults(text);
    for (const std::string& problem : settings.problems) {
        std::fprintf(stderr, "dexlink: DEXLINK_SIM_FAULTS: %s\n", problem.c_str());
    }
    return settings;
}

template <typename T> void KeepLast(std::deque<T>& log, T entry)
{
    log.push_back(std::move(entry));
    if (log.size() > SimBackend::kTrafficKept) {
        log.pop_front();
    }
}

} // namespace

SimBackend::SimBackend(EventSink& sink)
    : m_sink(sink), m_latency(LatencyFromEnvironment()), m_statePath(StatePathFromEnvironment()),
      m_keyboard(LoadMemory(m_statePath))
{
    SimFaultSettings settings = FaultsFromEnvironment();
    m_faults.assign(settings.faults.begin(), settings.faults.end());
    m_reportedProfile = settings.currentProfile;
}

int SimBackend::DeviceCount(const DeviceSelector& selector)
{
    std::lock_guard lock(m_mutex);
    if (!m_plugged) {
        return 0;
    }
    const bool matches = std::ranges::any_of(
        kKeyboardCollections, [&](const Collection& collection) { return SelectorMatches(selector, collection); });
    return matches ? 1 : 0;
}

int SimBackend::Write(const DeviceSelector& selector, std::span<const uint8_t> report)
{
    if (m_latency.count() > 0) {
        std::this_thread::sleep_for(m_latency);
    }
    std::unique_lock lock(m_mutex);
    if (!m_plugged) {
        return -1;
    }
    if (SelectorMatches(selector, kCommandCollection)) {
        if (AnswerCommand(report)) {
            m_plugged = false;
            lock.unlock();
            DeviceCountChanged();
        }
        return 1;
    }
    if (SelectorMatches(selector, kStatusCollection)) {
        KeepLast(m_statusWrites, std::vector<uint8_t>(report.begin(), report.end()));
        return 1;
    }
    return -1;
}

int SimBackend::SetFeature(const DeviceSelector& selector, std::span<const uint8_t> /*report*/)
{
    std::lock_guard lock(m_mutex);
    return m_plugged && SelectorMatches(selector, kCommandCollection) ? 1 : -1;
}

bool SimBackend::AnswerCommand(std::span<const uint8_t> request)
{
    sim::Report logged{};
    std::copy_n(request.begin(), std::min(request.size(), logged.size()), logged.begin());
    KeepLast(m_requests, logged);

    const std::optional<sim::Report> reply = m_keyboard.HandleCommand(request);
    if (m_keyboard.TakeCommit() && !m_statePath.empty()) {
        // A failed save leaves the previous file whole; the next commit tries again.
        static_cast<void>(sim::SaveStateFile(m_statePath, m_keyboard.Memory()));
    }
    if (!reply) {
        return false;
    }
    Event event{Event::Kind::Data, kCommandCollection, std::vector<uint8_t>(reply->begin(), reply->end())};
    const uint8_t command = logged[sim::kFrameCommandAt];
    if (m_reportedProfile && command == static_cast<uint8_t>(sim::Command::ReadInfo)) {
        event.bytes[sim::kFrameDataAt + sim::kInfoProfileAt] = *m_reportedProfile;
    }
    std::chrono::microseconds delay = m_latency;
    bool unplug = false;
    if (const std::optional<ReplyFault> fault = TakeFault(command)) {
        switch (fault->kind) {
        case ReplyFault::Kind::Drop:
            return false;
        case ReplyFault::Kind::OtherCommand:
            event.bytes[sim::kFrameCommandAt] ^= 0x80;
            break;
        case ReplyFault::Kind::Status:
            event.bytes[sim::kFrameStatusAt] = static_cast<uint8_t>(fault->value);
            break;
        case ReplyFault::Kind::Delay:
            delay += std::chrono::microseconds(fault->value);
            break;
        case ReplyFault::Kind::Length:
            event.bytes.resize(static_cast<std::size_t>(std::max(fault->value, 0)));
            break;
        case ReplyFault::Kind::Unplug:
            unplug = true;
            break;
        }
    }
    // A reply never overtakes the one before it.
    const auto now = std::chrono::steady_clock::now();
    m_lastReplyDue = std::max(now + delay, m_lastReplyDue);
    m_sink.Deliver(std::move(event), std::chrono::duration_cast<std::chrono::microseconds>(m_lastReplyDue - now));
    return unplug;
}

std::optional<ReplyFault> SimBackend::TakeFault(uint8_t command)
{
    const auto found = std::ranges::find_if(
        m_faults, [command](const CommandFault& fault) { return !fault.command || *fault.command == command; });
    if (found == m_faults.end()) {
        return std::nullopt;
    }
    ReplyFault fault = found->fault;
    if (fault.kind == ReplyFault::Kind::Unplug && --found->fault.value > 0) {
        return std::nullopt; // not yet: its value counts the replies that go out first
    }
    if (found->count != kEveryReply && --found->count <= 0) {
        m_faults.erase(found);
    }
    return fault;
}

void SimBackend::QueueReplyFault(ReplyFault fault, int count)
{
    if (count > 0) {
        AddFault({std::nullopt, fault, count});
    }
}

void SimBackend::AddFault(const CommandFault& fault)
{
    std::lock_guard lock(m_mutex);
    m_faults.push_back(fault);
}

void SimBackend::ReportCurrentProfile(uint8_t profile)
{
    std::lock_guard lock(m_mutex);
    m_reportedProfile = profile;
}

void SimBackend::Unplug()
{
    {
        std::lock_guard lock(m_mutex);
        m_plugged = false;
    }
    DeviceCountChanged();
}

void SimBackend::Replug()
{
    {
        std::lock_guard lock(m_mutex);
        m_plugged = true;
        m_keyboard.PowerCycle();
    }
    DeviceCountChanged();
}

void SimBackend::DeviceCountChanged()
{
    m_sink.Deliver(Event{Event::Kind::DeviceCount, kCommandCollection, {}}, std::chrono::microseconds(0));
}

void SimBackend::SendConsumerEvent(uint16_t value)
{
    Event event{Event::Kind::Data,
                kConsumerCollection,
                {kConsumerReportId, static_cast<uint8_t>(value & 0xFF), static_cast<uint8_t>(value >> 8)}};
    event.eventValueOffset = kConsumerValueOffset;
    m_sink.Deliver(std::move(event), m_latency);
}

void SimBackend::SendCommandReport(std::span<const uint8_t> report)
{
    m_sink.Deliver(Event{Event::Kind::Data, kCommandCollection, std::vector<uint8_t>(report.begin(), report.end())},
                   m_latency);
}

std::vector<sim::Report> SimBackend::CommandRequests() const
{
    std::lock_guard lock(m_mutex);
    return {m_requests.begin(), m_requests.end()};
}

sim::KeyboardMemory SimBackend::Memory() const
{
    std::lock_guard lock(m_mutex);
    return m_keyboard.Memory();
}

std::vector<std::vector<uint8_t>> SimBackend::StatusWrites() const
{
    std::lock_guard lock(m_mutex);
    return {m_statusWrites.begin(), m_statusWrites.end()};
}

} // namespace tavrix::dexlink
