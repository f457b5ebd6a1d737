#include "sim/keyboard_simulator.h"

#include <algorithm>

namespace tavrix::sim {

namespace {

constexpr std::size_t kStatusOffset = 7;

}  // namespace

std::optional<Report> KeyboardSimulator::HandleCommand(std::span<const uint8_t> request)
{
    Report reply{};
    std::copy_n(request.begin(), std::min(request.size(), reply.size()), reply.begin());
    reply[kStatusOffset] = 0;
    return reply;
}

}  // namespace tavrix::sim
