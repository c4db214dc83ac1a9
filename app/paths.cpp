#include "app/paths.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QScreen>

namespace app {
namespace {
QString chosenFolder;
QSize chosenScreen;
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

} // namespace app
