#include "scripted_link.h"

#include <array>

#include "device/command_set.h"
#include "device/device_link.h"
#include "platform/clock.h"
#include "quiet_device_host.h"

namespace tavrix::fuzz {

namespace {

// Every wait and pause shrinks to nothing: a reply is handed over before its wait begins, and
// one that never comes should not cost the fuzzer the program's full second.
constexpr double kTimeScale = 1e-9;

Script* g_script = nullptr;
// Kept from answer to answer: its reply keeps its room, so an answer costs no allocation.
Answer g_answer;
// The device count as the script last gave it, from the one DeviceCount reports at its start. The
// library reports the count when a keyboard comes or goes: a count equal to the last is no change
// and is not sent, which also spares the link's connection thread a wake-up that would cost more
// than the whole answer.
constexpr uint8_t kScriptStartCount = 1;
uint8_t g_deviceCount = kScriptStartCount;

void Notify(uint32_t kind, const DexRequestRecord& record)
{
    const DexNotification notification{kind, 0, &record};
    device::DeviceLink::OnDeviceNotify(&notification);
}

void SendEvent(uint16_t value)
{
    const uint8_t bytes[2] = {static_cast<uint8_t>(value & 0xFF), static_cast<uint8_t>(value >> 8)};
    DexConsumerBlock consumer{};
    consumer.eventValue = bytes;
    Notify(DEX_NOTIFY_DATA, DexRequestRecord{DEX_TAG_CONS, sizeof bytes, bytes, &consumer});
}

// The two tray events each start a thread that the link joins only when it starts its next one:
// libFuzzer would take what such a thread holds for a leak and search the heap after every
// script. Their handling is tested with the device link.
bool IsTrayEvent(uint16_t value)
{
    return value == device::kEventKeyboardBusy || value == device::kEventKeyboardIdle;
}

int DeviceCount(const DeviceSelector*, DexNotifyCallback, uint32_t, uint32_t, DexHandle*)
{
    return 1;
}

int Registered(const DeviceSelector*, DexNotifyCallback, uint32_t, uint32_t, DexHandle* handle)
{
    *handle = 1;
    return 1;
}

int StatusWritten(const DeviceSelector*, DexNotifyCallback, uint32_t, const uint8_t*, uint32_t, uint32_t, DexHandle*)
{
    return 1;
}

int Deleted(DexHandle)
{
    return 0;
}

// Answers the request as a keyboard that accepts it would, without using the script.
void AnswerAccepted(const uint8_t* request, uint32_t length)
{
    std::array<uint8_t, device::kReportSize> reply{};
    reply[device::kReportIdOffset] = device::kReportId;
    reply[device::kCommandOffset] = length > device::kCommandOffset ? request[device::kCommandOffset] : 0;
    Notify(DEX_NOTIFY_DATA, DexRequestRecord{DEX_TAG_CTRL, static_cast<uint32_t>(reply.size()), reply.data(), nullptr});
}

int AnswerFromScript(const DeviceSelector*, DexNotifyCallback, uint32_t, const uint8_t* request, uint32_t length,
                     uint32_t, DexHandle*)
{
    if (!g_script) {
        AnswerAccepted(request, length);
        return 1;
    }
    if (!g_script->AnswerTo(std::span(request, length), g_answer)) {
        return -1;
    }
    Answer& answer = g_answer;
    if (answer.mode & kEventFirst && !IsTrayEvent(answer.event)) {
        SendEvent(answer.event);
    }
    if (answer.mode & kCountChangeFirst && answer.deviceCount != g_deviceCount) {
        g_deviceCount = answer.deviceCount;
        Notify(DEX_NOTIFY_DEVICE_COUNT, DexRequestRecord{DEX_TAG_CTRL, answer.deviceCount, nullptr, nullptr});
    }
    if (answer.mode & kNoReply) {
        return 1;
    }
    std::vector<uint8_t>& reply = answer.reply;
    if (!(answer.mode & kEchoAsGiven) && reply.size() > device::kCommandOffset && length > device::kCommandOffset) {
        reply[device::kCommandOffset] = request[device::kCommandOffset];
    }
    const uint8_t* bytes = (answer.mode & kNoData) ? nullptr : reply.data();
    Notify(DEX_NOTIFY_DATA, DexRequestRecord{DEX_TAG_CTRL, static_cast<uint32_t>(reply.size()), bytes, nullptr});
    return 1;
}

device::DeviceService ScriptedService()
{
    device::DeviceService service;
    service.RequestGetDeviceCount = &DeviceCount;
    service.RequestAsyncRead = &Registered;
    service.RequestWriteOne = &AnswerFromScript;
    service.RequestStatusWrite = &StatusWritten;
    service.DeleteRequestFromUnitId = &Deleted;
    return service;
}

// A profile from -1 to 3, so both sides of the range check are reached.
int ProfileArgument(Script& script)
{
    return script.Argument() % 5 - 1;
}

int SmallArgument(Script& script)
{
    return static_cast<int>(script.Argument()) - 1;
}

int AddressArgument(Script& script)
{
    const int low = script.Argument();
    return (low | (script.Argument() << 8)) - 1;
}

void RunEveryCommand(device::CommandSet& commands, Script& script)
{
    std::array<uint8_t, device::kInfoBlockSize> info{};
    std::array<uint8_t, device::kKeyTableSize> table{};
    std::array<uint8_t, device::kDataSize> chunk{};
    static_cast<void>(commands.BeginConfig());
    static_cast<void>(commands.ReadInfoBlock(info));
    static_cast<void>(commands.GetCurrentProfile());
    static_cast<void>(commands.ReadDefaultTable(table));
    static_cast<void>(commands.ReadKeyTable(table, ProfileArgument(script)));
    std::vector<uint8_t> area(static_cast<std::size_t>(script.Argument()) * 2);
    static_cast<void>(commands.ReadExtraArea(area));
    static_cast<void>(commands.WriteExtraArea(area));
    const int lightingLength = SmallArgument(script);
    static_cast<void>(commands.ReadLightingBytes(chunk, lightingLength, AddressArgument(script)));
    const int lampLength = SmallArgument(script);
    const int lampOffset = SmallArgument(script);
    static_cast<void>(commands.ReadLampArea(chunk, lampLength, lampOffset, ProfileArgument(script)));
    static_cast<void>(commands.WriteKeyTable(table, ProfileArgument(script)));
    static_cast<void>(commands.WriteInfoBlock(info));
    commands.SetCurrentProfile(ProfileArgument(script));
    static_cast<void>(commands.TestCommand());
    static_cast<void>(commands.EndConfig());
}

// One link for every script: starting one takes a thread, which would cost more than a script.
device::DeviceLink& Link()
{
    static testing::QuietDeviceHost host;
    static device::DeviceLink* link = [] {
        auto* started = new device::DeviceLink(ScriptedService(), host);
        started->Start();
        return started;
    }();
    return *link;
}

} // namespace

bool InputScript::AnswerTo(std::span<const uint8_t>, Answer& answer)
{
    if (Ended()) {
        return false;
    }
    answer.mode = Next();
    answer.event = 0;
    answer.deviceCount = 0;
    answer.reply.clear();
    if (answer.mode & kEventFirst) {
        const uint8_t low = Next();
        answer.event = static_cast<uint16_t>(low | (Next() << 8));
    }
    if (answer.mode & kCountChangeFirst) {
        answer.deviceCount = Next();
    }
    if (!(answer.mode & kNoReply)) {
        const std::size_t length = Next();
        const std::size_t available = std::min(length, m_bytes.size() - m_position);
        answer.reply.assign(m_bytes.begin() + static_cast<std::ptrdiff_t>(m_position),
                            m_bytes.begin() + static_cast<std::ptrdiff_t>(m_position + available));
        answer.reply.resize(length);
        m_position += available;
    }
    return true;
}

void RunScript(Script& script)
{
    platform::SetTimeScale(kTimeScale);
    device::DeviceLink& link = Link();
    device::CommandSet commands(link);
    // Each script starts on a settled link: whatever the last one left unanswered is answered now.
    static_cast<void>(commands.TestCommand());
    g_script = &script;
    g_deviceCount = kScriptStartCount;
    while (!script.Ended()) {
        RunEveryCommand(commands, script);
    }
    g_script = nullptr;
}

void AppendAnswer(const Answer& answer, std::vector<uint8_t>& bytes)
{
    bytes.push_back(answer.mode);
    if (answer.mode & kEventFirst) {
        bytes.push_back(static_cast<uint8_t>(answer.event & 0xFF));
        bytes.push_back(static_cast<uint8_t>(answer.event >> 8));
    }
    if (answer.mode & kCountChangeFirst) {
        bytes.push_back(answer.deviceCount);
    }
    if (!(answer.mode & kNoReply)) {
        bytes.push_back(static_cast<uint8_t>(answer.reply.size()));
        bytes.insert(bytes.end(), answer.reply.begin(), answer.reply.end());
    }
}

} // namespace tavrix::fuzz
