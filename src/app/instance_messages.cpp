#include "app/instance_messages.h"

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

} // namespace tavrix::app
