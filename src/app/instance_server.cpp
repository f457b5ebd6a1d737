#include "app/instance_server.h"

#include <QLocalSocket>
#include <QPointer>
#include <QSocketNotifier>
#include <cerrno>
#include <cstring>

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include "app/instance_messages.h"
#include "app/single_instance.h"
#include "platform/clock.h"
#include "platform/file_util.h"
#include "platform/folders.h"

namespace tavrix::app {

namespace {

// Waiting connections beyond those being served; more clients find the socket busy.
constexpr int kListenBacklog = 16;
// After the system ran out of descriptors or memory for a connection, accepting waits this long.
constexpr uint32_t kAcceptPauseMs = 100;
// A socket that could not be made, or broke, is tried again this often.
constexpr uint32_t kRelistenMs = 1000;

int AcceptConnection(int listenFd)
{
    return ::accept4(listenFd, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
}

// Errors after which the listening socket still works: nothing waits, the client gave up, or the
// system is short of descriptors or memory for a moment.
bool IsPassingAcceptError(int error)
{
    return error == EAGAIN || error == EWOULDBLOCK || error == EINTR || error == ECONNABORTED || error == EPROTO;
}

bool IsShortageError(int error)
{
    return error == EMFILE || error == ENFILE || error == ENOBUFS || error == ENOMEM;
}

} // namespace

InstanceServer::InstanceServer(Handler handler, QObject* parent)
    : InstanceServer(std::move(handler), AcceptConnection, parent)
{
}

InstanceServer::InstanceServer(Handler handler, Accept accept, QObject* parent)
    : QObject(parent), m_handler(std::move(handler)), m_accept(std::move(accept))
{
    m_retry.setSingleShot(true);
    connect(&m_retry, &QTimer::timeout, this, &InstanceServer::OnRetry);
}

InstanceServer::~InstanceServer()
{
    Close();
}

bool InstanceServer::Listen()
{
    m_wanted = true;
    if (IsListening()) {
        return true;
    }
    if (TryListen()) {
        return true;
    }
    RetryLater(kRelistenMs);
    return false;
}

void InstanceServer::Close()
{
    m_wanted = false;
    m_retry.stop();
    StopListening();
}

bool InstanceServer::TryListen()
{
    if (!platform::EnsurePrivateFolder(platform::RuntimeFolder())) {
        return false;
    }
    const std::string path = InstanceSocketPath();
    sockaddr_un address{};
    if (path.size() >= sizeof address.sun_path) {
        return false;
    }
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    // Somebody answers there: that socket is in use and stays.
    if (const int probe = ConnectInstanceSocket(); probe >= 0) {
        ::close(probe);
        return false;
    }
    struct stat info {};
    if (::lstat(path.c_str(), &info) == 0 && S_ISSOCK(info.st_mode)) {
        // Left by an instance that ended without closing it: nobody answered.
        ::unlink(path.c_str());
    }
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        return false;
    }
    if (::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 ||
        ::listen(fd, kListenBacklog) != 0 || ::lstat(path.c_str(), &info) != 0) {
        ::close(fd);
        return false;
    }
    m_listenFd = fd;
    m_socketDevice = info.st_dev;
    m_socketInode = info.st_ino;
    m_acceptNotifier = std::make_unique<QSocketNotifier>(fd, QSocketNotifier::Read);
    connect(m_acceptNotifier.get(), &QSocketNotifier::activated, this, &InstanceServer::OnAcceptReady);
    return true;
}

void InstanceServer::StopListening()
{
    if (!IsListening()) {
        return;
    }
    m_acceptNotifier.reset();
    ::close(m_listenFd);
    m_listenFd = -1;
    const std::string path = InstanceSocketPath();
    struct stat info {};
    if (::lstat(path.c_str(), &info) == 0 && info.st_dev == m_socketDevice && info.st_ino == m_socketInode) {
        ::unlink(path.c_str());
    }
}

void InstanceServer::RetryLater(uint32_t milliseconds)
{
    m_retry.start(platform::TimerIntervalMs(milliseconds));
}

void InstanceServer::OnRetry()
{
    if (!m_wanted) {
        return;
    }
    if (!IsListening()) {
        (void)Listen();
        return;
    }
    m_acceptNotifier->setEnabled(m_connections < kMaxInstanceConnections);
}

void InstanceServer::OnAcceptReady()
{
    while (IsListening() && m_connections < kMaxInstanceConnections) {
        const int fd = m_accept(m_listenFd);
        if (fd >= 0) {
            Serve(fd);
            continue;
        }
        const int error = errno;
        if (IsPassingAcceptError(error)) {
            return;
        }
        if (IsShortageError(error)) {
            // The client stays queued; asking again at once would only spin.
            m_acceptNotifier->setEnabled(false);
            RetryLater(kAcceptPauseMs);
            return;
        }
        StopListening();
        RetryLater(kRelistenMs);
        return;
    }
    if (IsListening()) {
        // Full: further clients wait in the queue until a connection closes.
        m_acceptNotifier->setEnabled(false);
    }
}

void InstanceServer::Serve(int fd)
{
    auto* socket = new QLocalSocket(this);
    if (!socket->setSocketDescriptor(fd)) {
        ::close(fd);
        delete socket;
        return;
    }
    ++m_connections;
    connect(socket, &QObject::destroyed, this, &InstanceServer::OnConnectionClosed);
    connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
    connect(socket, &QLocalSocket::readyRead, this, [this, socket] { OnReadyRead(socket); });
    // Stopped once a whole command-line request is there, as carrying it out may take longer: only a
    // client that stops sending is dropped.
    auto* timeout = new QTimer(socket);
    timeout->setSingleShot(true);
    connect(timeout, &QTimer::timeout, socket, [socket] {
        socket->abort();
        socket->deleteLater();
    });
    timeout->start(platform::TimerIntervalMs(kClientTimeoutMs));
    OnReadyRead(socket);
}

void InstanceServer::OnReadyRead(QLocalSocket* socket)
{
    if (socket->bytesAvailable() < static_cast<qint64>(kInstanceRequestSize)) {
        return;
    }
    const QByteArray headerBytes = socket->peek(kInstanceRequestSize);
    const auto request = DecodeInstanceRequest(
        {reinterpret_cast<const uint8_t*>(headerBytes.constData()), static_cast<size_t>(headerBytes.size())});
    if (request && IsCtlRequest(*request)) {
        ServeCtlRequest(socket, *request);
        return;
    }
    socket->read(kInstanceRequestSize);
    disconnect(socket, &QLocalSocket::readyRead, this, nullptr);
    const bool handled = request && m_handler(request->message, request->wParam, request->lParam);
    Reply(socket, EncodeInstanceReply(handled));
}

void InstanceServer::ServeCtlRequest(QLocalSocket* socket, const InstanceRequestFrame& header)
{
    const std::optional<size_t> bodySize = CtlBodySize(header);
    if (!bodySize || !m_ctlHandler) {
        disconnect(socket, &QLocalSocket::readyRead, this, nullptr);
        const char* why = bodySize ? "the running Tavrix takes no command-line requests"
                                   : "the running Tavrix speaks another version of the command-line protocol";
        Reply(socket, EncodeCtlReply({CtlStatus::Failed, why, {}}));
        return;
    }
    const auto size = static_cast<qint64>(kInstanceRequestSize + *bodySize);
    if (socket->bytesAvailable() < size) {
        return;
    }
    disconnect(socket, &QLocalSocket::readyRead, this, nullptr);
    if (auto* timeout = socket->findChild<QTimer*>()) {
        timeout->stop();
    }
    const QByteArray bytes = socket->read(size);
    const std::span<const uint8_t> body(reinterpret_cast<const uint8_t*>(bytes.constData()) + kInstanceRequestSize,
                                        *bodySize);
    // The handler may wait for the keyboard in a nested event loop, in which the client may go.
    const QPointer<QLocalSocket> alive(socket);
    const std::vector<uint8_t> reply = EncodeCtlReply(m_ctlHandler(body));
    if (alive) {
        Reply(socket, reply);
    }
}

void InstanceServer::Reply(QLocalSocket* socket, std::span<const uint8_t> reply)
{
    socket->write(reinterpret_cast<const char*>(reply.data()), static_cast<qint64>(reply.size()));
    socket->flush();
    socket->disconnectFromServer();
}

void InstanceServer::OnConnectionClosed()
{
    --m_connections;
    if (IsListening() && !m_retry.isActive()) {
        m_acceptNotifier->setEnabled(true);
    }
}

} // namespace tavrix::app
