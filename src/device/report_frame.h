#pragma once

#include <array>
#include <cstdint>
#include <span>

#include "device/protocol.h"

namespace tavrix::device {

// The 64-byte request and reply report of the command channel. Multi-byte fields are
// little-endian; a request starts as 64 zero bytes with the report id set.
class ReportFrame {
public:
    ReportFrame();
    // A request as handed to the transaction: zero-padded or cut to 64 bytes, taken as it is.
    static ReportFrame FromBytes(std::span<const uint8_t> bytes);
    // A request for the given command, everything else zero.
    static ReportFrame ForCommand(uint8_t command);

    uint8_t Command() const { return m_bytes[kCommandOffset]; }
    uint16_t Sum() const;
    uint16_t Address() const;
    std::span<const uint8_t, kDataSize> Data() const;

    void SetCommand(uint8_t command) { m_bytes[kCommandOffset] = command; }
    void SetLength(uint8_t length) { m_bytes[kLengthOffset] = length; }
    void SetAddress(uint16_t address);
    // Copies at most 56 bytes into the data field.
    void SetData(std::span<const uint8_t> data);
    // The 16-bit sum of bytes 3..63, stored in bytes 1-2; call after every other field is set.
    void FillSum();

    const std::array<uint8_t, kReportSize>& Bytes() const { return m_bytes; }

private:
    std::array<uint8_t, kReportSize> m_bytes{};
};

} // namespace tavrix::device
