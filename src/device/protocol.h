#pragma once

#include <cstddef>
#include <cstdint>

// Named constants of the command-channel protocol and its timing.
namespace tavrix::device {

inline constexpr std::size_t kReportSize = 64;
inline constexpr uint8_t kReportId = 4;

// Byte offsets of a ReportFrame.
inline constexpr std::size_t kReportIdOffset = 0;
inline constexpr std::size_t kSumOffset = 1; // 16-bit, little-endian
inline constexpr std::size_t kCommandOffset = 3;
inline constexpr std::size_t kLengthOffset = 4;
inline constexpr std::size_t kAddressOffset = 5; // 16-bit, little-endian
inline constexpr std::size_t kStatusOffset = 7;
inline constexpr std::size_t kDataOffset = 8;
inline constexpr std::size_t kDataSize = kReportSize - kDataOffset; // 56
inline constexpr std::size_t kSumFirstByte = kCommandOffset;        // the sum covers bytes 3..63

// Reply status values that mean the keyboard refused the command.
inline constexpr uint8_t kStatusRefused = 0xFF;
inline constexpr uint8_t kStatusRefusedBusy = 0xFE;

// Transaction timing in program milliseconds (see platform/clock.h).
inline constexpr uint32_t kReplyTimeoutMs = 1000;
inline constexpr uint32_t kRetryPauseMs = 10;
inline constexpr uint32_t kBusyBackOffMs = 1001; // one longer than the reply timeout
inline constexpr int kAttempts = 3;

// Result codes of SendCommand and of every keyboard command.
inline constexpr int kResultOk = 1;
inline constexpr int kResultNoDevice = 0;
inline constexpr int kResultWriteRefused = -1;
inline constexpr int kResultNoReply = -2;
inline constexpr int kResultStatusRefused = -102;
inline constexpr int kResultStatusBusy = -103;
inline constexpr int kResultBadArgument = -201;

// Of two results in the order they came, the first failure, or kResultOk.
[[nodiscard]] inline constexpr int FirstFailure(int first, int second)
{
    return first != kResultOk ? first : second;
}

// The bank status record written to the status output.
inline constexpr uint8_t kBankStatusReportId = 0x05;
inline constexpr uint8_t kBankStatusInitialFlags = 0x02;
inline constexpr uint8_t kBankBit = 0x01; // in the flags: 0 = bank A, 1 = bank B

// Keyboard events: 16-bit values of consumer-channel reports.
inline constexpr uint16_t kEventBankToggle = 0x02FF;
inline constexpr uint16_t kEventLightingChanged = 0x0401;
inline constexpr uint16_t kEventKeyboardBusy = 0x1811;
inline constexpr uint16_t kEventKeyboardIdle = 0x1810;

// Busy reports of the keyboard events take turns; the waiting thread polls this often.
inline constexpr uint32_t kBusyReportPollMs = 1;

} // namespace tavrix::device
