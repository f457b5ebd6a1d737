#pragma once

#include <memory>
#include <string>

#include "app/instance_messages.h"
#include "ctl/ctl_protocol.h"

// The one process that talks to the keyboard: the running instance when there is one, which
// carries out tavrix-ctl's requests through its own model (its window shows the change);
// otherwise tavrix-ctl opens the keyboard itself through libdexlink.so.
namespace tavrix::ctl {

class KeyboardAccess {
public:
    virtual ~KeyboardAccess() = default;
    // Carries out one request; the reply's text holds every message for the user, one a line.
    virtual app::CtlReply Call(const CtlRequest& request) = 0;
};

// Connects to the running instance's socket when one listens there for this user.
std::unique_ptr<KeyboardAccess> ConnectToInstance();

// Opens the keyboard through the device library beside the executable; nothing, with the reason,
// when the library cannot be used.
std::unique_ptr<KeyboardAccess> OpenLocalKeyboard(std::string& reason);

} // namespace tavrix::ctl
