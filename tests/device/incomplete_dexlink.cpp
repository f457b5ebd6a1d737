// A device-service library that lacks one export (RequestStatusGet), for the binding tests.
#include "dexlink.h"

extern "C" {
DEX_API int Init(int)
{
    return 1;
}
DEX_API int End(void)
{
    return 1;
}
DEX_API int Debug(int)
{
    return 0;
}
DEX_API int RequestGetDeviceCount(const DeviceSelector*, DexNotifyCallback, uint32_t, uint32_t, DexHandle*)
{
    return 1;
}
DEX_API int RequestAsyncRead(const DeviceSelector*, DexNotifyCallback, uint32_t, uint32_t, DexHandle*)
{
    return 1;
}
DEX_API int RequestWriteOne(const DeviceSelector*, DexNotifyCallback, uint32_t, const uint8_t*, uint32_t, uint32_t,
                            DexHandle*)
{
    return 1;
}
DEX_API int RequestWrite(const DeviceSelector*, DexNotifyCallback, uint32_t, const uint8_t*, uint32_t, uint32_t,
                         DexHandle*)
{
    return 1;
}
DEX_API int RequestStatusWrite(const DeviceSelector*, DexNotifyCallback, uint32_t, const uint8_t*, uint32_t, uint32_t,
                               DexHandle*)
{
    return 1;
}
DEX_API int RequestStatusSetFeature(const DeviceSelector*, DexNotifyCallback, uint32_t, const uint8_t*, uint32_t,
                                    uint32_t, DexHandle*)
{
    return 1;
}
DEX_API int DeleteRequestFromUnitId(DexHandle)
{
    return 1;
}
DEX_API int DeleteRequestFromHandle(DexHandle*)
{
    return 1;
}
}
