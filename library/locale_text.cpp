#include "library/locale_text.h"

#include <QCollator>
#include <QLocale>
#include <algorithm>
#include <numeric>
#include <vector>

namespace library {

QString upperLocale(const QString& text)
{
    return QLocale::system().toUpper(text);
}

void sortCaseInsensitive(QStringList& lines)
{
    QCollator collator(QLocale::system());
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    // One sort key per line turns every comparison of the sort into a byte comparison.
    std::vector<QCollatorSortKey> keys;
    keys.reserve(lines.size());
    for (const QString& line : lines)
        keys.push_back(collator.sortKey(line));
    std::vector<qsizetype> order(lines.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(),
                     [&keys](qsizetype a, qsizetype b) { return keys[a].compare(keys[b]) < 0; });
    QStringList sorted;
    sorted.reserve(lines.size());
    for (qsizetype i : order)
        sorted.append(std::move(lines[i]));
    lines = std::move(sorted);
}

} // namespace library
