// The one-copy rule: the running program listens on a per-user local socket named
// "Tform_mixer"; a second copy finds it there, asks it to come to the front and hands it its
// command line, so a file opened while the program runs reaches the running copy.
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
    // Asks the running copy to show itself restored and in front, with the command line joined
    // as `parametro` is; false when none answered.
    static bool activateOtherCopy(const QString& commandLine = {});
    // Starts answering; a socket left behind by a killed copy is taken over.
    bool listen();

signals:
    // Once the other copy has sent all it had to say.
    void activationRequested(const QString& commandLine);

private:
    QLocalServer* server;
};
