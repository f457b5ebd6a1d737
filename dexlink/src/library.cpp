#include "library.h"

#include <algorithm>
#include <cstdlib>

namespace tavrix::dexlink {

namespace {

constexpr std::size_t kReportSize = DEX_REPORT_SIZE;
constexpr const char* kDefaultBackend = "hid";

} // namespace

Library& Library::Instance()
{
    static Library library;
    return library;
}

Library::Library() : m_notifier([this](const Event& event) { Dispatch(event); })
{
}

int Library::Init()
{
    if (m_notifier.OnNotifierThread()) {
        // From a callback: the library runs (or an End waits for this very thread to return).
        std::lock_guard lock(m_mutex);
        return m_backend ? 1 : 0;
    }
    std::lock_guard lifecycle(m_lifecycleMutex);
    std::lock_guard lock(m_mutex);
    if (m_backend) {
        return 1;
    }
    const char* name = std::getenv("DEXLINK_BACKEND");
    m_notifier.Start();
    m_backend = CreateBackend(name && *name ? name : kDefaultBackend, *this);
    if (!m_backend) {
        m_notifier.Stop();
        return 0;
    }
    return 1;
}

int Library::End()
{
    if (m_notifier.OnNotifierThread()) {
        return 0;
    }
    std::lock_guard lifecycle(m_lifecycleMutex);
    std::unique_ptr<Backend> backend;
    {
        std::lock_guard lock(m_mutex);
        backend.swap(m_backend);
        m_registrations.clear();
        m_status.clear();
    }
    backend.reset();
    m_notifier.Stop();
    return 1;
}

int Library::DeviceCount(const DeviceSelector& selector)
{
    std::lock_guard lock(m_mutex);
    return m_backend ? m_backend->DeviceCount(selector) : 0;
}

int Library::AsyncRead(const DeviceSelector& selector, DexNotifyCallback callback, uint32_t tag, DexHandle* handle)
{
    if (!callback) {
        return 0;
    }
    return Register({selector, callback, tag}, handle) ? 1 : 0;
}

int Library::WriteOne(const DeviceSelector& selector, std::span<const uint8_t> data)
{
    std::array<uint8_t, kReportSize> report{};
    std::copy_n(data.begin(), std::min(data.size(), report.size()), report.begin());
    std::lock_guard lock(m_mutex);
    return m_backend ? m_backend->Write(selector, report) : 0;
}

int Library::Write(const DeviceSelector& selector, std::span<const uint8_t> data)
{
    int written = 0;
    for (std::size_t offset = 0; offset < data.size(); offset += kReportSize) {
        const int result = WriteOne(selector, data.subspan(offset, std::min(kReportSize, data.size() - offset)));
        if (result <= 0) {
            // Not started (0) only when nothing went out yet; a write that stopped half-way failed.
            return written == 0 ? result : -1;
        }
        ++written;
    }
    return written;
}

int Library::StatusWrite(const DeviceSelector& selector, uint32_t tag, std::span<const uint8_t> data, DexHandle* handle)
{
    const int written = WriteOne(selector, data);
    if (written <= 0) {
        return written;
    }
    {
        std::lock_guard lock(m_mutex);
        m_status[KeyOf(selector)].assign(data.begin(), data.end());
    }
    return Register({selector, nullptr, tag}, handle) ? 1 : 0;
}

int Library::SetFeature(const DeviceSelector& selector, uint32_t tag, std::span<const uint8_t> data, DexHandle* handle)
{
    int result = 0;
    {
        std::lock_guard lock(m_mutex);
        if (m_backend) {
            result = m_backend->SetFeature(selector, data);
        }
    }
    if (result <= 0) {
        return result;
    }
    return Register({selector, nullptr, tag}, handle) ? 1 : 0;
}

int Library::StatusGet(const DeviceSelector& selector, std::span<uint8_t> out)
{
    std::lock_guard lock(m_mutex);
    if (!m_backend) {
        return 0;
    }
    if (m_backend->DeviceCount(selector) == 0) {
        return -1;
    }
    const auto found = m_status.find(KeyOf(selector));
    if (found == m_status.end()) {
        return 0;
    }
    const std::size_t count = std::min(out.size(), found->second.size());
    std::copy_n(found->second.begin(), count, out.begin());
    return static_cast<int>(count);
}

int Library::Delete(DexHandle handle)
{
    std::lock_guard lock(m_mutex);
    return m_registrations.erase(handle) > 0 ? 1 : 0;
}

Backend* Library::ActiveBackend()
{
    std::lock_guard lock(m_mutex);
    return m_backend.get();
}

void Library::Deliver(Event event, std::chrono::microseconds delay)
{
    m_notifier.Post(std::move(event), delay);
}

bool Library::Register(const Registration& registration, DexHandle* handle)
{
    std::lock_guard lock(m_mutex);
    if (!m_backend) {
        return false;
    }
    do {
        ++m_lastHandle;
    } while (m_lastHandle == 0 || m_registrations.contains(m_lastHandle));
    m_registrations.emplace(m_lastHandle, registration);
    if (handle) {
        *handle = m_lastHandle;
    }
    return true;
}

void Library::Dispatch(const Event& event)
{
    struct Target {
        DexNotifyCallback callback;
        DexRequestRecord record;
    };
    std::vector<Target> targets;
    {
        std::lock_guard lock(m_mutex);
        for (const auto& [handle, registration] : m_registrations) {
            if (!registration.callback) {
                continue;
            }
            DexRequestRecord record{registration.tag, 0, nullptr, nullptr};
            if (event.kind == Event::Kind::DeviceCount) {
                record.value = m_backend ? static_cast<uint32_t>(m_backend->DeviceCount(registration.selector)) : 0;
            } else if (SelectorMatches(registration.selector, event.collection)) {
                record.value = static_cast<uint32_t>(event.bytes.size());
                record.data = event.bytes.data();
            } else {
                continue;
            }
            targets.push_back({registration.callback, record});
        }
    }
    DexConsumerBlock consumer{};
    const bool hasEventValue =
        event.eventValueOffset >= 0 && static_cast<std::size_t>(event.eventValueOffset) + 2 <= event.bytes.size();
    if (hasEventValue) {
        consumer.eventValue = event.bytes.data() + event.eventValueOffset;
    }
    for (Target& target : targets) {
        if (event.kind == Event::Kind::Data && hasEventValue) {
            target.record.consumer = &consumer;
        }
        const DexNotification notification{event.kind == Event::Kind::Data ? uint32_t{DEX_NOTIFY_DATA}
                                                                           : uint32_t{DEX_NOTIFY_DEVICE_COUNT},
                                           0, &target.record};
        target.callback(&notification);
    }
}

Library::StatusKey Library::KeyOf(const DeviceSelector& selector)
{
    return {selector.fieldMask, selector.vendorId, selector.productId, selector.usagePage, selector.usage};
}

} // namespace tavrix::dexlink
