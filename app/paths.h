// Where the program keeps its files, how big the screen is and what time it is: seams a test
// can set. Main thread only.
#pragma once
#include <QDateTime>
#include <QSize>
#include <QUrl>
#include <QString>
#include <functional>

namespace app {

// The folder of "lista.upd", "VOLTARIA4.INI" and "ATALHOS.INI", ending with "/".
// defaultDataFolder() for the running executable unless setDataFolder() chose another
// (an empty folder restores the default).
QString dataFolder();
void setDataFolder(const QString& folder);
QString dataFile(const QString& name);

// The executable's folder when it takes new files (the build folder, a portable copy);
// otherwise the user's folder, created here when missing. A folder under /usr is never
// chosen: it belongs to the package manager, even when root could write there.
QString defaultDataFolder(const QString& executableFolder, const QString& userFolder);

// The primary screen's size, unless setScreenSize() chose one (an empty size restores the real one).
QSize screenSize();
void setScreenSize(const QSize& size);

// The application's title: the caption of its plain message boxes. It is not given to Qt as
// the display name, which Qt on X11 would append to every window title and box caption.
inline constexpr const char* applicationTitle = "Arvesto Voltaria-Pro IV";

// The local date and time, from the system clock unless setWallClock() chose another clock
// (an empty one restores the system's).
QDateTime wallClock();
void setWallClock(std::function<QDateTime()> clock);

// Opens a web address or a folder with the desktop's own programs, unless setUrlOpener() chose
// another opener (an empty one restores the desktop's); nothing is reported when none answers.
void openUrl(const QUrl& url);
void setUrlOpener(std::function<void(const QUrl&)> opener);

// The maker's web address, shown in the caption and the status line.
inline constexpr const char* webAddress = "www.arvesto.example";
// Opens it in the system's browser; nothing is reported when no browser answers.
void openWebAddress();

// The caption and the status line's text in odd minutes; the status line's text in even minutes.
inline QString productLine() { return QStringLiteral("Arvesto Voltaria-PRO 4.1 - ") + QString::fromLatin1(webAddress); }
inline QString visitLine() { return QStringLiteral("Visite: ") + QString::fromLatin1(webAddress); }

} // namespace app
