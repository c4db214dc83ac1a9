#include "playlist/deck_list.h"

#include "widgets/LedCounter.h"

#include <QListWidget>

namespace playlist {

int selectedIndex(const Deck& deck)
{
    return deck.listBox->currentRow();
}

bool fitsDeckList(const QString& description, const QString& path)
{
    return description.size() <= longestEntry && path.size() <= longestEntry;
}

void showCount(Deck& deck)
{
    deck.trackCount->setValue(deck.listBox->count());
}

void replaceEntries(Deck& deck, const QStringList& names, const QStringList& paths)
{
    deck.listBox->clear();
    deck.listBox->addItems(names);
    deck.paths = paths;
}

} // namespace playlist
