// The one-copy rule: the running program listens on a per-user local socket named
// "Tform_mixer"; a second copy finds it there and asks it to come to the front.
// Main thread only.
#pragma once
#include <QObject>
#include <QString>

class QLocalServer;

class SingleInstance : public QObject
{
    Q_OBJECT

public:
    explicit SingleInstance(QObject* parent = nullptr);
    ~SingleInstance() override;

    // True when another copy answers on the socket.
    static bool otherCopyRunning();
    // Asks the running copy to show itself restored and in front; false when none answered.
    static bool activateOtherCopy();
    // Starts answering; a socket left behind by a killed copy is taken over.
    bool listen();

signals:
    void activationRequested();

private:
    QLocalServer* server;
};
