#include "hid/udev_monitor.h"

#include <array>
#include <cerrno>
#include <cstdint>

#include <libudev.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

namespace tavrix::dexlink {

namespace {

constexpr const char* kEventSource = "udev";
constexpr const char* kSubsystem = "hidraw";

} // namespace

UdevMonitor::~UdevMonitor()
{
    Stop();
}

bool UdevMonitor::Start(std::function<void()> changed)
{
    if (m_thread.joinable()) {
        return true;
    }
    m_udev = udev_new();
    if (m_udev) {
        m_monitor = udev_monitor_new_from_netlink(m_udev, kEventSource);
    }
    m_wakeFd = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    if (!m_monitor || m_wakeFd < 0 ||
        udev_monitor_filter_add_match_subsystem_devtype(m_monitor, kSubsystem, nullptr) < 0 ||
        udev_monitor_enable_receiving(m_monitor) < 0) {
        Release();
        return false;
    }
    m_changed = std::move(changed);
    m_thread = std::thread([this] { Run(); });
    return true;
}

void UdevMonitor::Stop()
{
    if (m_thread.joinable()) {
        const uint64_t one = 1;
        static_cast<void>(write(m_wakeFd, &one, sizeof one));
        m_thread.join();
    }
    Release();
}

void UdevMonitor::Release()
{
    if (m_monitor) {
        udev_monitor_unref(m_monitor);
        m_monitor = nullptr;
    }
    if (m_udev) {
        udev_unref(m_udev);
        m_udev = nullptr;
    }
    if (m_wakeFd >= 0) {
        close(m_wakeFd);
        m_wakeFd = -1;
    }
}

void UdevMonitor::Run()
{
    std::array<pollfd, 2> fds{{{udev_monitor_get_fd(m_monitor), POLLIN, 0}, {m_wakeFd, POLLIN, 0}}};
    while (true) {
        if (poll(fds.data(), fds.size(), -1) < 0) {
            if (errno == EINTR) {
                continue;
            }
            return;
        }
        if (fds[1].revents != 0 || (fds[0].revents & (POLLERR | POLLHUP | POLLNVAL))) {
            return;
        }
        if (fds[0].revents & POLLIN) {
            udev_device* device = udev_monitor_receive_device(m_monitor);
            if (device) {
                udev_device_unref(device);
                m_changed();
            }
        }
    }
}

} // namespace tavrix::dexlink
