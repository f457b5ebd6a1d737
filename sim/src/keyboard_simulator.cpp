#include "sim/keyboard_simulator.h"

#include <algorithm>
#include <numeric>
#include <utility>

#include "sim/factory_defaults.h"

namespace tavrix::sim {

namespace {

Command CommandOf(const Report& frame)
{
    return static_cast<Command>(frame[kFrameCommandAt]);
}

std::size_t LengthOf(const Report& frame)
{
    return frame[kFrameLengthAt];
}

std::size_t AddressOf(const Report& frame)
{
    return std::size_t{frame[kFrameAddressAt]} | (std::size_t{frame[kFrameAddressAt + 1]} << 8);
}

void FillSum(Report& frame)
{
    const unsigned sum = std::accumulate(frame.begin() + kFrameCommandAt, frame.end(), 0u);
    frame[kFrameSumAt] = static_cast<uint8_t>(sum & 0xFF);
    frame[kFrameSumAt + 1] = static_cast<uint8_t>(sum >> 8);
}

// A window of length bytes at address inside a table of the given size, or nothing.
std::optional<std::span<uint8_t>> Window(std::span<uint8_t> table, std::size_t address, std::size_t length)
{
    if (length > kFrameDataSize || address > table.size() || length > table.size() - address) {
        return std::nullopt;
    }
    return table.subspan(address, length);
}

} // namespace

KeyboardSimulator::KeyboardSimulator() : KeyboardSimulator(FactoryMemory())
{
}

KeyboardSimulator::KeyboardSimulator(KeyboardMemory memory) : m_memory(std::move(memory))
{
    m_memory.extra.resize(ExtraCapacityOf(m_memory.info));
}

std::optional<Report> KeyboardSimulator::HandleCommand(std::span<const uint8_t> request)
{
    if (m_bootMode) {
        return std::nullopt;
    }
    Report frame{};
    std::copy_n(request.begin(), std::min(request.size(), frame.size()), frame.begin());

    Report reply{};
    reply[0] = kFrameReportId;
    std::copy(frame.begin() + kFrameCommandAt, frame.begin() + kFrameStatusAt, reply.begin() + kFrameCommandAt);
    reply[kFrameStatusAt] = Execute(frame, reply);
    if (m_bootMode) {
        return std::nullopt;
    }
    FillSum(reply);
    return reply;
}

bool KeyboardSimulator::TakeCommit()
{
    return std::exchange(m_commitPending, false);
}

void KeyboardSimulator::PowerCycle()
{
    m_bootMode = false;
    m_configuring = false;
}

uint8_t KeyboardSimulator::Execute(const Report& request, Report& reply)
{
    const Command command = CommandOf(request);
    switch (command) {
    case Command::BeginConfig:
        m_configuring = true;
        return kStatusAccepted;
    case Command::EndConfig:
        m_configuring = false;
        m_commitPending = true;
        return kStatusAccepted;
    case Command::ReadInfo:
        return ReadInfo(request, reply);
    case Command::WriteInfo:
        return WriteInfo(request);
    case Command::ReadLighting:
    case Command::ReadKeys:
    case Command::ReadExtra:
    case Command::ReadDefaultKeys:
    case Command::ReadLampArea:
        return ReadRegion(request, reply);
    case Command::WriteLighting:
    case Command::WriteKeys:
    case Command::WriteExtra:
    case Command::WriteLampArea:
        return WriteRegion(request);
    case Command::EnterBoot:
        if (request[kFrameLengthAt] != kBootConfirm) {
            return kStatusRefused;
        }
        m_bootMode = true;
        return kStatusAccepted;
    case Command::Test:
        return kStatusAccepted;
    }
    return kStatusAccepted;
}

uint8_t KeyboardSimulator::ReadInfo(const Report& request, Report& reply) const
{
    if (LengthOf(request) != kInfoSize || AddressOf(request) != 0) {
        return kStatusRefused;
    }
    std::copy(m_memory.info.begin(), m_memory.info.end(), reply.begin() + kFrameDataAt);
    return kStatusAccepted;
}

uint8_t KeyboardSimulator::WriteInfo(const Report& request)
{
    const auto data = request.begin() + kFrameDataAt;
    if (LengthOf(request) != kInfoSize || AddressOf(request) != 0 || data[kInfoProfileAt] >= kProfileCount) {
        return kStatusRefused;
    }
    std::copy(data, data + kInfoHostBytesEnd, m_memory.info.begin());
    m_memory.info[kInfoProfileAt] = data[kInfoProfileAt];
    std::copy(data + kInfoHostTailAt, data + kInfoHostTailEnd, m_memory.info.begin() + kInfoHostTailAt);
    Changed();
    return kStatusAccepted;
}

uint8_t KeyboardSimulator::ReadRegion(const Report& request, Report& reply)
{
    const std::optional<std::span<uint8_t>> region = Region(request);
    if (!region) {
        return kStatusRefused;
    }
    std::copy(region->begin(), region->end(), reply.begin() + kFrameDataAt);
    return kStatusAccepted;
}

uint8_t KeyboardSimulator::WriteRegion(const Report& request)
{
    const std::optional<std::span<uint8_t>> region = Region(request);
    if (!region) {
        return kStatusRefused;
    }
    std::copy_n(request.begin() + kFrameDataAt, region->size(), region->begin());
    Changed();
    return kStatusAccepted;
}

std::optional<std::span<uint8_t>> KeyboardSimulator::Region(const Report& request)
{
    const Command command = CommandOf(request);
    const std::size_t address = AddressOf(request);
    const std::size_t length = LengthOf(request);
    switch (command) {
    case Command::ReadLighting:
    case Command::WriteLighting:
        return Window(m_memory.lighting, address, length);
    case Command::ReadKeys:
    case Command::WriteKeys: {
        const std::size_t profile = address / kKeyTableStride;
        if (profile >= m_memory.keyTables.size()) {
            return std::nullopt;
        }
        return Window(m_memory.keyTables[profile], address % kKeyTableStride, length);
    }
    case Command::ReadExtra:
    case Command::WriteExtra:
        return Window(m_memory.extra, address, length);
    case Command::ReadDefaultKeys:
        return Window(m_memory.defaultKeys, address, length);
    case Command::ReadLampArea:
    case Command::WriteLampArea:
        return Window(m_memory.lamps, address, length);
    default:
        return std::nullopt;
    }
}

void KeyboardSimulator::Changed()
{
    // Inside a configuration the keyboard commits at its end; alone, a write commits at once.
    if (!m_configuring) {
        m_commitPending = true;
    }
}

} // namespace tavrix::sim
