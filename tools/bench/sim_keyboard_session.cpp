#include "sim_keyboard_session.h"

#include <atomic>
#include <cstdlib>
#include <string>

#include "dexlink.h"
#include "linked_device_service.h"

namespace tavrix::bench {

namespace {

std::atomic<uint64_t> g_writes{0};

int CountingWriteOne(const DeviceSelector* selector, DexNotifyCallback callback, uint32_t tag, const uint8_t* data,
                     uint32_t length, uint32_t checksum, DexHandle* handle)
{
    ++g_writes;
    return ::RequestWriteOne(selector, callback, tag, data, length, checksum, handle);
}

device::DeviceService CountingDeviceService()
{
    device::DeviceService service = testing::LinkedDeviceService();
    service.RequestWriteOne = &CountingWriteOne;
    return service;
}

} // namespace

SimKeyboardSession::SimKeyboardSession(uint32_t latencyUs)
{
    ::setenv("DEXLINK_BACKEND", "sim", 1);
    ::setenv("DEXLINK_SIM_STATE", "", 1);
    ::setenv("DEXLINK_SIM_LATENCY_US", std::to_string(latencyUs).c_str(), 1);
    m_started = ::Init(0) > 0;
    m_link = std::make_unique<device::DeviceLink>(CountingDeviceService(), m_host);
    m_commands = std::make_unique<device::CommandSet>(*m_link);
    if (m_started) {
        m_link->Start();
    }
    g_writes = 0;
}

SimKeyboardSession::~SimKeyboardSession()
{
    ::End();
    m_commands.reset();
    m_link.reset();
}

uint64_t SimKeyboardSession::Transactions()
{
    return g_writes;
}

} // namespace tavrix::bench
