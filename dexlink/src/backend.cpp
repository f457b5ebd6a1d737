#include "backend.h"

#include "hid/hid_backend.h"
#include "hid/hidapi_transport.h"
#include "hid/udev_monitor.h"
#include "sim/sim_backend.h"

namespace tavrix::dexlink {

bool SelectorMatches(const DeviceSelector& selector, const Collection& collection)
{
    const uint32_t mask = selector.fieldMask;
    if ((mask & DEX_MATCH_VENDOR) && selector.vendorId != collection.vendorId) {
        return false;
    }
    if ((mask & DEX_MATCH_PRODUCT) && selector.productId != collection.productId) {
        return false;
    }
    if ((mask & DEX_MATCH_USAGE_PAGE) && selector.usagePage != collection.usagePage) {
        return false;
    }
    return !(mask & DEX_MATCH_USAGE) || selector.usage == collection.usage;
}

std::unique_ptr<Backend> CreateBackend(std::string_view name, EventSink& sink)
{
    if (name == "sim") {
        return std::make_unique<SimBackend>(sink);
    }
    if (name == "hid") {
        std::unique_ptr<HidapiTransport> transport = HidapiTransport::Create();
        if (!transport) {
            return nullptr;
        }
        return std::make_unique<HidBackend>(sink, std::move(transport), std::make_unique<UdevMonitor>());
    }
    return nullptr;
}

} // namespace tavrix::dexlink
