#include <chrono>

#include <sys/socket.h>
#include <unistd.h>

#include "app/single_instance.h"
#include "ctl/keyboard_access.h"
#include "platform/clock.h"
#include "platform/file_util.h"
#include "platform/folders.h"

// tavrix-ctl's side of the instance socket: one request per connection, its reply read and
// checked like anything else that comes from outside.
namespace tavrix::ctl {

namespace {

// A whole import or export on the real keyboard takes seconds; a hung instance must not hold
// a script for good.
constexpr uint32_t kReplyTimeoutMs = 60000;

// The socket's far end is a process of this user.
bool PeerIsThisUser(int fd)
{
    ucred credentials{};
    socklen_t size = sizeof credentials;
    return ::getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &credentials, &size) == 0 && credentials.uid == ::getuid();
}

// A connection to the instance, when its runtime folder is this user's alone and the listener
// runs as this user; -1 otherwise.
int ConnectPrivately()
{
    if (!platform::EnsurePrivateFolder(platform::RuntimeFolder())) {
        return -1;
    }
    const int fd = app::ConnectInstanceSocket();
    if (fd >= 0 && !PeerIsThisUser(fd)) {
        ::close(fd);
        return -1;
    }
    return fd;
}

app::CtlReply Failed(const std::string& text)
{
    return {app::CtlStatus::Failed, text, {}};
}

class ForwardedKeyboard : public KeyboardAccess {
public:
    explicit ForwardedKeyboard(int fd) : m_fd(fd) {}
    ~ForwardedKeyboard() override { Close(); }

    app::CtlReply Call(const CtlRequest& request) override
    {
        if (m_fd < 0) {
            m_fd = ConnectPrivately();
        }
        const int fd = m_fd;
        if (fd < 0) {
            return Failed("the running Tavrix cannot be reached");
        }
        const std::optional<std::vector<uint8_t>> bytes = app::EncodeCtlRequest(EncodeCtlBody(request));
        if (!bytes) {
            Close();
            return {app::CtlStatus::BadFile, "the file is too large to hand to the running Tavrix", {}};
        }
        const app::CtlReply reply = Exchange(fd, *bytes);
        Close();
        return reply;
    }

private:
    static app::CtlReply Exchange(int fd, const std::vector<uint8_t>& request)
    {
        const auto deadline = std::chrono::steady_clock::now() + platform::ScaledDuration(kReplyTimeoutMs);
        std::vector<uint8_t> header(app::kCtlReplyHeaderSize);
        if (!app::SendAll(fd, request.data(), request.size()) ||
            !app::ReceiveAll(fd, header.data(), header.size(), deadline)) {
            return Failed("the running Tavrix did not answer");
        }
        const std::optional<app::CtlReplyHeader> decoded = app::DecodeCtlReplyHeader(header);
        if (!decoded) {
            return Failed("the running Tavrix gave an answer this tavrix-ctl does not understand");
        }
        app::CtlReply reply{decoded->status, std::string(decoded->textSize, '\0'),
                            std::vector<uint8_t>(decoded->payloadSize)};
        if (!app::ReceiveAll(fd, reinterpret_cast<unsigned char*>(reply.text.data()), reply.text.size(), deadline) ||
            !app::ReceiveAll(fd, reply.payload.data(), reply.payload.size(), deadline)) {
            return Failed("the running Tavrix's answer broke off");
        }
        return reply;
    }

    void Close()
    {
        if (m_fd >= 0) {
            ::close(m_fd);
            m_fd = -1;
        }
    }

    int m_fd;
};

} // namespace

std::unique_ptr<KeyboardAccess> ConnectToInstance()
{
    const int fd = ConnectPrivately();
    if (fd < 0) {
        return nullptr;
    }
    return std::make_unique<ForwardedKeyboard>(fd);
}

} // namespace tavrix::ctl
