#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The faults the simulated keyboard can be told to show, and their text form in the environment
// variable DEXLINK_SIM_FAULTS, so anyone can reproduce a fault with the real program:
//
//   drop CMD [COUNT]                no reply
//   delay CMD MS[ms] [COUNT]        the reply MS milliseconds late (later replies queue behind it)
//   refuse CMD [STATUS] [COUNT]     status byte STATUS (default 0xFF; 0xFE: busy)
//   echo CMD [COUNT]                the reply names another command code
//   unplug CMD after N              the keyboard goes away right after its N-th reply to CMD
//   profile BYTE                    the information block names BYTE as the current profile
//
// Faults are separated by ";". CMD is a command code (0x07 or 7), COUNT is "xN" for the next N
// replies to that command (default x1) or "always". A reply meets the first fault in the list
// that still applies to its command.
namespace tavrix::dexlink {

// How one reply goes wrong.
struct ReplyFault {
    enum class Kind {
        Drop,         // no reply at all
        OtherCommand, // byte 3 answers another command code
        Status,       // byte 7 := value (0xFE, 0xFF: refused)
        Delay,        // delivered value microseconds later
        Length,       // reported with value bytes (zero-filled past 64)
        Unplug,       // delivered, then the keyboard is unplugged
    };
    Kind kind = Kind::Drop;
    int value = 0;

    bool operator==(const ReplyFault&) const = default;
};

// A count of replies that never runs out.
inline constexpr int kEveryReply = -1;

// A fault for the replies to one command code, or to any command without one.
struct CommandFault {
    std::optional<uint8_t> command;
    ReplyFault fault;
    int count = 1; // replies it changes, or kEveryReply

    bool operator==(const CommandFault&) const = default;
};

struct SimFaultSettings {
    std::vector<CommandFault> faults;
    std::optional<uint8_t> currentProfile;
    // One line per fault that was not understood and is ignored.
    std::vector<std::string> problems;
};

SimFaultSettings ParseSimFaults(std::string_view text);

} // namespace tavrix::dexlink
