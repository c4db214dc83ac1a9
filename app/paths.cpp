#include "app/paths.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QScreen>
#include <QStandardPaths>
#include <QUrl>
#include <unistd.h>

namespace app {
namespace {
QString chosenFolder;
QSize chosenScreen;
std::function<QDateTime()> chosenClock;
std::function<void(const QUrl&)> chosenOpener;

bool isSystemFolder(const QString& folder)
{
    const QString clean = QDir::cleanPath(folder);
    return clean == "/usr" || clean.startsWith("/usr/");
}
} // namespace

QString defaultDataFolder(const QString& executableFolder, const QString& userFolder)
{
    // A new file needs both write and search permission on its folder.
    if (!isSystemFolder(executableFolder) && ::access(QFile::encodeName(executableFolder).constData(), W_OK | X_OK) == 0)
        return executableFolder;
    QDir().mkpath(userFolder);
    return userFolder;
}

QString dataFolder()
{
    // Decided once: the answer for the running executable does not change while it runs.
    static const QString standard =
        defaultDataFolder(QCoreApplication::applicationDirPath(),
                          QStandardPaths::writableLocation(QStandardPaths::AppDataLocation));
    QString folder = chosenFolder.isEmpty() ? standard : chosenFolder;
    if (!folder.endsWith('/'))
        folder += '/';
    return folder;
}

void setDataFolder(const QString& folder) { chosenFolder = folder; }

QString dataFile(const QString& name) { return dataFolder() + name; }

QSize screenSize()
{
    if (chosenScreen.isValid())
        return chosenScreen;
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->size() : QSize(1024, 768);
}

void setScreenSize(const QSize& size) { chosenScreen = size; }

QDateTime wallClock() { return chosenClock ? chosenClock() : QDateTime::currentDateTime(); }

void setWallClock(std::function<QDateTime()> clock) { chosenClock = std::move(clock); }

void openUrl(const QUrl& url)
{
    if (chosenOpener)
        chosenOpener(url);
    else
        QDesktopServices::openUrl(url);
}

void setUrlOpener(std::function<void(const QUrl&)> opener) { chosenOpener = std::move(opener); }

void openWebAddress() { openUrl(QUrl::fromUserInput(QString::fromLatin1(webAddress))); }

} // namespace app
