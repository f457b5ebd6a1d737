#pragma once

#include "device/device_service.h"

namespace tavrix::testing {

// The device-service functions of the library linked into this program itself, so tests and
// benchmarks can drive the simulated keyboard's controls in-process.
device::DeviceService LinkedDeviceService();

} // namespace tavrix::testing
