#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <vector>

// The narrow seam between the hid backend and the system: hidapi for enumeration and I/O, a
// hotplug monitor for arrival and removal. The backend's matching and framing logic sees only
// these interfaces, so tests drive it with fakes and never open a real device.
namespace tavrix::dexlink {

// One entry of an enumeration: a top-level collection of a hidraw node. A node with several
// collections appears once per collection, each time with the same path.
struct HidDeviceInfo {
    std::string path;
    uint16_t vendorId = 0;
    uint16_t productId = 0;
    uint16_t usagePage = 0;
    uint16_t usage = 0;
};

// An open hidraw node. Read may run on one thread while Write or SendFeature run on another.
class HidDevice {
public:
    virtual ~HidDevice() = default;
    // Waits at most timeoutMs for an input report (report id first): its length, 0 when none
    // came, -1 when the device failed or went away.
    virtual int Read(std::span<uint8_t> out, int timeoutMs) = 0;
    // Sends an output report (report id first): bytes written, or -1.
    virtual int Write(std::span<const uint8_t> report) = 0;
    // Sends a feature report (report id first): bytes written, or -1.
    virtual int SendFeature(std::span<const uint8_t> report) = 0;
};

class HidTransport {
public:
    virtual ~HidTransport() = default;
    // Every collection of the devices with the given vendor and product id.
    virtual std::vector<HidDeviceInfo> Enumerate(uint16_t vendorId, uint16_t productId) = 0;
    // Null when the node cannot be opened (gone, or no permission).
    virtual std::unique_ptr<HidDevice> Open(const std::string& path) = 0;
};

// Tells of hidraw nodes arriving and going, on a thread of its own, without polling.
class HotplugMonitor {
public:
    virtual ~HotplugMonitor() = default;
    // Starts calling changed after each arrival or removal; false when no monitor is available.
    virtual bool Start(std::function<void()> changed) = 0;
    // Stops; no call of changed is running or follows when it returns.
    virtual void Stop() = 0;
};

} // namespace tavrix::dexlink
