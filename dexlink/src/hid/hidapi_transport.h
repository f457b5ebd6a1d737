#pragma once

#include <memory>

#include "hid/hid_transport.h"

namespace tavrix::dexlink {

// hidapi over hidraw.
class HidapiTransport : public HidTransport {
public:
    // Null when hidapi cannot start.
    static std::unique_ptr<HidapiTransport> Create();
    ~HidapiTransport() override;

    std::vector<HidDeviceInfo> Enumerate(uint16_t vendorId, uint16_t productId) override;
    std::unique_ptr<HidDevice> Open(const std::string& path) override;

private:
    HidapiTransport() = default;
};

} // namespace tavrix::dexlink
