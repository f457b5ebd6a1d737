#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <span>
#include <tuple>
#include <vector>

#include "backend.h"
#include "dexlink.h"
#include "notifier.h"

namespace tavrix::dexlink {

// The library's state behind the exports: the backend, the registrations and the notification
// thread. The exports check checksums and sizes; everything here trusts its arguments. Calls made
// while the library is not started return 0 and do nothing.
class Library : public EventSink {
public:
    static Library& Instance();

    int Init();
    int End();

    int DeviceCount(const DeviceSelector& selector);
    int AsyncRead(const DeviceSelector& selector, DexNotifyCallback callback, uint32_t tag, DexHandle* handle);
    int WriteOne(const DeviceSelector& selector, std::span<const uint8_t> data);
    int Write(const DeviceSelector& selector, std::span<const uint8_t> data);
    int StatusWrite(const DeviceSelector& selector, uint32_t tag, std::span<const uint8_t> data, DexHandle* handle);
    int SetFeature(const DeviceSelector& selector, uint32_t tag, std::span<const uint8_t> data, DexHandle* handle);
    int StatusGet(const DeviceSelector& selector, std::span<uint8_t> out);
    int Delete(DexHandle handle);

    // The running backend, for tests that drive the simulated keyboard; null when stopped.
    Backend* ActiveBackend();

    void Deliver(Event event, std::chrono::microseconds delay) override;

private:
    struct Registration {
        DeviceSelector selector{};
        DexNotifyCallback callback = nullptr; // null for status writes: nothing to tell them
        uint32_t tag = 0;
    };
    using StatusKey = std::tuple<uint32_t, uint16_t, uint16_t, uint16_t, uint16_t>;

    Library();

    // Adds the registration under a fresh handle, written to *handle when handle is non-null;
    // false (nothing added) while the library is not started.
    bool Register(const Registration& registration, DexHandle* handle);
    void Dispatch(const Event& event);
    static StatusKey KeyOf(const DeviceSelector& selector);

    // Init and End run one at a time, each from start to end; m_mutex guards the state they and
    // the calls share.
    std::mutex m_lifecycleMutex;
    std::mutex m_mutex;
    std::unique_ptr<Backend> m_backend;
    std::map<DexHandle, Registration> m_registrations;
    std::map<StatusKey, std::vector<uint8_t>> m_status;
    DexHandle m_lastHandle = 0;
    Notifier m_notifier;
};

} // namespace tavrix::dexlink
