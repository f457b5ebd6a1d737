#pragma once

#include "device/device_host.h"

namespace tavrix::testing {

// A main window that ignores whatever the device link tells it, for benchmarks and fuzzing.
class QuietDeviceHost : public device::DeviceHost {
public:
    void OnGKeyBankChanged(uint32_t, int) override {}
    void StartLightingRefresh() override {}
    void ShowTrayState(int, int) override {}
    void OnConnectionChanged(int) override {}
};

}  // namespace tavrix::testing
