#include "device/device_selector.h"

namespace tavrix::device {

namespace {

DeviceSelector Selector(uint16_t usagePage, uint16_t usage)
{
    return DeviceSelector{DEX_MATCH_ALL, DEX_VENDOR_ID, DEX_PRODUCT_ID, usagePage, usage, 0};
}

} // namespace

DeviceSelector CommandSelector()
{
    return Selector(DEX_COMMAND_USAGE_PAGE, DEX_COMMAND_USAGE);
}

DeviceSelector ConsumerSelector()
{
    return Selector(DEX_CONSUMER_USAGE_PAGE, DEX_CONSUMER_USAGE);
}

DeviceSelector StatusSelector()
{
    return Selector(DEX_STATUS_USAGE_PAGE, DEX_STATUS_USAGE);
}

} // namespace tavrix::device
