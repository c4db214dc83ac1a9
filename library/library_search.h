// The two ways of finding a track in the library grid, without the window: the substring search
// over the descriptions (search mode) and the type-ahead on the library grid's keys. Rows are the
// grid's, counted from 1; descriptions are read through a callback so any grid can be searched.
// Main thread.
#pragma once

#include <QChar>
#include <QList>
#include <QString>
#include <functional>

namespace library {

class TimeSlice;

using DescriptionAt = std::function<QString(int row)>;

// Only this many leading characters of a description are searched.
inline constexpr int searchWindow = 50;
inline constexpr int needleLimit = 255;

// The needle of a search: the box's text as typed, blanks included, upper-cased, at most 255 characters.
QString searchNeedle(const QString& typed);

// Rows 1..lastRow whose description, upper-cased and cut to its first 50 characters, holds needle.
QList<int> findInDescriptions(int lastRow, const DescriptionAt& description, const QString& needle, TimeSlice& slice);

// The character a type-ahead key adds: letters (as capitals), digits, blank, '-', '.', '/', '=' and
// '_'; a null QChar for every other key. Qt's key codes of these keys are their character codes.
QChar typeAheadCharacter(int qtKey);

struct TypeAheadStep {
    bool accepted = false; // the key was taken: the search box now shows the prefix
    int row = -1;          // the row to select, or -1 to keep the current one
};

// One key of the type-ahead in the library grid. prefix is the text typed so far (texto_busca):
// Backspace shortens it; an accepted character selects the first row whose description starts
// with prefix + character (compared upper-cased) and is then appended, or changes nothing when no
// row matches. A current row without description ignores the key.
TypeAheadStep typeAheadKey(QString& prefix, int qtKey, int currentRow, int lastRow, const DescriptionAt& description);

} // namespace library
