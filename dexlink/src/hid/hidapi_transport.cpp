#include "hid/hidapi_transport.h"

#include <hidapi.h>

namespace tavrix::dexlink {

namespace {

class HidapiDevice : public HidDevice {
public:
    explicit HidapiDevice(hid_device* device) : m_device(device) {}
    ~HidapiDevice() override { hid_close(m_device); }
    HidapiDevice(const HidapiDevice&) = delete;
    HidapiDevice& operator=(const HidapiDevice&) = delete;

    int Read(std::span<uint8_t> out, int timeoutMs) override
    {
        return hid_read_timeout(m_device, out.data(), out.size(), timeoutMs);
    }

    int Write(std::span<const uint8_t> report) override { return hid_write(m_device, report.data(), report.size()); }

    int SendFeature(std::span<const uint8_t> report) override
    {
        return hid_send_feature_report(m_device, report.data(), report.size());
    }

private:
    hid_device* m_device;
};

} // namespace

std::unique_ptr<HidapiTransport> HidapiTransport::Create()
{
    if (hid_init() != 0) {
        return nullptr;
    }
    return std::unique_ptr<HidapiTransport>(new HidapiTransport());
}

HidapiTransport::~HidapiTransport()
{
    hid_exit();
}

std::vector<HidDeviceInfo> HidapiTransport::Enumerate(uint16_t vendorId, uint16_t productId)
{
    std::vector<HidDeviceInfo> found;
    hid_device_info* list = hid_enumerate(vendorId, productId);
    for (const hid_device_info* info = list; info; info = info->next) {
        found.push_back(
            {info->path ? info->path : "", info->vendor_id, info->product_id, info->usage_page, info->usage});
    }
    hid_free_enumeration(list);
    return found;
}

std::unique_ptr<HidDevice> HidapiTransport::Open(const std::string& path)
{
    hid_device* device = hid_open_path(path.c_str());
    if (!device) {
        return nullptr;
    }
    return std::make_unique<HidapiDevice>(device);
}

} // namespace tavrix::dexlink
