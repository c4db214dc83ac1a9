#include "library/library_file.h"

#include "base/path_bytes.h"

#include "library/locale_text.h"
#include "library/time_slice.h"

namespace library {

namespace {

// Whether a path starts at position i: "/", or a drive letter with ":\" in lists from Windows.
bool pathStartsAt(const QString& line, qsizetype i)
{
    if (i >= line.size())
        return false;
    if (line[i] == u'/')
        return true;
    const char16_t letter = line[i].toUpper().unicode();
    return letter >= u'A' && letter <= u'Z' && i + 2 < line.size() && line[i + 1] == u':' && line[i + 2] == u'\\';
}

// The "#" that ends the description: the first one a path follows, so a file name holding "#"
// stays whole; the first "#" of a line without such a one.
qsizetype separatorOf(const QString& line)
{
    const qsizetype first = line.indexOf(u'#');
    for (qsizetype hash = first; hash >= 0; hash = line.indexOf(u'#', hash + 1)) {
        if (pathStartsAt(line, hash + 1))
            return hash;
    }
    return first;
}

} // namespace

LibraryEntry parseLine(const QString& line)
{
    const qsizetype hash = separatorOf(line);
    if (hash < 0)
        return {QString(), line};
    return {line.left(hash), line.mid(hash + 1)};
}

QString captureLine(const QString& folder, const QString& name)
{
    return upperLocale(base::displayName(name)) + u'#' + folder + name;
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
