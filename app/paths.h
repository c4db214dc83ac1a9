// Where the program keeps its files and how big the screen is: two seams a test can set.
// Main thread only.
#pragma once
#include <QSize>
#include <QString>

namespace app {

// The folder of "lista.upd", "VOLTARIA4.INI" and "ATALHOS.INI", ending with "/".
// defaultDataFolder() for the running executable unless setDataFolder() chose another
// (an empty folder restores the default).
QString dataFolder();
void setDataFolder(const QString& folder);

// The executable's folder when it takes new files (the build folder, a portable copy);
// otherwise the user's folder, created here when missing. A folder under /usr is never
// chosen: it belongs to the package manager, even when root could write there.
QString defaultDataFolder(const QString& executableFolder, const QString& userFolder);
QString dataFile(const QString& name);

// The primary screen's size, unless setScreenSize() chose one (an empty size restores the real one).
QSize screenSize();
void setScreenSize(const QSize& size);

// The maker's web address, shown in the caption and the status line.
inline constexpr const char* webAddress = "www.arvesto.example";

} // namespace app
