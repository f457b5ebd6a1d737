#pragma once

#include <string>
#include <string_view>

#include "device/device_host.h"

namespace tavrix::testing {

// A main window that ignores whatever the device link tells it, for benchmarks and fuzzing.
class QuietDeviceHost : public device::DeviceHost {
public:
    void OnBankChanged(int) override {}
    void OnKeyboardLightingChanged() override {}
    void OnKeyboardBusy(bool) override {}
    void OnConnectionChanged(int) override {}
};

// A host of profile files or of the model's sync (Host) that answers every text with its key
// and shows no message, for benchmarks and fuzzing.
template <typename Host> class QuietTextHost : public Host {
public:
    std::u16string Text(std::string_view key) const override { return std::u16string(key.begin(), key.end()); }
    void ShowMessage(const std::u16string&) override {}
};

} // namespace tavrix::testing
