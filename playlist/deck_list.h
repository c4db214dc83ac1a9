// The deck's list box and its counter as the playlist operations use them. Main thread.
#pragma once

#include "app/deck.h"

#include <QStringList>

namespace playlist {

// Every row of a deck's list is this many pixels high at the layout's own size; a scaled
// window's rows grow with its font, so accents and underscores stay inside their row.
inline constexpr int listRowHeight = 13;
// The height of the list's rows; a drop row is counted in them.
int rowHeight(const QListWidget* list);

// The list's selected entry, -1 when none.
int selectedIndex(const Deck& deck);

// No file system takes a path longer than Linux's 4096 bytes, and no character is less than a
// byte: an entry longer than that is damaged data, and kept it would swell the session file that
// is rewritten every few seconds.
inline constexpr qsizetype longestEntry = 4096;
bool fitsDeckList(const QString& description, const QString& path);

// Sets the counter to the number of entries.
void showCount(Deck& deck);

// Replaces both the display list and the path list in one step, so no pending event handled
// in between ever sees them of different lengths.
void replaceEntries(Deck& deck, const QStringList& names, const QStringList& paths);

} // namespace playlist
