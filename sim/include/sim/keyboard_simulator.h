#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>

#include "sim/keyboard_layout.h"
#include "sim/keyboard_memory.h"

// The keyboard's side of the command channel: it decodes each 64-byte request on its own and
// answers as the keyboard would. Plain C++, no I/O; the dexlink "sim" backend carries its
// reports and keeps its memory in a file. Not thread-safe: its owner serialises the calls.
namespace tavrix::sim {

inline constexpr std::size_t kReportSize = kFrameSize;
using Report = std::array<uint8_t, kReportSize>;

class KeyboardSimulator {
public:
    // A factory-fresh keyboard.
    KeyboardSimulator();
    explicit KeyboardSimulator(KeyboardMemory memory);

    // Handles one command-channel output report (zero-padded or cut to 64 bytes) and returns the
    // reply, or nothing when the keyboard sends none (boot mode). A request outside its table
    // (address + length beyond the table, more than 56 bytes, profile 3 or more) is answered
    // with status 0xFF and changes nothing. Commands the keyboard does not know are acknowledged
    // and do nothing.
    std::optional<Report> HandleCommand(std::span<const uint8_t> request);

    const KeyboardMemory& Memory() const { return m_memory; }

    // True once each time the keyboard commits its memory to flash: at the end of a
    // configuration, and after a successful write made outside one (a profile switch).
    bool TakeCommit();

    bool InBootMode() const { return m_bootMode; }
    // Power lost and back: leaves boot mode and any configuration left open; memory stays.
    void PowerCycle();

private:
    uint8_t Execute(const Report& request, Report& reply);
    uint8_t ReadInfo(const Report& request, Report& reply) const;
    uint8_t WriteInfo(const Report& request);
    uint8_t ReadRegion(const Report& request, Report& reply);
    uint8_t WriteRegion(const Report& request);
    // The bytes a read or write request addresses, or nothing when it lies outside its table.
    std::optional<std::span<uint8_t>> Region(const Report& request);
    void Changed();

    KeyboardMemory m_memory;
    bool m_configuring = false;
    bool m_commitPending = false;
    bool m_bootMode = false;
};

} // namespace tavrix::sim
