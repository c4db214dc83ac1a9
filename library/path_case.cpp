#include "library/path_case.h"

#include "base/path_bytes.h"

#include <QDir>

namespace library {

namespace {

// The entry of folder whose name equals name but for letter case, or an empty text.
QString entryIgnoringCase(const QString& folder, const QString& name)
{
    const QStringList entries = QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    for (const QString& entry : entries) {
        if (entry.compare(name, Qt::CaseInsensitive) == 0)
            return entry;
    }
    return {};
}

} // namespace

QString existingPathIgnoringCase(const QString& path)
{
    if (path.isEmpty() || base::exists(path) || !path.startsWith(u'/'))
        return path;
    const QStringList parts = path.split(u'/', Qt::SkipEmptyParts);
    QString resolved;
    for (const QString& part : parts) {
        const QString candidate = resolved + u'/' + part;
        if (base::exists(candidate)) {
            resolved = candidate;
            continue;
        }
        const QString entry = entryIgnoringCase(resolved.isEmpty() ? QStringLiteral("/") : resolved, part);
        if (entry.isEmpty())
            return path;
        resolved += u'/' + entry;
    }
    return resolved;
}

} // namespace library
