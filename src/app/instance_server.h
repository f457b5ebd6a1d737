#pragma once

#include <QObject>
#include <QTimer>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>

#include <sys/types.h>

#include "app/instance_messages.h"

class QLocalSocket;
class QSocketNotifier;

namespace tavrix::app {

// The running instance's end of the instance socket. Each request is handed to the handler on
// the thread that owns the server (the window's), and the reply goes back only after the
// handler returned, so the sender knows its message was handled. A client that sends nothing is
// dropped after kClientTimeoutMs; at most kMaxInstanceConnections are served at once. When
// listening fails, at start or later, the server keeps trying again until it is closed.
class InstanceServer : public QObject {
    Q_OBJECT

public:
    // Returns true when the window handled the message.
    using Handler = std::function<bool(uint32_t message, uint32_t wParam, uint32_t lParam)>;
    // accept(2) on the listening socket: a new connection, or -1 with errno set. Tests pass one
    // that fails.
    using Accept = std::function<int(int listenFd)>;

    // Carries out a request of the command line (its body, whose size the header bounded) and
    // returns the reply. It may run a nested event loop: the connection stays open meanwhile.
    using CtlHandler = std::function<CtlReply(std::span<const uint8_t> body)>;

    explicit InstanceServer(Handler handler, QObject* parent = nullptr);
    InstanceServer(Handler handler, Accept accept, QObject* parent = nullptr);
    ~InstanceServer() override;

    // Without one, command-line requests are answered as failed.
    void SetCtlHandler(CtlHandler handler) { m_ctlHandler = std::move(handler); }

    // Listens on the instance socket. A socket left there by an ended instance is removed first;
    // one that answers, or anything that is not a socket, is left alone and Listen fails (and
    // keeps trying). Only a process that passed the single-instance check may call it.
    [[nodiscard]] bool Listen();
    // Stops listening (and trying to) and removes the socket file while it is still this server's;
    // connections being answered stay open.
    void Close();

    bool IsListening() const { return m_listenFd >= 0; }
    size_t OpenConnections() const { return m_connections; }

private:
    bool TryListen();
    void StopListening();
    void RetryLater(uint32_t milliseconds);
    void OnRetry();
    void OnAcceptReady();
    void Serve(int fd);
    void OnReadyRead(QLocalSocket* socket);
    // Reads and answers a command-line request once all of it arrived.
    void ServeCtlRequest(QLocalSocket* socket, const InstanceRequestFrame& header);
    // Sends the reply and closes the connection, when the client is still there.
    static void Reply(QLocalSocket* socket, std::span<const uint8_t> reply);
    void OnConnectionClosed();

    Handler m_handler;
    CtlHandler m_ctlHandler;
    Accept m_accept;
    int m_listenFd = -1;
    // The socket file this server made, so it never removes one another process made since.
    dev_t m_socketDevice = 0;
    ino_t m_socketInode = 0;
    std::unique_ptr<QSocketNotifier> m_acceptNotifier;
    QTimer m_retry;
    bool m_wanted = false;
    size_t m_connections = 0;
};

} // namespace tavrix::app
