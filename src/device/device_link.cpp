#include "device/device_link.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <vector>

#include "device/commands.h"
#include "device/device_selector.h"
#include "platform/clock.h"
#include "platform/little_endian.h"

namespace tavrix::device {

namespace {

std::atomic<DeviceLink*> g_activeLink{nullptr};

bool IsRefusal(uint8_t status)
{
    return status == kStatusRefused || status == kStatusRefusedBusy;
}

} // namespace

DeviceLink::DeviceLink(DeviceService service, DeviceHost& host) : m_service(service), m_host(host)
{
}

DeviceLink::~DeviceLink()
{
    DeviceLink* self = this;
    g_activeLink.compare_exchange_strong(self, nullptr);
    {
        std::lock_guard lock(m_connectionMutex);
        m_connectionStopping = true;
    }
    m_connectionQueued.notify_all();
    if (m_connectionThread.joinable()) {
        m_connectionThread.join();
    }
    m_workers.JoinAll();
}

void DeviceLink::Start()
{
    g_activeLink = this;
    {
        std::lock_guard lock(m_bankMutex);
        m_bankStatus[0] = kBankStatusReportId;
        m_bankStatus[1] = kBankStatusInitialFlags;
        m_statusHandle = 0;
    }
    RegisterAsyncRead(ConsumerSelector(), DEX_TAG_CONS, m_consumerHandle);
    {
        std::lock_guard lock(m_pending.mutex);
        m_pending.busy = false;
        m_pending.replyEvent.Reset();
    }
    RegisterAsyncRead(CommandSelector(), DEX_TAG_CTRL, m_commandHandle);
    if (!m_connectionThread.joinable()) {
        m_connectionThread = std::thread([this] { RunConnectionChanges(); });
    }
    QueueConnectionChange(IsDevicePresent());
}

void DeviceLink::RegisterAsyncRead(const DeviceSelector& selector, uint32_t tag, DexHandle& handle)
{
    const uint32_t checksum = DexCallChecksum(&selector, &DeviceLink::OnDeviceNotify, tag, nullptr, 0);
    m_service.DeleteRequestFromUnitId(handle);
    m_service.RequestAsyncRead(&selector, &DeviceLink::OnDeviceNotify, tag, checksum, &handle);
}

int DeviceLink::IsDevicePresent()
{
    const DeviceSelector selector = CommandSelector();
    const uint32_t checksum = DexCallChecksum(&selector, nullptr, 0, nullptr, 0);
    return m_service.RequestGetDeviceCount(&selector, nullptr, 0, checksum, nullptr);
}

int DeviceLink::SendCommand(std::span<const uint8_t> request, std::span<uint8_t> reply, uint32_t& receivedLength)
{
    receivedLength = 0;
    if (IsDevicePresent() == 0) {
        return kResultNoDevice;
    }
    const ReportFrame frame = ReportFrame::FromBytes(request);
    if (!BeginTransaction()) {
        return kResultNoDevice;
    }
    int result = m_unsettled ? Settle() : kResultOk;
    if (result == kResultOk) {
        result = Attempts(frame, reply, receivedLength);
    }
    EndTransaction();
    return result;
}

int DeviceLink::Settle()
{
    // The keyboard answers in order: once the test command's reply is here, every reply to an
    // earlier request has come or never will. Its own late replies answer no other command.
    ReportFrame test = ReportFrame::ForCommand(kCmdTestCommand);
    test.FillSum();
    std::array<uint8_t, kReportSize> reply{};
    uint32_t received = 0;
    const int result = Attempts(test, reply, received);
    m_unsettled = result != kResultOk;
    return result;
}

int DeviceLink::Attempts(const ReportFrame& frame, std::span<uint8_t> reply, uint32_t& receivedLength)
{
    int failures = 0;
    for (;;) {
        if (!ArmReply(reply)) {
            return kResultNoDevice;
        }
        if (WriteFrame(frame) <= 0) {
            std::lock_guard lock(m_pending.mutex);
            EndPendingLocked();
            return kResultWriteRefused;
        }
        const bool signalled =
            m_pending.replyEvent.Wait(kReplyTimeoutMs) == platform::AutoResetEvent::WaitResult::Signalled;
        uint32_t received = 0;
        bool matched = false;
        {
            // Judge the reply and end the attempt in one step, so no later reply can change the
            // caller's buffer in between.
            std::lock_guard lock(m_pending.mutex);
            received = m_pending.receivedLength;
            matched = signalled && received > kStatusOffset && reply[kCommandOffset] == frame.Command();
            EndPendingLocked();
        }
        // Without its own reply, this attempt's reply may still be on its way.
        m_unsettled = m_unsettled || !matched;

        if (m_stopping) {
            return kResultNoDevice;
        }
        if (matched && !IsRefusal(reply[kStatusOffset])) {
            receivedLength = received;
            return kResultOk;
        }
        if (++failures >= kAttempts) {
            // A refusal that persists is the caller's to report; a missing reply is ours.
            receivedLength = matched ? received : 0;
            return matched ? kResultOk : kResultNoReply;
        }
        platform::SleepMs(kRetryPauseMs);
    }
}

bool DeviceLink::BeginTransaction()
{
    std::unique_lock lock(m_pending.mutex);
    if (m_pending.owned) {
        // Another thread's transaction is in flight: back off past its reply timeout, then take
        // turns with it rather than taking over its reply.
        m_pending.idle.wait_for(lock, platform::ScaledDuration(kBusyBackOffMs), [this] { return m_stopping.load(); });
        m_pending.idle.wait(lock, [this] { return !m_pending.owned || m_stopping; });
    }
    if (m_stopping) {
        return false;
    }
    m_pending.owned = true;
    return true;
}

void DeviceLink::EndTransaction()
{
    {
        std::lock_guard lock(m_pending.mutex);
        m_pending.owned = false;
    }
    m_pending.idle.notify_all();
}

bool DeviceLink::ArmReply(std::span<uint8_t> reply)
{
    std::lock_guard lock(m_pending.mutex);
    if (m_stopping) {
        return false;
    }
    m_pending.buffer = reply.data();
    m_pending.capacity = static_cast<uint32_t>(reply.size());
    m_pending.receivedLength = 0;
    m_pending.replyEvent.Reset();
    m_pending.busy = true;
    return true;
}

void DeviceLink::Stop()
{
    {
        std::lock_guard lock(m_pending.mutex);
        m_stopping = true;
        if (m_pending.busy) {
            m_pending.replyEvent.Set();
        }
    }
    m_pending.idle.notify_all();
}

void DeviceLink::EndPendingLocked()
{
    m_pending.busy = false;
    m_pending.buffer = nullptr;
    m_pending.capacity = 0;
}

int DeviceLink::WriteFrame(const ReportFrame& frame)
{
    const DeviceSelector selector = CommandSelector();
    const uint32_t checksum = DexCallChecksum(&selector, nullptr, 0, frame.Bytes().data(), kReportSize);
    return m_service.RequestWriteOne(&selector, nullptr, 0, frame.Bytes().data(), kReportSize, checksum, nullptr);
}

int DeviceLink::SendRaw(std::span<const uint8_t> request)
{
    return WriteFrame(ReportFrame::FromBytes(request));
}

int DeviceLink::OnDeviceNotify(const DexNotification* notification)
{
    DeviceLink* link = g_activeLink.load();
    if (link && notification && notification->request) {
        link->HandleNotify(*notification);
    }
    return 1;
}

void DeviceLink::HandleNotify(const DexNotification& notification)
{
    const DexRequestRecord& record = *notification.request;
    if (notification.kind == DEX_NOTIFY_DATA && record.tag == DEX_TAG_CONS) {
        const DexConsumerBlock* consumer = record.consumer;
        const uint8_t* value = consumer ? consumer->eventValue : nullptr;
        if (value) {
            HandleKeyboardEvent(platform::Get16(std::span<const uint8_t>(value, 2), 0));
        }
        return;
    }
    if (notification.kind == DEX_NOTIFY_DATA && record.tag == DEX_TAG_CTRL) {
        AcceptReply(record);
        return;
    }
    if (notification.kind == DEX_NOTIFY_DEVICE_COUNT && record.tag == DEX_TAG_CTRL) {
        QueueConnectionChange(static_cast<int>(record.value));
    }
}

void DeviceLink::AcceptReply(const DexRequestRecord& record)
{
    std::lock_guard lock(m_pending.mutex);
    if (!m_pending.busy || !m_pending.buffer || (record.value > 0 && !record.data)) {
        return; // nobody waits: dropped
    }
    const uint32_t length = std::min(record.value, m_pending.capacity);
    if (length > 0) {
        std::memcpy(m_pending.buffer, record.data, length); // an empty reply may have no buffer
    }
    m_pending.receivedLength = length;
    m_pending.replyEvent.Set();
}

void DeviceLink::HandleKeyboardEvent(uint16_t value)
{
    switch (value) {
    case kEventBankToggle:
        ToggleBank();
        break;
    case kEventLightingChanged:
        m_host.OnKeyboardLightingChanged();
        break;
    case kEventKeyboardBusy:
        ReportBusyInTurn(true);
        break;
    case kEventKeyboardIdle:
        ReportBusyInTurn(false);
        break;
    default:
        break;
    }
}

void DeviceLink::ToggleBank()
{
    int bank = 0;
    {
        std::lock_guard lock(m_bankMutex);
        m_bankStatus[1] ^= kBankBit;
        bank = m_bankStatus[1] & kBankBit;
        const DeviceSelector selector = StatusSelector();
        const uint32_t checksum =
            DexCallChecksum(&selector, &DeviceLink::OnDeviceNotify, DEX_TAG_LED, m_bankStatus, sizeof m_bankStatus);
        m_service.DeleteRequestFromUnitId(m_statusHandle);
        m_service.RequestStatusWrite(&selector, &DeviceLink::OnDeviceNotify, DEX_TAG_LED, m_bankStatus,
                                     sizeof m_bankStatus, checksum, &m_statusHandle);
    }
    m_host.OnBankChanged(bank);
}

int DeviceLink::ActiveBank() const
{
    std::lock_guard lock(m_bankMutex);
    return m_bankStatus[1] & kBankBit;
}

void DeviceLink::ReportBusyInTurn(bool busy)
{
    m_workers.Start([this, busy] {
        bool expected = false;
        while (!m_busyReportInProgress.compare_exchange_weak(expected, true)) {
            expected = false;
            platform::SleepMs(kBusyReportPollMs);
        }
        m_host.OnKeyboardBusy(busy);
        platform::SleepMs(kBusyReportPollMs);
        m_busyReportInProgress = false;
    });
}

void DeviceLink::QueueConnectionChange(int deviceCount)
{
    {
        std::lock_guard lock(m_connectionMutex);
        m_connectionCounts.push_back(deviceCount);
    }
    m_connectionQueued.notify_one();
}

void DeviceLink::RunConnectionChanges()
{
    // Taken in batches, in order; the two buffers keep their room, so a change costs no allocation.
    std::vector<int> batch;
    for (;;) {
        batch.clear();
        {
            std::unique_lock lock(m_connectionMutex);
            m_connectionQueued.wait(lock, [this] { return m_connectionStopping || !m_connectionCounts.empty(); });
            if (m_connectionStopping) {
                return;
            }
            batch.swap(m_connectionCounts);
        }
        for (const int deviceCount : batch) {
            m_host.OnConnectionChanged(deviceCount);
        }
    }
}

} // namespace tavrix::device
