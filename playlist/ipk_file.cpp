#include "playlist/ipk_file.h"

#include "library/locale_text.h"
#include "library/time_slice.h"

namespace playlist {

QString entryName(const QString& path)
{
    return library::upperLocale(path.mid(path.lastIndexOf('/') + 1));
}

QStringList entryNames(const QStringList& paths, library::TimeSlice& slice)
{
    QStringList names;
    names.reserve(paths.size());
    for (const QString& path : paths) {
        slice.tick();
        names.append(entryName(path));
    }
    return names;
}

QString saveTarget(const QString& typedName)
{
    if (typedName.contains(QLatin1String(".IPK"), Qt::CaseSensitive))
        return typedName;
    return typedName.trimmed() + QLatin1String(".IPK");
}

} // namespace playlist
