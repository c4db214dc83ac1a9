// Where the program keeps its files and how big the screen is: two seams a test can set.
// Main thread only.
#pragma once
#include <QSize>
#include <QString>

namespace app {

// The folder of "lista.upd", "VOLTARIA4.INI" and "ATALHOS.INI", ending with "/".
// The executable's folder unless setDataFolder() chose another.
QString dataFolder();
void setDataFolder(const QString& folder);
QString dataFile(const QString& name);

// The primary screen's size, unless setScreenSize() chose one (an empty size restores the real one).
QSize screenSize();
void setScreenSize(const QSize& size);

// The application's title: the caption of its plain message boxes. It is not given to Qt as
// the display name, which Qt on X11 would append to every window title and box caption.
inline constexpr const char* applicationTitle = "Arvesto Voltaria-Pro IV";

// The maker's web address, shown in the caption and the status line.
inline constexpr const char* webAddress = "www.arvesto.example";

} // namespace app
