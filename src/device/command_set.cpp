#include "device/command_set.h"

#include <algorithm>

#include "platform/clock.h"
#include "platform/diagnostic_log.h"

namespace tavrix::device {

namespace {

bool IsProfile(int profile)
{
    return profile >= 0 && profile < kProfileCount;
}

bool FitsOneReport(int length)
{
    return length >= 0 && static_cast<std::size_t>(length) <= kDataSize;
}

bool IsAddress(int64_t address)
{
    return address >= 0 && address < kAddressLimit;
}

const char* ResultText(int result)
{
    switch (result) {
    case kResultNoDevice:
        return "no keyboard";
    case kResultWriteRefused:
        return "write refused";
    case kResultNoReply:
        return "no matching reply";
    case kResultStatusRefused:
        return "refused";
    case kResultStatusBusy:
        return "refused, busy";
    default:
        return "failed";
    }
}

} // namespace

ReportFrame CommandSet::Request(uint8_t command, std::size_t length, uint32_t address, std::span<const uint8_t> data)
{
    ReportFrame frame = ReportFrame::ForCommand(command);
    frame.SetLength(static_cast<uint8_t>(length));
    frame.SetAddress(static_cast<uint16_t>(address));
    frame.SetData(data);
    frame.FillSum();
    return frame;
}

int CommandSet::Simple(uint8_t command)
{
    Reply reply;
    return Exchange(Request(command, 0, 0), reply, kDataOffset);
}

int CommandSet::Exchange(const ReportFrame& request, Reply& reply, std::size_t needed)
{
    const int result = Judge(request, reply, needed);
    if (result != kResultOk) {
        platform::LogDiagnostic("keyboard command 0x%02X at 0x%04X failed: %d (%s)", request.Command(),
                                request.Address(), result, ResultText(result));
    }
    return result;
}

int CommandSet::Judge(const ReportFrame& request, Reply& reply, std::size_t needed)
{
    reply.fill(0);
    uint32_t received = 0;
    const int sent = m_link.SendCommand(request.Bytes(), reply, received);
    if (sent != kResultOk) {
        return sent;
    }
    if (reply[kStatusOffset] == kStatusRefused) {
        return kResultStatusRefused;
    }
    if (reply[kStatusOffset] == kStatusRefusedBusy) {
        return kResultStatusBusy;
    }
    return received < needed ? kResultNoReply : kResultOk;
}

int CommandSet::Configure(const std::function<int()>& steps)
{
    std::lock_guard lock(m_configMutex);
    const int begun = BeginConfig();
    const int written = steps();
    const int ended = EndConfig();
    return FirstFailure(FirstFailure(begun, written), ended);
}

int CommandSet::BeginConfig()
{
    return Simple(kCmdBeginConfig);
}

int CommandSet::EndConfig()
{
    platform::SleepMs(kEndConfigDelayMs);
    return Simple(kCmdEndConfig);
}

int CommandSet::TestCommand()
{
    return Simple(kCmdTestCommand);
}

int CommandSet::ReadInfoBlock(std::span<uint8_t, kInfoBlockSize> out)
{
    return ReadChunks(kCmdReadInfoBlock, 0, out);
}

int CommandSet::WriteInfoBlock(std::span<const uint8_t, kInfoBlockSize> block)
{
    return WriteChunks(kCmdWriteInfoBlock, 0, block);
}

int CommandSet::ReadBytes(uint8_t command, std::span<uint8_t> out, int length, int64_t address)
{
    if (out.size() < kDataSize || !FitsOneReport(length) || !IsAddress(address)) {
        return kResultBadArgument;
    }
    const ReportFrame request = Request(command, static_cast<std::size_t>(length), static_cast<uint32_t>(address));
    Reply reply;
    const int result = Exchange(request, reply, kDataOffset + static_cast<std::size_t>(length));
    if (result != kResultOk) {
        return result;
    }
    // Callers of these two reads take the whole data field, not only the bytes they asked for.
    std::copy_n(reply.begin() + kDataOffset, kDataSize, out.begin());
    return kResultOk;
}

int CommandSet::WriteBytes(uint8_t command, std::span<const uint8_t> bytes, int64_t address)
{
    if (bytes.size() > kDataSize || !IsAddress(address)) {
        return kResultBadArgument;
    }
    Reply reply;
    return Exchange(Request(command, bytes.size(), static_cast<uint32_t>(address), bytes), reply, kDataOffset);
}

int CommandSet::ReadLightingBytes(std::span<uint8_t> out, int length, int address)
{
    return ReadBytes(kCmdReadLightingBytes, out, length, address);
}

int CommandSet::WriteLightingBytes(std::span<const uint8_t> bytes, int address)
{
    return WriteBytes(kCmdWriteLightingBytes, bytes, address);
}

int CommandSet::ReadLampArea(std::span<uint8_t> out, int length, int offset, int profile)
{
    if (!IsProfile(profile) || offset < 0) {
        return kResultBadArgument;
    }
    return ReadBytes(kCmdReadLampArea, out, length, int64_t{offset} + int64_t{profile} * kLampAreaSize);
}

int CommandSet::WriteLampArea(std::span<const uint8_t> bytes, int offset, int profile)
{
    if (!IsProfile(profile) || offset < 0) {
        return kResultBadArgument;
    }
    return WriteBytes(kCmdWriteLampArea, bytes, int64_t{offset} + int64_t{profile} * kLampAreaSize);
}

int CommandSet::ReadChunks(uint8_t command, uint32_t base, std::span<uint8_t> out)
{
    for (std::size_t offset = 0; offset < out.size(); offset += kDataSize) {
        const std::size_t length = std::min(kDataSize, out.size() - offset);
        Reply reply;
        const int result =
            Exchange(Request(command, length, base + static_cast<uint32_t>(offset)), reply, kDataOffset + length);
        if (result != kResultOk) {
            return result;
        }
        std::copy_n(reply.begin() + kDataOffset, length, out.begin() + static_cast<std::ptrdiff_t>(offset));
    }
    return kResultOk;
}

int CommandSet::WriteChunks(uint8_t command, uint32_t base, std::span<const uint8_t> bytes)
{
    for (std::size_t offset = 0; offset < bytes.size(); offset += kDataSize) {
        const std::size_t length = std::min(kDataSize, bytes.size() - offset);
        Reply reply;
        const int result =
            Exchange(Request(command, length, base + static_cast<uint32_t>(offset), bytes.subspan(offset, length)),
                     reply, kDataOffset);
        if (result != kResultOk) {
            return result;
        }
    }
    return kResultOk;
}

int CommandSet::ReadKeyTable(std::span<uint8_t, kKeyTableSize> out, int profile)
{
    if (!IsProfile(profile)) {
        return kResultBadArgument;
    }
    return ReadChunks(kCmdReadKeyTable, static_cast<uint32_t>(profile) * kKeyTableStride, out);
}

int CommandSet::WriteKeyTable(std::span<const uint8_t, kKeyTableSize> table, int profile)
{
    if (!IsProfile(profile)) {
        return kResultBadArgument;
    }
    return WriteChunks(kCmdWriteKeyTable, static_cast<uint32_t>(profile) * kKeyTableStride, table);
}

int CommandSet::ReadDefaultTable(std::span<uint8_t, kKeyTableSize> out)
{
    return ReadChunks(kCmdReadDefaultTable, 0, out);
}

int CommandSet::ReadExtraArea(std::span<uint8_t> out)
{
    if (out.size() > kAddressLimit) {
        return kResultBadArgument;
    }
    return ReadChunks(kCmdReadExtraArea, 0, out);
}

int CommandSet::WriteExtraArea(std::span<const uint8_t> bytes)
{
    if (bytes.size() > kAddressLimit) {
        return kResultBadArgument;
    }
    return WriteChunks(kCmdWriteExtraArea, 0, bytes);
}

int CommandSet::EnterBootMode()
{
    // No frame sum, no reply awaited.
    ReportFrame request = ReportFrame::ForCommand(kCmdEnterBootMode);
    request.SetLength(kBootModeConfirm);
    return m_link.SendRaw(request.Bytes());
}

int CommandSet::GetCurrentProfile()
{
    const int cached = m_currentProfile.load();
    if (cached != -1) {
        return cached;
    }
    std::array<uint8_t, kInfoBlockSize> info{};
    if (ReadInfoBlock(info) != kResultOk) {
        return -1;
    }
    const int profile = info[kInfoCurrentProfileOffset];
    if (!IsProfile(profile)) {
        return -1;
    }
    m_currentProfile = profile;
    return profile;
}

void CommandSet::SetCurrentProfile(int profile)
{
    if (!IsProfile(profile)) {
        return;
    }
    std::array<uint8_t, kInfoBlockSize> info{};
    if (ReadInfoBlock(info) != kResultOk) {
        return;
    }
    info[kInfoCurrentProfileOffset] = static_cast<uint8_t>(profile);
    m_currentProfile = WriteInfoBlock(info) == kResultOk ? profile : -1;
}

} // namespace tavrix::device
