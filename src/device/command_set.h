#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <functional>
#include <mutex>
#include <span>

#include "device/commands.h"
#include "device/device_link.h"
#include "device/report_frame.h"

namespace tavrix::device {

// Every command the keyboard understands, built on DeviceLink::SendCommand, and the
// current-profile cache. Each command returns a result code of protocol.h: 1, 0 (no keyboard),
// -1 (write refused), -2 (no matching reply, or a reply too short for its data), -102 / -103
// (the keyboard refused with status 0xFF / 0xFE) or -201 (argument out of range, nothing sent).
//
// Tables larger than one report move in chunks of 56 bytes, one transaction each; a chunk that
// fails ends the command with its code, and chunks already written stay written. A command that
// fails is noted in the diagnostic log with its code.
//
// Writes to the keyboard's configuration go through Configure, which brackets them with
// BeginConfig and EndConfig and keeps one bracket open at a time: use one CommandSet per link.
class CommandSet {
public:
    explicit CommandSet(DeviceLink& link) : m_link(link) {}

    // BeginConfig, steps() and EndConfig as one configuration. Configurations take turns across
    // threads: one that another thread runs ends first. Every part runs whatever the parts before
    // returned, as the keyboard expects the whole sequence; the result is the first failure, or 1.
    // steps must not start another configuration.
    [[nodiscard]] int Configure(const std::function<int()>& steps);

    [[nodiscard]] int BeginConfig();
    // Waits 10 ms first, so the keyboard has taken the last write.
    [[nodiscard]] int EndConfig();
    [[nodiscard]] int ReadInfoBlock(std::span<uint8_t, kInfoBlockSize> out);
    [[nodiscard]] int WriteInfoBlock(std::span<const uint8_t, kInfoBlockSize> block);
    // out holds at least 56 bytes and receives all 56 reply data bytes, whatever the length.
    [[nodiscard]] int ReadLightingBytes(std::span<uint8_t> out, int length, int address);
    // At most 56 bytes.
    [[nodiscard]] int WriteLightingBytes(std::span<const uint8_t> bytes, int address);
    // profile 0..2.
    [[nodiscard]] int ReadKeyTable(std::span<uint8_t, kKeyTableSize> out, int profile);
    [[nodiscard]] int WriteKeyTable(std::span<const uint8_t, kKeyTableSize> table, int profile);
    // Reads out.size() bytes from offset 0; an empty out sends nothing and returns 1.
    [[nodiscard]] int ReadExtraArea(std::span<uint8_t> out);
    // Writes the bytes from offset 0; no bytes send nothing and return 1.
    [[nodiscard]] int WriteExtraArea(std::span<const uint8_t> bytes);
    [[nodiscard]] int TestCommand();
    [[nodiscard]] int ReadDefaultTable(std::span<uint8_t, kKeyTableSize> out);
    // out holds at least 56 bytes and receives all 56 reply data bytes; the address is
    // offset + profile * 180.
    [[nodiscard]] int ReadLampArea(std::span<uint8_t> out, int length, int offset, int profile);
    // At most 56 bytes at offset + profile * 180; profile is the lighting panel's.
    [[nodiscard]] int WriteLampArea(std::span<const uint8_t> bytes, int offset, int profile);
    // Sent without waiting for a reply; the result is SendRaw's and only exactly 1 is success.
    [[nodiscard]] int EnterBootMode();

    // The keyboard's current profile (0..2), read once and then cached; -1 when it cannot be
    // read or the keyboard names no valid profile.
    int GetCurrentProfile();
    // Switches the keyboard to profile (0..2; other values do nothing). After a failed write the
    // cache holds -1, so the next GetCurrentProfile asks the keyboard again.
    void SetCurrentProfile(int profile);
    // The keyboard went away: nothing is known about its profile any more.
    void ForgetCurrentProfile() { m_currentProfile = -1; }
    // The profile GetCurrentProfile last learnt, -1 when none; never asks the keyboard, so a
    // window may call it.
    [[nodiscard]] int CachedProfile() const { return m_currentProfile; }

private:
    using Reply = std::array<uint8_t, kReportSize>;

    // A request with its data and sum.
    static ReportFrame Request(uint8_t command, std::size_t length, uint32_t address,
                               std::span<const uint8_t> data = {});
    // A command without data whose reply carries only the status.
    int Simple(uint8_t command);
    // One transaction with the status test; a reply shorter than needed bytes gives -2. A failure
    // is logged.
    int Exchange(const ReportFrame& request, Reply& reply, std::size_t needed);
    int Judge(const ReportFrame& request, Reply& reply, std::size_t needed);
    int ReadChunks(uint8_t command, uint32_t base, std::span<uint8_t> out);
    int WriteChunks(uint8_t command, uint32_t base, std::span<const uint8_t> bytes);
    int ReadBytes(uint8_t command, std::span<uint8_t> out, int length, int64_t address);
    int WriteBytes(uint8_t command, std::span<const uint8_t> bytes, int64_t address);

    DeviceLink& m_link;
    std::mutex m_configMutex; // held from BeginConfig to EndConfig
    std::atomic<int> m_currentProfile{-1};
};

} // namespace tavrix::device
