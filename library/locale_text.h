// Upper-casing and ordering of library texts by the user's locale, as the library file, the capture
// and the search compare them. Main thread.
#pragma once

#include <QString>
#include <QStringList>

namespace library {

// Upper-cases by the locale's rules, accented letters included.
QString upperLocale(const QString& text);

// Sorts lines in ascending order by the locale's collation, without regard to letter case.
// Lines that collate equal keep their order.
void sortCaseInsensitive(QStringList& lines);

} // namespace library
