#include <condition_variable>
#include <memory>
#include <mutex>
#include <vector>

#include "ctl/keyboard_access.h"
#include "ctl/keyboard_operations.h"
#include "device/command_set.h"
#include "device/device_host.h"
#include "device/device_link.h"
#include "device/device_service.h"
#include "model/device_sync.h"
#include "platform/clock.h"
#include "platform/executable_path.h"
#include "platform/utf.h"
#include "skin/language.h"

// tavrix-ctl on its own: the device library, link, command set and synchronisation the window
// would use, with a host that has no window. Its texts are the English language file's.
namespace tavrix::ctl {

namespace {

// How long the library may take to report the keyboard it found at start.
constexpr uint32_t kFirstConnectionTimeoutMs = 10000;
constexpr int kEnglish = 0;

class LocalKeyboard : public KeyboardAccess, public device::DeviceHost, public model::SyncHost {
public:
    ~LocalKeyboard() override
    {
        if (!m_link) {
            return;
        }
        m_link->Stop();
        m_service.End();
        m_link.reset();
    }

    bool Open(std::string& reason)
    {
        m_folder = platform::ExecutableFolder();
        if (device::BindDeviceService(m_folder, m_service) != device::BindResult::Bound) {
            reason = std::string("the device library ") + device::kDeviceServiceFileName +
                     " beside tavrix-ctl cannot be used";
            return false;
        }
        m_link = std::make_unique<device::DeviceLink>(m_service, *this);
        m_commands = std::make_unique<device::CommandSet>(*m_link);
        m_sync = std::make_unique<model::DeviceSync>(*m_commands, *this, m_modelLock, m_applyLock);
        m_link->Start();
        // The link reports the keyboard count it starts with once; until then nothing is known.
        std::unique_lock lock(m_mutex);
        if (!m_connected.wait_for(lock, platform::ScaledDuration(kFirstConnectionTimeoutMs),
                                  [this] { return m_connectionSeen; })) {
            reason = "the device library did not report whether a keyboard is there";
            return false;
        }
        return true;
    }

    app::CtlReply Call(const CtlRequest& request) override
    {
        app::CtlReply reply = KeyboardOperations(*m_commands, *m_sync).Serve(request);
        std::lock_guard lock(m_mutex);
        for (const std::string& message : m_messages) {
            reply.text += (reply.text.empty() ? "" : "\n") + message;
        }
        m_messages.clear();
        return reply;
    }

    // DeviceHost: only the keyboard's arrival matters here.
    void OnBankChanged(int) override {}
    void OnKeyboardLightingChanged() override {}
    void OnKeyboardBusy(bool) override {}
    void OnConnectionChanged(int deviceCount) override
    {
        m_sync->OnConnectionChanged(deviceCount);
        std::lock_guard lock(m_mutex);
        m_connectionSeen = true;
        m_connected.notify_all();
    }

    // SyncHost: no window to show, refresh or open.
    std::u16string Text(std::string_view key) const override
    {
        return platform::Utf8ToUtf16(skin::LoadLangEntry(m_folder, "TEXT", std::string(key), kEnglish));
    }
    void ShowMessage(const std::u16string& text) override
    {
        std::lock_guard lock(m_mutex);
        m_messages.push_back(platform::Utf16ToUtf8(text));
    }
    bool IsInitialisationComplete() const override { return true; }
    // The keyboard is read when a request needs it, not on its arrival.
    void OnKeyboardArrived() override {}
    void OnKeyboardRemoved() override {}
    void ShowConnected(bool) override {}
    void ShowWindow() override {}
    bool IsStartHidden() const override { return true; }
    void SetStartHidden() override {}
    void OnModelReplaced() override {}
    void OnNothingToApply() override {}

private:
    std::string m_folder;
    device::DeviceService m_service;
    std::recursive_mutex m_modelLock;
    std::recursive_mutex m_applyLock;
    std::unique_ptr<device::DeviceLink> m_link;
    std::unique_ptr<device::CommandSet> m_commands;
    std::unique_ptr<model::DeviceSync> m_sync;

    std::mutex m_mutex; // guards the three below
    std::condition_variable m_connected;
    bool m_connectionSeen = false;
    std::vector<std::string> m_messages;
};

} // namespace

std::unique_ptr<KeyboardAccess> OpenLocalKeyboard(std::string& reason)
{
    auto keyboard = std::make_unique<LocalKeyboard>();
    if (!keyboard->Open(reason)) {
        return nullptr;
    }
    return keyboard;
}

} // namespace tavrix::ctl
