#include "linked_device_service.h"

#include "dexlink.h"

namespace tavrix::testing {

device::DeviceService LinkedDeviceService()
{
    device::DeviceService service;
    service.Init = &::Init;
    service.End = &::End;
    service.Debug = &::Debug;
    service.RequestGetDeviceCount = &::RequestGetDeviceCount;
    service.RequestAsyncRead = &::RequestAsyncRead;
    service.RequestWriteOne = &::RequestWriteOne;
    service.RequestWrite = &::RequestWrite;
    service.RequestStatusWrite = &::RequestStatusWrite;
    service.RequestStatusSetFeature = &::RequestStatusSetFeature;
    service.RequestStatusGet = &::RequestStatusGet;
    service.DeleteRequestFromUnitId = &::DeleteRequestFromUnitId;
    service.DeleteRequestFromHandle = &::DeleteRequestFromHandle;
    return service;
}

} // namespace tavrix::testing
