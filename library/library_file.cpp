#include "library/library_file.h"

#include "base/path_bytes.h"
#include "base/textfile.h"

#include "library/locale_text.h"
#include "library/time_slice.h"

#include <new>

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

namespace {

void appendEntry(LibraryColumns& columns, const QString& line)
{
    LibraryEntry entry = parseLine(line);
    columns.counters.append(QString::number(columns.counters.size() + 1));
    columns.descriptions.append(std::move(entry.description));
    columns.paths.append(std::move(entry.path));
}

LibraryRead readLibrary(const QString& path, TimeSlice& slice, const std::function<void(QString&&)>& each)
{
    try {
        const textfile::PieceRead result = textfile::forEachFileLine(path, longestLine, [&](QString&& line) {
            slice.tick();
            each(std::move(line));
        });
        if (!result.read)
            return LibraryRead::Missing;
        return result.tooLong == 0 ? LibraryRead::Read : LibraryRead::Damaged;
    } catch (const std::bad_alloc&) {
        return LibraryRead::TooBig;
    }
}

} // namespace

LibraryColumns columnsFromLines(const QStringList& lines, TimeSlice& slice)
{
    LibraryColumns columns;
    columns.counters.reserve(lines.size());
    columns.descriptions.reserve(lines.size());
    columns.paths.reserve(lines.size());
    for (const QString& line : lines) {
        slice.tick();
        appendEntry(columns, line);
    }
    return columns;
}

LibraryRead readLibraryColumns(const QString& path, LibraryColumns& columns, TimeSlice& slice)
{
    columns = {};
    const LibraryRead read = readLibrary(path, slice, [&](QString&& line) { appendEntry(columns, line); });
    if (read == LibraryRead::Missing || read == LibraryRead::TooBig)
        columns = {};
    return read;
}

LibraryRead readLibraryLines(const QString& path, QStringList& lines, TimeSlice& slice)
{
    lines.clear();
    const LibraryRead read = readLibrary(path, slice, [&](QString&& line) { lines.append(std::move(line)); });
    if (read == LibraryRead::Missing || read == LibraryRead::TooBig)
        lines.clear();
    return read;
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
