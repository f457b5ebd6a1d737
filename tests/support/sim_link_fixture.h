#pragma once

#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "device/device_link.h"
#include "linked_device_service.h"
#include "sim/sim_backend.h"

namespace tavrix::testing {

// Records what the device link asks of the main window.
class RecordingHost : public device::DeviceHost {
public:
    struct Call {
        std::string what;
        int value = 0;
    };

    void OnBankChanged(int bank) override;
    void OnKeyboardLightingChanged() override;
    void OnKeyboardBusy(bool busy) override;
    void OnConnectionChanged(int deviceCount) override;

    std::vector<Call> Calls() const;
    std::vector<Call> CallsOf(const std::string& what) const;
    // Waits (real time, bounded) until count calls of the kind were made.
    bool WaitFor(const std::string& what, std::size_t count);
    // Hands every later device-count change on, as the main window does, besides recording it.
    void ForwardConnections(std::function<void(int)> handler);

private:
    void Record(Call call);

    mutable std::mutex m_mutex;
    std::condition_variable m_changed;
    std::vector<Call> m_calls;
    std::function<void(int)> m_forward;
};

// How deep configuration brackets (BeginConfig ... EndConfig) nest in the requests, in the order
// the keyboard got them: 1 when every bracket closed before the next opened.
int DeepestBracket(const std::vector<sim::Report>& requests);

// A started device link on the simulated keyboard, with the program's timing sped up a
// tenfold (a 1000 ms reply wait takes 100 ms: short, yet long enough for a loaded machine).
class SimLinkTest : public ::testing::Test {
protected:
    static constexpr double kTimeScale = 0.1;

    void SetUp() override;
    void TearDown() override;

    // The simulated keyboard's controls and traffic.
    dexlink::SimBackend& Sim();
    device::DeviceLink& Link() { return *m_link; }
    RecordingHost& Host() { return m_host; }
    // Ends the library and starts it and a new link again, as a program restart would; the
    // simulated keyboard reads its state file anew.
    void Restart();
    const std::string& StateFile() const { return m_stateFile; }

private:
    void StartLink();

    RecordingHost m_host;
    std::unique_ptr<device::DeviceLink> m_link;
    std::string m_stateFile;
};

} // namespace tavrix::testing
