// The deck playlist file ".ipk": one full path a line, in play order, nothing else (the bytes and
// line ends follow base/textfile.h). Also the names a deck shows for the paths it reads, and the
// name a save writes to. Main thread.
#pragma once

#include <QString>
#include <QStringList>

namespace library {
class TimeSlice;
}

namespace playlist {

// The file choosers' filter. File names are case-sensitive here, and saves end in ".IPK".
inline const QString ipkFilter = QStringLiteral("Lista Arvesto (*.ipk *.IPK)");

// What a deck shows for a path read from a file: the name after the last "/", upper-cased by the
// user's locale; the whole path when it has no "/".
QString entryName(const QString& path);

// entryName of every path, in order, letting pending events run between slices.
QStringList entryNames(const QStringList& paths, library::TimeSlice& slice);

// The file a save writes for the typed name: the name itself when it holds ".IPK" (capitals
// only), otherwise the trimmed name followed by ".IPK".
QString saveTarget(const QString& typedName);

} // namespace playlist
