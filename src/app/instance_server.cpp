#include "app/instance_server.h"

#include <QLocalSocket>

#include "app/instance_messages.h"
#include "app/single_instance.h"

namespace tavrix::app {

namespace {

uint32_t WordAt(const QByteArray& bytes, int offset)
{
    uint32_t value = 0;
    for (int i = 3; i >= 0; --i) {
        value = (value << 8) | static_cast<unsigned char>(bytes[offset + i]);
    }
    return value;
}

QByteArray Word(uint32_t value)
{
    QByteArray bytes(4, '\0');
    for (int i = 0; i < 4; ++i) {
        bytes[i] = static_cast<char>(value >> (8 * i));
    }
    return bytes;
}

}  // namespace

InstanceServer::InstanceServer(Handler handler, QObject* parent) : QObject(parent), m_handler(std::move(handler))
{
    m_server.setSocketOptions(QLocalServer::UserAccessOption);
    connect(&m_server, &QLocalServer::newConnection, this, &InstanceServer::OnNewConnection);
}

InstanceServer::~InstanceServer()
{
    Close();
}

bool InstanceServer::Listen()
{
    const QString path = QString::fromStdString(InstanceSocketPath());
    QLocalServer::removeServer(path);
    return m_server.listen(path);
}

void InstanceServer::Close()
{
    m_server.close();
}

void InstanceServer::OnNewConnection()
{
    while (QLocalSocket* socket = m_server.nextPendingConnection()) {
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] { OnReadyRead(socket); });
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        OnReadyRead(socket);
    }
}

void InstanceServer::OnReadyRead(QLocalSocket* socket)
{
    if (socket->bytesAvailable() < static_cast<qint64>(kInstanceRequestSize)) {
        return;
    }
    const QByteArray request = socket->read(kInstanceRequestSize);
    // One request per connection: whatever else arrives is not ours to read.
    disconnect(socket, &QLocalSocket::readyRead, this, nullptr);
    const bool handled = m_handler(WordAt(request, 0), WordAt(request, 4), WordAt(request, 8));
    socket->write(Word(handled ? 1 : 0));
    socket->flush();
    socket->disconnectFromServer();
}

}  // namespace tavrix::app
