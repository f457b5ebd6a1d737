#pragma once

#include <array>
#include <chrono>
#include <cstdint>
#include <memory>
#include <span>
#include <string_view>
#include <vector>

#include "dexlink.h"

namespace tavrix::dexlink {

// One top-level collection of an attached device.
struct Collection {
    uint16_t vendorId = 0;
    uint16_t productId = 0;
    uint16_t usagePage = 0;
    uint16_t usage = 0;

    bool operator==(const Collection&) const = default;
};

// The keyboard's collections: the command channel, the consumer keys and the status output.
inline constexpr Collection kCommandCollection{DEX_VENDOR_ID, DEX_PRODUCT_ID, DEX_COMMAND_USAGE_PAGE,
                                               DEX_COMMAND_USAGE};
inline constexpr Collection kConsumerCollection{DEX_VENDOR_ID, DEX_PRODUCT_ID, DEX_CONSUMER_USAGE_PAGE,
                                                DEX_CONSUMER_USAGE};
inline constexpr Collection kStatusCollection{DEX_VENDOR_ID, DEX_PRODUCT_ID, DEX_STATUS_USAGE_PAGE, DEX_STATUS_USAGE};
inline constexpr std::array<Collection, 3> kKeyboardCollections{kCommandCollection, kConsumerCollection,
                                                                kStatusCollection};
// Consumer reports carry their 16-bit event value right after the report id.
inline constexpr int kConsumerValueOffset = 1;

bool SelectorMatches(const DeviceSelector& selector, const Collection& collection);

// Something a backend has to tell the registered callbacks.
struct Event {
    enum class Kind { Data, DeviceCount };
    Kind kind = Kind::Data;
    Collection collection;      // Data: the collection the input report came from
    std::vector<uint8_t> bytes; // Data: the input report
    int eventValueOffset = -1;  // Data on the consumer channel: where the 16-bit value lies
};

class EventSink {
public:
    virtual ~EventSink() = default;
    // Queues the event for the notification thread, to go out after the given delay.
    virtual void Deliver(Event event, std::chrono::microseconds delay) = 0;
};

// The transport behind the exports. Calls may come from any thread.
class Backend {
public:
    virtual ~Backend() = default;

    virtual int DeviceCount(const DeviceSelector& selector) = 0;
    // Sends one output report to the first matching collection: 1 when accepted, -1 otherwise.
    virtual int Write(const DeviceSelector& selector, std::span<const uint8_t> report) = 0;
    // Sends a feature report: 1 when accepted, -1 otherwise.
    virtual int SetFeature(const DeviceSelector& selector, std::span<const uint8_t> report) = 0;
};

// The backend of the given name ("hid", "sim"), or null when there is none by that name or it
// could not start.
std::unique_ptr<Backend> CreateBackend(std::string_view name, EventSink& sink);

} // namespace tavrix::dexlink
