#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>

// The keyboard's side of the command channel: it decodes each 64-byte request on its own and
// answers as the keyboard would. Plain C++, no I/O; the dexlink "sim" backend carries its
// reports.
namespace tavrix::sim {

inline constexpr std::size_t kReportSize = 64;
using Report = std::array<uint8_t, kReportSize>;

class KeyboardSimulator {
public:
    // Handles one command-channel output report and returns the reply, or nothing when the
    // keyboard sends none.
    std::optional<Report> HandleCommand(std::span<const uint8_t> request);
};

}  // namespace tavrix::sim
