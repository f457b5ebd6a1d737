#pragma once

#include <functional>
#include <thread>

#include "hid/hid_transport.h"

struct udev;
struct udev_monitor;

namespace tavrix::dexlink {

// Arrival and removal of hidraw nodes from libudev. It listens to udev's own events rather than
// the kernel's, so the permission rules have run before a node is opened, and waits in poll()
// on the monitor and a wake-up descriptor: no polling loop.
class UdevMonitor : public HotplugMonitor {
public:
    UdevMonitor() = default;
    UdevMonitor(const UdevMonitor&) = delete;
    UdevMonitor& operator=(const UdevMonitor&) = delete;
    ~UdevMonitor() override;

    bool Start(std::function<void()> changed) override;
    void Stop() override;

private:
    void Run();
    void Release();

    std::function<void()> m_changed;
    udev* m_udev = nullptr;
    udev_monitor* m_monitor = nullptr;
    int m_wakeFd = -1;
    std::thread m_thread;
};

} // namespace tavrix::dexlink
