#include "app/instance_messages.h"

#include <algorithm>

#include "platform/little_endian.h"

namespace tavrix::app {

std::array<uint8_t, kInstanceRequestSize> EncodeInstanceRequest(const InstanceRequestFrame& request)
{
    std::array<uint8_t, kInstanceRequestSize> bytes{};
    platform::Put32(bytes, 0, request.message);
    platform::Put32(bytes, 4, request.wParam);
    platform::Put32(bytes, 8, request.lParam);
    return bytes;
}

std::optional<InstanceRequestFrame> DecodeInstanceRequest(std::span<const uint8_t> bytes)
{
    if (bytes.size() < kInstanceRequestSize) {
        return std::nullopt;
    }
    return InstanceRequestFrame{platform::Get32(bytes, 0), platform::Get32(bytes, 4), platform::Get32(bytes, 8)};
}

std::array<uint8_t, kInstanceReplySize> EncodeInstanceReply(bool handled)
{
    std::array<uint8_t, kInstanceReplySize> bytes{};
    platform::Put32(bytes, 0, handled ? 1 : 0);
    return bytes;
}

bool DecodeInstanceReply(std::span<const uint8_t> bytes)
{
    return bytes.size() >= kInstanceReplySize && platform::Get32(bytes, 0) == 1;
}

std::optional<std::vector<uint8_t>> EncodeCtlRequest(std::span<const uint8_t> body)
{
    if (body.size() > kMaxCtlBodySize) {
        return std::nullopt;
    }
    const auto header =
        EncodeInstanceRequest({kCtlRequestMessage, kCtlProtocolVersion, static_cast<uint32_t>(body.size())});
    std::vector<uint8_t> bytes(header.begin(), header.end());
    bytes.insert(bytes.end(), body.begin(), body.end());
    return bytes;
}

std::optional<size_t> CtlBodySize(const InstanceRequestFrame& frame)
{
    if (!IsCtlRequest(frame) || frame.wParam != kCtlProtocolVersion || frame.lParam > kMaxCtlBodySize) {
        return std::nullopt;
    }
    return frame.lParam;
}

std::vector<uint8_t> EncodeCtlReply(const CtlReply& reply)
{
    const size_t textSize = std::min(reply.text.size(), kMaxCtlTextSize);
    const size_t payloadSize = std::min(reply.payload.size(), kMaxCtlBodySize);
    std::vector<uint8_t> bytes(kCtlReplyHeaderSize);
    platform::Put32(bytes, 0, kCtlReplyTag);
    platform::Put32(bytes, 4, kCtlProtocolVersion);
    platform::Put32(bytes, 8, static_cast<uint32_t>(reply.status));
    platform::Put32(bytes, 12, static_cast<uint32_t>(textSize));
    platform::Put32(bytes, 16, static_cast<uint32_t>(payloadSize));
    bytes.insert(bytes.end(), reply.text.begin(), reply.text.begin() + static_cast<std::ptrdiff_t>(textSize));
    bytes.insert(bytes.end(), reply.payload.begin(), reply.payload.begin() + static_cast<std::ptrdiff_t>(payloadSize));
    return bytes;
}

std::optional<CtlReplyHeader> DecodeCtlReplyHeader(std::span<const uint8_t> bytes)
{
    if (bytes.size() < kCtlReplyHeaderSize || platform::Get32(bytes, 0) != kCtlReplyTag ||
        platform::Get32(bytes, 4) != kCtlProtocolVersion) {
        return std::nullopt;
    }
    const uint32_t status = platform::Get32(bytes, 8);
    const uint32_t textSize = platform::Get32(bytes, 12);
    const uint32_t payloadSize = platform::Get32(bytes, 16);
    const bool known =
        status == static_cast<uint32_t>(CtlStatus::Done) || status == static_cast<uint32_t>(CtlStatus::NoKeyboard) ||
        status == static_cast<uint32_t>(CtlStatus::Failed) || status == static_cast<uint32_t>(CtlStatus::BadFile);
    if (!known || textSize > kMaxCtlTextSize || payloadSize > kMaxCtlBodySize) {
        return std::nullopt;
    }
    return CtlReplyHeader{static_cast<CtlStatus>(status), textSize, payloadSize};
}

} // namespace tavrix::app
