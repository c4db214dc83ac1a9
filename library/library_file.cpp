#include "library/library_file.h"

#include "library/locale_text.h"
#include "library/time_slice.h"

namespace library {

LibraryEntry parseLine(const QString& line)
{
    const qsizetype hash = line.indexOf(u'#');
    if (hash < 0)
        return {QString(), line};
    return {line.left(hash), line.mid(hash + 1)};
}

QString captureLine(const QString& folder, const QString& name)
{
    return upperLocale(name) + u'#' + folder + name;
}

LibraryColumns columnsFromLines(const QStringList& lines, TimeSlice& slice)
{
    LibraryColumns columns;
    columns.counters.reserve(lines.size());
    columns.descriptions.reserve(lines.size());
    columns.paths.reserve(lines.size());
    for (qsizetype i = 0; i < lines.size(); ++i) {
        slice.tick();
        LibraryEntry entry = parseLine(lines[i]);
        columns.counters.append(QString::number(i + 1));
        columns.descriptions.append(std::move(entry.description));
        columns.paths.append(std::move(entry.path));
    }
    return columns;
}

bool removeEntryLine(QStringList& lines, int row, const LibraryEntry& shown)
{
    const qsizetype index = qsizetype(row) - 1;
    if (index < 0 || index >= lines.size() || parseLine(lines[index]) != shown)
        return false;
    lines.removeAt(index);
    return true;
}

} // namespace library
