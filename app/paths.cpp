#include "app/paths.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QGuiApplication>
#include <QScreen>
#include <QUrl>

namespace app {
namespace {
QString chosenFolder;
QSize chosenScreen;
std::function<QDateTime()> chosenClock;
} // namespace

QString dataFolder()
{
    QString folder = chosenFolder.isEmpty() ? QCoreApplication::applicationDirPath() : chosenFolder;
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

void openWebAddress() { QDesktopServices::openUrl(QUrl::fromUserInput(QString::fromLatin1(webAddress))); }

} // namespace app
