#include "app/instance_server.h"

#include <QLocalSocket>

#include "app/instance_messages.h"
#include "app/single_instance.h"
#include "platform/little_endian.h"

namespace tavrix::app {

namespace {

uint32_t WordAt(const QByteArray& bytes, size_t offset)
{
    return platform::Get32({reinterpret_cast<const uint8_t*>(bytes.constData()), static_cast<size_t>(bytes.size())},
                           offset);
}

QByteArray Word(uint32_t value)
{
    QByteArray bytes(static_cast<qsizetype>(kInstanceReplySize), '\0');
    platform::Put32({reinterpret_cast<uint8_t*>(bytes.data()), kInstanceReplySize}, 0, value);
    return bytes;
}

} // namespace

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

} // namespace tavrix::app
