#include "device/device_service.h"

#include <cstdlib>

#include <dlfcn.h>

namespace tavrix::device {

namespace {

template <typename Function> bool Resolve(void* library, const char* name, Function& function)
{
    function = reinterpret_cast<Function>(dlsym(library, name));
    return function != nullptr;
}

bool ResolveAll(void* library, DeviceService& service)
{
    return Resolve(library, "Init", service.Init) && Resolve(library, "End", service.End) &&
           Resolve(library, "Debug", service.Debug) &&
           Resolve(library, "RequestGetDeviceCount", service.RequestGetDeviceCount) &&
           Resolve(library, "RequestAsyncRead", service.RequestAsyncRead) &&
           Resolve(library, "RequestWriteOne", service.RequestWriteOne) &&
           Resolve(library, "RequestWrite", service.RequestWrite) &&
           Resolve(library, "RequestStatusWrite", service.RequestStatusWrite) &&
           Resolve(library, "RequestStatusSetFeature", service.RequestStatusSetFeature) &&
           Resolve(library, "RequestStatusGet", service.RequestStatusGet) &&
           Resolve(library, "DeleteRequestFromUnitId", service.DeleteRequestFromUnitId) &&
           Resolve(library, "DeleteRequestFromHandle", service.DeleteRequestFromHandle);
}

} // namespace

BindResult BindDeviceService(const std::string& folder, DeviceService& service)
{
    const std::string path = folder + "/" + kDeviceServiceFileName;
    void* library = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!library) {
        return BindResult::MissingLibrary;
    }
    DeviceService resolved;
    if (!ResolveAll(library, resolved)) {
        dlclose(library);
        return BindResult::MissingExport;
    }
    if (resolved.Init(0) <= 0) {
        return BindResult::InitFailed;
    }
    service = resolved;
    return BindResult::Bound;
}

DeviceService BindDeviceServiceOrExit(const std::string& folder)
{
    DeviceService service;
    if (BindDeviceService(folder, service) != BindResult::Bound) {
        std::_Exit(0);
    }
    return service;
}

} // namespace tavrix::device
