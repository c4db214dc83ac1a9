#include "app/single_instance.h"

#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>

namespace {

constexpr int answerTimeoutMs = 1000;
constexpr char activateRequest[] = "activate\n";

// A path in the user's runtime folder keeps the name per user; without one, the user id does.
QString socketName()
{
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty() && QDir(runtime).exists())
        return runtime + "/Tform_mixer";
    return QDir::tempPath() + QString("/Tform_mixer-%1").arg(qEnvironmentVariable("USER", "user"));
}

} // namespace

SingleInstance::SingleInstance(QObject* parent) : QObject(parent), server(new QLocalServer(this))
{
    connect(server, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* client = server->nextPendingConnection()) {
            // The request is whole when the other copy hangs up: the command line may come in pieces.
            connect(client, &QLocalSocket::disconnected, this, [this, client] {
                const QByteArray request = client->readAll();
                client->deleteLater();
                if (request.startsWith(activateRequest))
                    emit activationRequested(QString::fromUtf8(request.mid(int(sizeof activateRequest) - 1)));
            });
        }
    });
}

SingleInstance::~SingleInstance() = default;

bool SingleInstance::otherCopyRunning()
{
    QLocalSocket probe;
    probe.connectToServer(socketName());
    return probe.waitForConnected(answerTimeoutMs);
}

bool SingleInstance::activateOtherCopy(const QString& commandLine)
{
    QLocalSocket socket;
    socket.connectToServer(socketName());
    if (!socket.waitForConnected(answerTimeoutMs))
        return false;
    socket.write(activateRequest + commandLine.toUtf8());
    socket.disconnectFromServer();
    if (socket.state() != QLocalSocket::UnconnectedState)
        socket.waitForDisconnected(answerTimeoutMs);
    return true;
}

bool SingleInstance::listen()
{
    server->setSocketOptions(QLocalServer::UserAccessOption);
    if (server->listen(socketName()))
        return true;
    // Nobody answered before we got here, so the socket file is a leftover.
    if (otherCopyRunning())
        return false;
    QLocalServer::removeServer(socketName());
    return server->listen(socketName());
}
