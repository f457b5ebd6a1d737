#include "device/device_link.h"

#include <algorithm>
#include <cstring>

#include "device/device_selector.h"
#include "platform/clock.h"

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
    StartConnectionThread(IsDevicePresent());
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
    int failures = 0;
    for (;;) {
        if (!AcquireTransaction(reply)) {
            return kResultNoDevice;
        }
        if (WriteFrame(frame) <= 0) {
            ReleaseTransaction();
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
        m_pending.idle.notify_all();

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

bool DeviceLink::AcquireTransaction(std::span<uint8_t> reply)
{
    std::unique_lock lock(m_pending.mutex);
    if (m_pending.busy) {
        // Another thread's transaction is in flight: back off past its reply timeout, then take
        // turns with it rather than taking over its reply.
        m_pending.idle.wait_for(lock, platform::ScaledDuration(kBusyBackOffMs), [this] { return m_stopping.load(); });
        m_pending.idle.wait(lock, [this] { return !m_pending.busy || m_stopping; });
    }
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

void DeviceLink::ReleaseTransaction()
{
    {
        std::lock_guard lock(m_pending.mutex);
        EndPendingLocked();
    }
    m_pending.idle.notify_all();
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
            HandleKeyboardEvent(static_cast<uint16_t>(value[0] | (value[1] << 8)));
        }
        return;
    }
    if (notification.kind == DEX_NOTIFY_DATA && record.tag == DEX_TAG_CTRL) {
        AcceptReply(record);
        return;
    }
    if (notification.kind == DEX_NOTIFY_DEVICE_COUNT && record.tag == DEX_TAG_CTRL) {
        StartConnectionThread(static_cast<int>(record.value));
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
        m_host.StartLightingRefresh();
        break;
    case kEventTrayBusy:
        ChangeTrayIconInTurn(kTrayModeBusy);
        break;
    case kEventTrayRestore:
        ChangeTrayIconInTurn(kTrayModeIcon);
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
    m_host.OnGKeyBankChanged(DEX_TAG_LED, bank);
}

int DeviceLink::ActiveBank() const
{
    std::lock_guard lock(m_bankMutex);
    return m_bankStatus[1] & kBankBit;
}

void DeviceLink::ChangeTrayIconInTurn(int mode)
{
    m_workers.Start([this, mode] {
        bool expected = false;
        while (!m_iconChangeInProgress.compare_exchange_weak(expected, true)) {
            expected = false;
            platform::SleepMs(kIconFlagPollMs);
        }
        m_host.ShowTrayState(mode, 0);
        platform::SleepMs(kIconFlagPollMs);
        m_iconChangeInProgress = false;
    });
}

void DeviceLink::StartConnectionThread(int deviceCount)
{
    m_workers.Start([this, deviceCount] { m_host.OnConnectionChanged(deviceCount); });
}

} // namespace tavrix::device
