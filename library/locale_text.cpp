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
    // Equal keys fall back to the original order, which keeps the sort stable without the extra
    // moves of a merge sort.
    std::sort(order.begin(), order.end(), [&keys](qsizetype a, qsizetype b) {
        const int byKey = keys[a].compare(keys[b]);
        return byKey < 0 || (byKey == 0 && a < b);
    });
    QStringList sorted;
    sorted.reserve(lines.size());
    for (qsizetype i : order)
        sorted.append(std::move(lines[i]));
    lines = std::move(sorted);
}

} // namespace library
