// The library file "lista.upd": one entry a line, description "#" full path, read from and written
// to plain lines (base/textfile.h does the bytes). Also the removal of one entry by its grid row.
// Main thread.
#pragma once

#include <QString>
#include <QStringList>

namespace library {

class TimeSlice;

inline const QString libraryFileName = QStringLiteral("lista.upd");
// What the operator is told of a library file that cannot be loaded.
inline const QString libraryLoadError = QStringLiteral("Erro ao Carregar Lista de Músicas");

struct LibraryEntry {
    QString description;
    QString path;
    bool operator==(const LibraryEntry&) const = default;
};

// Description = the text before the first "#" that a path follows ("/", or a drive letter and
// ":\" in lists from Windows), or before the first "#" when no path follows any; path = everything
// after it, or the whole line without "#". Names holding "#" stay whole; paths are never cut.
LibraryEntry parseLine(const QString& line);

// The line the capture writes for a file: upper-cased name, "#", folder (ending with "/"), name.
// The path keeps the file system's spelling and bytes so the file can be opened as written; the
// description shows a name that is not UTF-8 as base::displayName reads it.
QString captureLine(const QString& folder, const QString& name);

// The three grid columns of a library: row counters from "1", descriptions and paths.
struct LibraryColumns {
    QStringList counters;
    QStringList descriptions;
    QStringList paths;
};
LibraryColumns columnsFromLines(const QStringList& lines, TimeSlice& slice);

// No entry's line is longer: a path of 4096 bytes, each kept byte of a name that is not UTF-8
// written as three, and its file name again as the description.
inline constexpr qsizetype longestLine = 16 * 1024;

// How a read of the library file went. Damaged: it holds lines longer than any entry's, which
// are left out. TooBig: more entries than memory holds; nothing of it is kept.
enum class LibraryRead { Read, Missing, Damaged, TooBig };

// The library file at path as grid columns, read a piece at a time: a file of a gigabyte must
// not be decoded whole into memory to find that it is no library.
LibraryRead readLibraryColumns(const QString& path, LibraryColumns& columns, TimeSlice& slice);
// The library file's lines, on the same terms.
LibraryRead readLibraryLines(const QString& path, QStringList& lines, TimeSlice& slice);

// Removes the file line that grid row `row` (from 1) stands for, but only when that line still holds
// the entry the row shows: a grid filled from elsewhere (a capture whose save failed, a listing of
// a folder) must never cost the file a different line. Returns whether a line was removed.
bool removeEntryLine(QStringList& lines, int row, const LibraryEntry& shown);

} // namespace library
