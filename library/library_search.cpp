#include "library/library_search.h"

#include "library/locale_text.h"
#include "library/time_slice.h"

#include <Qt>
#include <array>

namespace library {

QString searchNeedle(const QString& typed)
{
    return upperLocale(typed).left(needleLimit);
}

QList<int> findInDescriptions(int lastRow, const DescriptionAt& description, const QString& needle, TimeSlice& slice)
{
    QList<int> rows;
    for (int row = 1; row <= lastRow; ++row) {
        slice.tick();
        const QString window = upperLocale(description(row).left(searchWindow)).left(searchWindow);
        if (window.contains(needle))
            rows.append(row);
    }
    return rows;
}

QChar typeAheadCharacter(int qtKey)
{
    const bool accepted = qtKey == ' ' || (qtKey >= '-' && qtKey <= '9') || qtKey == '=' ||
                          (qtKey >= 'A' && qtKey <= 'Z') || qtKey == '_';
    return accepted ? QChar(char16_t(qtKey)) : QChar();
}

namespace {

// Compares upperLocale(text.left(target.size())) with target, an upper-cased ASCII text, without
// upper-casing a whole string for every row of a big library: ASCII characters go through a table
// of the locale's upper case, and only texts holding other characters take the full rule.
class UpperPrefixMatcher {
public:
    explicit UpperPrefixMatcher(const QString& target) : target_(target)
    {
        for (char16_t c = 0; c < 128; ++c) {
            const QString upper = upperLocale(QString(QChar(c)));
            upper_[c] = upper.size() == 1 && upper[0].unicode() < 128 ? upper[0].unicode() : 0;
        }
    }

    bool matches(const QString& text) const
    {
        const qsizetype n = target_.size();
        if (text.size() >= n) {
            qsizetype i = 0;
            for (; i < n; ++i) {
                const char16_t c = text[i].unicode();
                if (c >= 128 || upper_[c] == 0)
                    break;
                if (upper_[c] != target_[i].unicode())
                    return false;
            }
            if (i == n)
                return true;
        }
        return upperLocale(text.left(n)) == target_;
    }

private:
    QString target_;
    std::array<char16_t, 128> upper_{};
};

} // namespace

TypeAheadStep typeAheadKey(QString& prefix, int qtKey, int currentRow, int lastRow, const DescriptionAt& description)
{
    if (description(currentRow).isEmpty())
        return {};
    if (qtKey == Qt::Key_Backspace)
        prefix.chop(1);
    TypeAheadStep step{true, -1};
    const QChar c = typeAheadCharacter(qtKey);
    if (c.isNull())
        return step;
    const UpperPrefixMatcher matcher(upperLocale(prefix + c));
    for (int row = 1; row <= lastRow; ++row) {
        if (matcher.matches(description(row))) {
            step.row = row;
            prefix.append(c);
            break;
        }
    }
    return step;
}

} // namespace library
