#pragma once

#include <QLocalServer>
#include <QObject>
#include <cstdint>
#include <functional>

class QLocalSocket;

namespace tavrix::app {

// The running instance's end of the instance socket. Each request is handed to the handler on
// the thread that owns the server (the window's), and the reply goes back only after the
// handler returned, so the sender knows its message was handled.
class InstanceServer : public QObject {
    Q_OBJECT

public:
    // Returns true when the window handled the message.
    using Handler = std::function<bool(uint32_t message, uint32_t wParam, uint32_t lParam)>;

    explicit InstanceServer(Handler handler, QObject* parent = nullptr);
    ~InstanceServer() override;

    // Listens on the instance socket, replacing a leftover socket file of an ended instance.
    // Only a process that passed the single-instance check may call it.
    [[nodiscard]] bool Listen();
    // Stops listening and removes the socket file; connections being answered stay open.
    void Close();

private:
    void OnNewConnection();
    void OnReadyRead(QLocalSocket* socket);

    Handler m_handler;
    QLocalServer m_server;
};

}  // namespace tavrix::app
