#include "sim_link_fixture.h"

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>

#include "device/commands.h"
#include "device/protocol.h"
#include "library.h"
#include "platform/clock.h"

namespace tavrix::testing {

void RecordingHost::OnBankChanged(int bank)
{
    Record({"bank", bank});
}

void RecordingHost::OnKeyboardLightingChanged()
{
    Record({"lighting"});
}

void RecordingHost::OnKeyboardBusy(bool busy)
{
    Record({"busy", busy ? 1 : 0});
}

void RecordingHost::OnConnectionChanged(int deviceCount)
{
    std::function<void(int)> forward;
    {
        std::lock_guard lock(m_mutex);
        forward = m_forward;
    }
    if (forward) {
        forward(deviceCount);
    }
    Record({"connection", deviceCount});
}

void RecordingHost::ForwardConnections(std::function<void(int)> handler)
{
    std::lock_guard lock(m_mutex);
    m_forward = std::move(handler);
}

std::vector<RecordingHost::Call> RecordingHost::Calls() const
{
    std::lock_guard lock(m_mutex);
    return m_calls;
}

std::vector<RecordingHost::Call> RecordingHost::CallsOf(const std::string& what) const
{
    std::vector<Call> found;
    for (const Call& call : Calls()) {
        if (call.what == what) {
            found.push_back(call);
        }
    }
    return found;
}

bool RecordingHost::WaitFor(const std::string& what, std::size_t count)
{
    std::unique_lock lock(m_mutex);
    return m_changed.wait_for(lock, std::chrono::seconds(10), [&] {
        return static_cast<std::size_t>(std::count_if(m_calls.begin(), m_calls.end(),
                                                      [&](const Call& call) { return call.what == what; })) >= count;
    });
}

void RecordingHost::Record(Call call)
{
    {
        std::lock_guard lock(m_mutex);
        m_calls.push_back(std::move(call));
    }
    m_changed.notify_all();
}

int DeepestBracket(const std::vector<sim::Report>& requests)
{
    int depth = 0;
    int deepest = 0;
    for (const sim::Report& request : requests) {
        const uint8_t command = request[device::kCommandOffset];
        if (command == device::kCmdBeginConfig) {
            deepest = std::max(deepest, ++depth);
        } else if (command == device::kCmdEndConfig) {
            --depth;
        }
    }
    return deepest;
}

void SimLinkTest::SetUp()
{
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    m_stateFile =
        (std::filesystem::temp_directory_path() / (std::string("tavrix-sim-") + info->test_suite_name() + "-" +
                                                   info->name() + "-" + std::to_string(::getpid()) + ".bin"))
            .string();
    std::filesystem::remove(m_stateFile);
    ::setenv("DEXLINK_BACKEND", "sim", 1);
    ::setenv("DEXLINK_SIM_STATE", m_stateFile.c_str(), 1);
    ::unsetenv("DEXLINK_SIM_LATENCY_US");
    platform::SetTimeScale(kTimeScale);
    StartLink();
}

void SimLinkTest::StartLink()
{
    const std::size_t connections = m_host.CallsOf("connection").size();
    ASSERT_GT(::Init(0), 0);
    m_link = std::make_unique<device::DeviceLink>(LinkedDeviceService(), m_host);
    m_link->Start();
    ASSERT_TRUE(m_host.WaitFor("connection", connections + 1));
}

void SimLinkTest::Restart()
{
    ::End();
    m_link.reset();
    StartLink();
}

void SimLinkTest::TearDown()
{
    ::End();
    m_link.reset();
    platform::SetTimeScale(1.0);
    std::filesystem::remove(m_stateFile);
}

dexlink::SimBackend& SimLinkTest::Sim()
{
    auto* sim = dynamic_cast<dexlink::SimBackend*>(dexlink::Library::Instance().ActiveBackend());
    EXPECT_NE(sim, nullptr);
    return *sim;
}

} // namespace tavrix::testing
