// The simulated keyboard's side of the command channel: any sequence of requests, 64 bytes each
// (the last one short), leaves memory that its state file keeps exactly. The input is also read
// as a state file.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "sim/keyboard_simulator.h"
#include "sim/state_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using namespace tavrix::sim;
    const std::span<const uint8_t> input(data, size);
    static_cast<void>(DecodeStateImage(input));

    KeyboardSimulator keyboard;
    for (size_t offset = 0; offset < input.size(); offset += kReportSize) {
        static_cast<void>(keyboard.HandleCommand(input.subspan(offset, std::min(kReportSize, input.size() - offset))));
        static_cast<void>(keyboard.TakeCommit());
        if (keyboard.InBootMode()) {
            keyboard.PowerCycle();
        }
    }
    const std::optional<KeyboardMemory> kept = DecodeStateImage(EncodeStateImage(keyboard.Memory()));
    if (!kept || *kept != keyboard.Memory()) {
        std::abort();
    }
    return 0;
}
