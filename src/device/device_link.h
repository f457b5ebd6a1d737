#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <span>
#include <thread>
#include <vector>

#include "device/device_host.h"
#include "device/device_service.h"
#include "device/report_frame.h"
#include "platform/auto_reset_event.h"
#include "platform/worker_threads.h"

namespace tavrix::device {

// Where the notification callback puts the reply of the transaction that waits for it.
struct PendingReply {
    std::mutex mutex;   // guards every field below
    bool owned = false; // a transaction has the command channel, from its first attempt to its result
    bool busy = false;  // an attempt waits for its reply
    uint8_t* buffer = nullptr;
    uint32_t capacity = 0;
    uint32_t receivedLength = 0;
    platform::AutoResetEvent replyEvent; // signalled when a reply was copied
    std::condition_variable idle;        // owned went false
};

// The program's side of the command channel: the send-and-wait transaction, the fire-and-forget
// send, the device-presence test and the notification callback with its keyboard events.
//
// One instance is active per process: the library calls the static OnDeviceNotify, which hands
// the notification to it. End the library before destroying the active link.
class DeviceLink {
public:
    DeviceLink(DeviceService service, DeviceHost& host);
    DeviceLink(const DeviceLink&) = delete;
    DeviceLink& operator=(const DeviceLink&) = delete;
    ~DeviceLink();

    // The start-up order after the library is bound: bank status, the consumer registration,
    // the reply state, the command registration, then the connection-state thread with the
    // current device count.
    void Start();

    // Tells every thread of the link that the program ends: a transaction waiting for its reply
    // or for its turn ends at once with 0 (no keyboard), and later ones end before they send.
    // Call it before ending the library, whose end leaves waiting transactions without replies.
    void Stop();

    [[nodiscard]] int IsDevicePresent();
    // Sends request (zero-padded or cut to 64 bytes) and waits for the reply with the same
    // command code: 1, 0 (no keyboard), -1 (write refused) or -2 (no matching reply). A reply
    // that comes after its wait ended never answers a later request: after such a wait the next
    // transaction first sends a test command and lets every reply before its answer go by.
    [[nodiscard]] int SendCommand(std::span<const uint8_t> request, std::span<uint8_t> reply, uint32_t& receivedLength);
    // Sends request as it is (the caller filled the frame) and waits for nothing.
    [[nodiscard]] int SendRaw(std::span<const uint8_t> request);

    // The callback registered with the library; always returns 1.
    static int OnDeviceNotify(const DexNotification* notification);

    // Bit 0 of byte 1 of the bank status record: 0 = bank A, 1 = bank B.
    int ActiveBank() const;

private:
    void HandleNotify(const DexNotification& notification);
    void AcceptReply(const DexRequestRecord& record);
    void HandleKeyboardEvent(uint16_t value);
    void ToggleBank();
    void ReportBusyInTurn(bool busy);
    void RegisterAsyncRead(const DeviceSelector& selector, uint32_t tag, DexHandle& handle);
    // Connection changes run one after another, in the order they were reported, on the
    // connection thread: a quick unplug and replug must not overtake each other.
    void QueueConnectionChange(int deviceCount);
    void RunConnectionChanges();

    // Takes the command channel for one transaction, after another thread's transaction ended;
    // false when the link stopped meanwhile.
    [[nodiscard]] bool BeginTransaction();
    void EndTransaction();
    // Up to three attempts of the frame, as SendCommand; marks the channel unsettled whenever an
    // attempt ends without its own reply.
    int Attempts(const ReportFrame& frame, std::span<uint8_t> reply, uint32_t& receivedLength);
    // Makes sure no reply to an earlier request is still on its way: 1, or the failed test
    // command's result.
    int Settle();
    // Readies the reply buffer for one attempt; false when the link stopped meanwhile.
    [[nodiscard]] bool ArmReply(std::span<uint8_t> reply);
    // Ends the attempt in flight; m_pending.mutex is held.
    void EndPendingLocked();
    // Writes the frame to the command channel: RequestWriteOne's result.
    int WriteFrame(const ReportFrame& frame);

    DeviceService m_service;
    DeviceHost& m_host;
    PendingReply m_pending;
    // A reply to an earlier request may still come; only the transaction that owns the channel
    // reads or changes this.
    bool m_unsettled = false;
    mutable std::mutex m_bankMutex;
    uint8_t m_bankStatus[2] = {kBankStatusReportId, kBankStatusInitialFlags};
    DexHandle m_statusHandle = 0;
    DexHandle m_consumerHandle = 0;
    DexHandle m_commandHandle = 0;
    std::atomic<bool> m_busyReportInProgress{false};
    std::atomic<bool> m_stopping{false};
    std::mutex m_connectionMutex; // guards the queue and the stop flag
    std::vector<int> m_connectionCounts;
    bool m_connectionStopping = false;
    std::condition_variable m_connectionQueued;
    std::thread m_connectionThread;
    platform::WorkerThreads m_workers;
};

} // namespace tavrix::device
