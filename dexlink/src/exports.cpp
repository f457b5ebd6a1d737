// The twelve C exports: argument and checksum checks, then the library state does the work.
#include <atomic>
#include <cstdio>
#include <span>

#include "dexlink.h"
#include "library.h"

using tavrix::dexlink::Library;

namespace {

std::atomic<int> g_debugLevel{0};

void Trace(const char* call, int result)
{
    if (g_debugLevel.load() > 0) {
        std::fprintf(stderr, "dexlink: %s -> %d\n", call, result);
    }
}

bool ChecksumAgrees(const DeviceSelector* selector, DexNotifyCallback callback, uint32_t tag, const uint8_t* data,
                    uint32_t length, uint32_t checksum)
{
    if (!selector || (length > 0 && !data)) {
        return false;
    }
    return DexCallChecksum(selector, callback, tag, data, length) == checksum;
}

// One report's worth at most: a longer buffer is refused, not cut.
bool FitsOneReport(uint32_t length)
{
    return length <= DEX_REPORT_SIZE;
}

std::span<const uint8_t> Bytes(const uint8_t* data, uint32_t length)
{
    return length > 0 ? std::span<const uint8_t>(data, length) : std::span<const uint8_t>();
}

int Traced(const char* call, int result)
{
    Trace(call, result);
    return result;
}

} // namespace

extern "C" {

DEX_API int Init(int /*flags*/)
{
    return Traced("Init", Library::Instance().Init());
}

DEX_API int End(void)
{
    return Traced("End", Library::Instance().End());
}

DEX_API int RequestGetDeviceCount(const DeviceSelector* selector, DexNotifyCallback callback, uint32_t tag,
                                  uint32_t checksum, DexHandle* /*handle*/)
{
    if (!ChecksumAgrees(selector, callback, tag, nullptr, 0, checksum)) {
        return Traced("RequestGetDeviceCount: checksum", 0);
    }
    return Traced("RequestGetDeviceCount", Library::Instance().DeviceCount(*selector));
}

DEX_API int RequestAsyncRead(const DeviceSelector* selector, DexNotifyCallback callback, uint32_t tag,
                             uint32_t checksum, DexHandle* handle)
{
    if (!ChecksumAgrees(selector, callback, tag, nullptr, 0, checksum)) {
        return Traced("RequestAsyncRead: checksum", 0);
    }
    return Traced("RequestAsyncRead", Library::Instance().AsyncRead(*selector, callback, tag, handle));
}

DEX_API int RequestWriteOne(const DeviceSelector* selector, DexNotifyCallback callback, uint32_t tag,
                            const uint8_t* data, uint32_t length, uint32_t checksum, DexHandle* /*handle*/)
{
    if (!ChecksumAgrees(selector, callback, tag, data, length, checksum)) {
        return Traced("RequestWriteOne: checksum", 0);
    }
    if (!FitsOneReport(length)) {
        return Traced("RequestWriteOne: length", 0);
    }
    return Traced("RequestWriteOne", Library::Instance().WriteOne(*selector, Bytes(data, length)));
}

DEX_API int RequestWrite(const DeviceSelector* selector, DexNotifyCallback callback, uint32_t tag, const uint8_t* data,
                         uint32_t length, uint32_t checksum, DexHandle* /*handle*/)
{
    if (!ChecksumAgrees(selector, callback, tag, data, length, checksum)) {
        return Traced("RequestWrite: checksum", 0);
    }
    return Traced("RequestWrite", Library::Instance().Write(*selector, Bytes(data, length)));
}

DEX_API int RequestStatusWrite(const DeviceSelector* selector, DexNotifyCallback callback, uint32_t tag,
                               const uint8_t* data, uint32_t length, uint32_t checksum, DexHandle* handle)
{
    if (!ChecksumAgrees(selector, callback, tag, data, length, checksum)) {
        return Traced("RequestStatusWrite: checksum", 0);
    }
    if (!FitsOneReport(length)) {
        return Traced("RequestStatusWrite: length", 0);
    }
    return Traced("RequestStatusWrite", Library::Instance().StatusWrite(*selector, tag, Bytes(data, length), handle));
}

DEX_API int RequestStatusSetFeature(const DeviceSelector* selector, DexNotifyCallback callback, uint32_t tag,
                                    const uint8_t* data, uint32_t length, uint32_t checksum, DexHandle* handle)
{
    if (!ChecksumAgrees(selector, callback, tag, data, length, checksum)) {
        return Traced("RequestStatusSetFeature: checksum", 0);
    }
    if (!FitsOneReport(length)) {
        return Traced("RequestStatusSetFeature: length", 0);
    }
    return Traced("RequestStatusSetFeature",
                  Library::Instance().SetFeature(*selector, tag, Bytes(data, length), handle));
}

DEX_API int RequestStatusGet(const DeviceSelector* selector, DexNotifyCallback callback, uint32_t tag, uint8_t* data,
                             uint32_t length, uint32_t checksum, DexHandle* /*handle*/)
{
    if (!ChecksumAgrees(selector, callback, tag, nullptr, 0, checksum) || (length > 0 && !data)) {
        return Traced("RequestStatusGet: checksum", 0);
    }
    const std::span<uint8_t> out = length > 0 ? std::span<uint8_t>(data, length) : std::span<uint8_t>();
    return Traced("RequestStatusGet", Library::Instance().StatusGet(*selector, out));
}

DEX_API int DeleteRequestFromUnitId(DexHandle handle)
{
    return Traced("DeleteRequestFromUnitId", handle == 0 ? 0 : Library::Instance().Delete(handle));
}

DEX_API int DeleteRequestFromHandle(DexHandle* handle)
{
    if (!handle) {
        return Traced("DeleteRequestFromHandle", 0);
    }
    const int result = DeleteRequestFromUnitId(*handle);
    *handle = 0;
    return result;
}

DEX_API int Debug(int level)
{
    return g_debugLevel.exchange(level);
}

} // extern "C"
