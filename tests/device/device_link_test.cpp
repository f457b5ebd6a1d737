#include <array>
#include <thread>

#include <gtest/gtest.h>

#include "device/device_link.h"
#include "platform/clock.h"
#include "sim_link_fixture.h"

namespace tavrix::device {
namespace {

using testing::SimLinkTest;
using Fault = dexlink::SimBackend::ReplyFault;

constexpr uint8_t kTestCommand = 0x0D;

struct Exchange {
    int result = 0;
    uint32_t received = 0;
    std::array<uint8_t, kReportSize> reply{};
};

class DeviceLinkTest : public SimLinkTest {
protected:
    Exchange Send(std::span<const uint8_t> request)
    {
        Exchange exchange;
        exchange.result = Link().SendCommand(request, exchange.reply, exchange.received);
        return exchange;
    }

    Exchange SendTestCommand()
    {
        const std::array<uint8_t, 4> request{kReportId, 0, 0, kTestCommand};
        return Send(request);
    }

    void WaitForQuiet() { std::this_thread::sleep_for(platform::ScaledDuration(kReplyTimeoutMs)); }
};

TEST_F(DeviceLinkTest, ShortRequestGoesOutZeroPaddedTo64Bytes)
{
    const std::array<uint8_t, 3> request{kReportId, 0x12, 0x34};
    Exchange exchange = Send(request);
    // The simulated keyboard answers command 0 too; what matters is the frame it got.
    ASSERT_EQ(Sim().CommandRequests().size(), 1u);
    const auto sent = Sim().CommandRequests().front();
    EXPECT_EQ(sent[0], kReportId);
    EXPECT_EQ(sent[1], 0x12);
    EXPECT_EQ(sent[2], 0x34);
    for (std::size_t i = 3; i < kReportSize; ++i) {
        EXPECT_EQ(sent[i], 0) << "byte " << i;
    }
    EXPECT_EQ(exchange.result, kResultOk);
}

TEST_F(DeviceLinkTest, LongRequestIsCutTo64Bytes)
{
    std::array<uint8_t, 80> request{};
    request.fill(0x5A);
    request[kCommandOffset] = kTestCommand;
    EXPECT_EQ(Send(request).result, kResultOk);
    const auto sent = Sim().CommandRequests().front();
    EXPECT_EQ(sent.size(), kReportSize);
    EXPECT_EQ(sent[kReportSize - 1], 0x5A);
}

struct FaultCase {
    const char* name;
    Fault fault;
    int count;
    int result;
    uint8_t status;
    std::size_t requestsSent;
};

class DeviceLinkFaultTest : public DeviceLinkTest, public ::testing::WithParamInterface<FaultCase> {};

TEST_P(DeviceLinkFaultTest, RetriesAndResult)
{
    const FaultCase& c = GetParam();
    Sim().QueueReplyFault(c.fault, c.count);
    const Exchange exchange = SendTestCommand();
    EXPECT_EQ(exchange.result, c.result);
    EXPECT_EQ(Sim().CommandRequests().size(), c.requestsSent);
    if (c.result == kResultOk) {
        EXPECT_EQ(exchange.reply[kCommandOffset], kTestCommand);
        EXPECT_EQ(exchange.reply[kStatusOffset], c.status);
        EXPECT_EQ(exchange.received, kReportSize);
    } else {
        EXPECT_EQ(exchange.received, 0u);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Faults, DeviceLinkFaultTest,
    ::testing::Values(FaultCase{"OtherCommandThreeTimes", {Fault::Kind::OtherCommand}, 3, kResultNoReply, 0, 3},
                      FaultCase{"OtherCommandTwice", {Fault::Kind::OtherCommand}, 2, kResultOk, 0, 3},
                      FaultCase{"DroppedThreeTimes", {Fault::Kind::Drop}, 3, kResultNoReply, 0, 3},
                      FaultCase{"DroppedOnce", {Fault::Kind::Drop}, 1, kResultOk, 0, 2},
                      FaultCase{"BusyStatusThreeTimes", {Fault::Kind::Status, 0xFE}, 3, kResultOk, 0xFE, 3},
                      FaultCase{"RefusedThreeTimes", {Fault::Kind::Status, 0xFF}, 3, kResultOk, 0xFF, 3},
                      FaultCase{"RefusedTwice", {Fault::Kind::Status, 0xFF}, 2, kResultOk, 0, 3},
                      FaultCase{"TooShortForAStatus", {Fault::Kind::Length, 5}, 3, kResultNoReply, 0, 3}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(DeviceLinkTest, OverlongReplyIsCutToTheCapacity)
{
    Sim().QueueReplyFault({Fault::Kind::Length, 80});
    const Exchange exchange = SendTestCommand();
    EXPECT_EQ(exchange.result, kResultOk);
    EXPECT_EQ(exchange.received, kReportSize);
}

TEST_F(DeviceLinkTest, ReplyWithNobodyWaitingIsDropped)
{
    std::array<uint8_t, kReportSize> stray{};
    stray[kCommandOffset] = kTestCommand;
    stray[kStatusOffset] = 0xFF;
    Sim().SendCommandReport(stray);
    WaitForQuiet();

    const Exchange exchange = SendTestCommand();
    EXPECT_EQ(exchange.result, kResultOk);
    EXPECT_EQ(exchange.reply[kStatusOffset], 0) << "the stray refusal must not answer the next transaction";
}

TEST_F(DeviceLinkTest, LateReplySatisfiesTheRetry)
{
    // Half a timeout into the second attempt, the first attempt's reply arrives.
    const auto late = platform::ScaledDuration(kReplyTimeoutMs + kRetryPauseMs + kReplyTimeoutMs / 2);
    Sim().QueueReplyFault({Fault::Kind::Delay, static_cast<int>(late.count())});
    Sim().QueueReplyFault({Fault::Kind::Drop});
    const Exchange exchange = SendTestCommand();
    EXPECT_EQ(exchange.result, kResultOk);
    EXPECT_EQ(Sim().CommandRequests().size(), 2u);
}

TEST_F(DeviceLinkTest, NoKeyboardSendsNothing)
{
    Sim().Unplug();
    const Exchange exchange = SendTestCommand();
    EXPECT_EQ(exchange.result, kResultNoDevice);
    EXPECT_TRUE(Sim().CommandRequests().empty());
}

TEST_F(DeviceLinkTest, RefusedWriteGivesMinusOne)
{
    DeviceService service = testing::LinkedDeviceService();
    service.RequestWriteOne = [](const DeviceSelector*, DexNotifyCallback, uint32_t, const uint8_t*, uint32_t, uint32_t,
                                 DexHandle*) { return 0; };
    testing::RecordingHost host;
    DeviceLink link(service, host);
    std::array<uint8_t, kReportSize> reply{};
    uint32_t received = 0;
    const std::array<uint8_t, 4> request{kReportId, 0, 0, kTestCommand};
    EXPECT_EQ(link.SendCommand(request, reply, received), kResultWriteRefused);
}

TEST_F(DeviceLinkTest, ConcurrentTransactionsBothComplete)
{
    Exchange first;
    Exchange second;
    const std::array<uint8_t, 4> firstRequest{kReportId, 0, 0, 0x03};
    const std::array<uint8_t, 4> secondRequest{kReportId, 0, 0, 0x05};
    // Slow replies keep the first transaction in flight while the second one starts.
    Sim().QueueReplyFault(
        {Fault::Kind::Delay, static_cast<int>(platform::ScaledDuration(kReplyTimeoutMs / 2).count())});
    std::thread other([&] { first = Send(firstRequest); });
    std::this_thread::sleep_for(platform::ScaledDuration(kReplyTimeoutMs / 10));
    second = Send(secondRequest);
    other.join();

    EXPECT_EQ(first.result, kResultOk);
    EXPECT_EQ(second.result, kResultOk);
    EXPECT_EQ(first.reply[kCommandOffset], 0x03);
    EXPECT_EQ(second.reply[kCommandOffset], 0x05);
}

TEST_F(DeviceLinkTest, StopEndsTheTransactionsInFlightAndWaitingWithoutRetries)
{
    // The keyboard never answers: without the stop the first would try three times and the
    // second would follow it.
    Sim().QueueReplyFault({Fault::Kind::Drop}, 6);
    Exchange inFlight;
    Exchange waiting;
    std::thread first([&] { inFlight = SendTestCommand(); });
    while (Sim().CommandRequests().empty()) {
        std::this_thread::yield();
    }
    std::thread second([&] { waiting = SendTestCommand(); });
    std::this_thread::sleep_for(platform::ScaledDuration(kReplyTimeoutMs / 10));
    Link().Stop();
    first.join();
    second.join();

    EXPECT_EQ(inFlight.result, kResultNoDevice);
    EXPECT_EQ(waiting.result, kResultNoDevice);
    EXPECT_EQ(Sim().CommandRequests().size(), 1U) << "no retry, and the waiting one never sent";
    EXPECT_EQ(SendTestCommand().result, kResultNoDevice) << "later transactions end before they send";
    EXPECT_EQ(Sim().CommandRequests().size(), 1U);
}

TEST_F(DeviceLinkTest, SendRawWaitsForNothing)
{
    std::array<uint8_t, kReportSize> frame{};
    frame[kReportIdOffset] = kReportId;
    frame[kCommandOffset] = kTestCommand;
    EXPECT_EQ(Link().SendRaw(frame), 1);
    ASSERT_EQ(Sim().CommandRequests().size(), 1u);
    EXPECT_EQ(Sim().CommandRequests().front(), frame);
}

TEST_F(DeviceLinkTest, BankToggleFlipsTheBankAndWritesTheStatus)
{
    Sim().SendConsumerEvent(kEventBankToggle);
    ASSERT_TRUE(Host().WaitFor("bank", 1));
    EXPECT_EQ(Link().ActiveBank(), 1);
    Sim().SendConsumerEvent(kEventBankToggle);
    ASSERT_TRUE(Host().WaitFor("bank", 2));
    EXPECT_EQ(Link().ActiveBank(), 0);

    const auto writes = Sim().StatusWrites();
    ASSERT_EQ(writes.size(), 2u);
    EXPECT_EQ(writes[0][0], kBankStatusReportId);
    EXPECT_EQ(writes[0][1], 0x03);
    EXPECT_EQ(writes[1][1], 0x02);
    const auto banks = Host().CallsOf("bank");
    EXPECT_EQ(banks[0].value, 1);
    EXPECT_EQ(banks[1].value, 0);
}

TEST_F(DeviceLinkTest, KeyboardEventsReachTheWindow)
{
    Sim().SendConsumerEvent(0x1801); // not ours: ignored
    Sim().SendConsumerEvent(kEventLightingChanged);
    Sim().SendConsumerEvent(kEventKeyboardBusy);
    Sim().SendConsumerEvent(kEventKeyboardIdle);
    ASSERT_TRUE(Host().WaitFor("lighting", 1));
    ASSERT_TRUE(Host().WaitFor("busy", 2));

    std::vector<int> busy;
    for (const auto& call : Host().CallsOf("busy")) {
        busy.push_back(call.value);
    }
    std::sort(busy.begin(), busy.end());
    EXPECT_EQ(busy, (std::vector<int>{0, 1}));
    EXPECT_TRUE(Host().CallsOf("bank").empty());
}

TEST_F(DeviceLinkTest, DeviceCountChangesRunTheConnectionRoutine)
{
    Sim().Unplug();
    ASSERT_TRUE(Host().WaitFor("connection", 2));
    Sim().Replug();
    ASSERT_TRUE(Host().WaitFor("connection", 3));

    const auto calls = Host().CallsOf("connection");
    EXPECT_EQ(calls[0].value, 1); // at start
    EXPECT_EQ(calls[1].value, 0);
    EXPECT_EQ(calls[2].value, 1);
}

// Replies handed over straight from the write, as a transport may: an empty read can come
// without a buffer at all.
int OneKeyboard(const DeviceSelector*, DexNotifyCallback, uint32_t, uint32_t, DexHandle*)
{
    return 1;
}

int Registered(const DeviceSelector*, DexNotifyCallback, uint32_t, uint32_t, DexHandle*)
{
    return 1;
}

int Deleted(DexHandle)
{
    return 0;
}

int AnswerWithNoBytes(const DeviceSelector*, DexNotifyCallback, uint32_t, const uint8_t*, uint32_t, uint32_t,
                      DexHandle*)
{
    const DexRequestRecord record{DEX_TAG_CTRL, 0, nullptr, nullptr};
    const DexNotification notification{DEX_NOTIFY_DATA, 0, &record};
    DeviceLink::OnDeviceNotify(&notification);
    return 1;
}

TEST(DeviceLinkEmptyReplyTest, ReplyWithoutBytesAnswersNothing)
{
    DeviceService service;
    service.RequestGetDeviceCount = &OneKeyboard;
    service.RequestAsyncRead = &Registered;
    service.DeleteRequestFromUnitId = &Deleted;
    service.RequestWriteOne = &AnswerWithNoBytes;
    testing::RecordingHost host;
    platform::SetTimeScale(0.01);
    {
        DeviceLink link(service, host);
        link.Start();
        const std::array<uint8_t, 4> request{kReportId, 0, 0, kTestCommand};
        std::array<uint8_t, kReportSize> reply{};
        uint32_t received = 1;
        EXPECT_EQ(link.SendCommand(request, reply, received), kResultNoReply);
        EXPECT_EQ(received, 0u);
    }
    platform::SetTimeScale(1.0);
}

} // namespace
} // namespace tavrix::device
