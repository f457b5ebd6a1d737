#pragma once

#include <string>

#include "dexlink.h"

namespace tavrix::device {

// The twelve functions of the device-service library, resolved by name.
struct DeviceService {
    decltype(&::Init) Init = nullptr;
    decltype(&::End) End = nullptr;
    decltype(&::Debug) Debug = nullptr;
    decltype(&::RequestGetDeviceCount) RequestGetDeviceCount = nullptr;
    decltype(&::RequestAsyncRead) RequestAsyncRead = nullptr;
    decltype(&::RequestWriteOne) RequestWriteOne = nullptr;
    decltype(&::RequestWrite) RequestWrite = nullptr;
    decltype(&::RequestStatusWrite) RequestStatusWrite = nullptr;
    decltype(&::RequestStatusSetFeature) RequestStatusSetFeature = nullptr;
    decltype(&::RequestStatusGet) RequestStatusGet = nullptr;
    decltype(&::DeleteRequestFromUnitId) DeleteRequestFromUnitId = nullptr;
    decltype(&::DeleteRequestFromHandle) DeleteRequestFromHandle = nullptr;
};

inline constexpr const char* kDeviceServiceFileName = "libdexlink.so";

enum class BindResult { Bound, MissingLibrary, MissingExport, InitFailed };

// Loads libdexlink.so from the folder, resolves all twelve exports and calls Init(0). The library
// stays loaded for the life of the process.
[[nodiscard]] BindResult BindDeviceService(const std::string& folder, DeviceService& service);

// As BindDeviceService, but a failure ends the process at once with exit code 0 and nothing
// shown: without the library the program has nothing to offer.
DeviceService BindDeviceServiceOrExit(const std::string& folder);

} // namespace tavrix::device
