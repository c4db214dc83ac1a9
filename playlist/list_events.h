// Turns the mouse and the drags over a deck's list box into the deck's drag handlers: a press
// reaches the list (so it selects the entry under the pointer) and the first movement with the
// button held starts the deck's drag; drags begun inside the program are offered to the deck's
// drag-over and drop handlers; drags from other programs are refused. Main thread.
#pragma once

#include <QObject>
#include <QPoint>
#include <functional>

class QListWidget;

namespace playlist {

struct ListHandlers {
    std::function<void()> mouseDown;
    std::function<bool(QObject* source, QPoint point)> dragOver;
    std::function<void(QObject* source, int y)> drop;
};

// Watches the list's viewport; owned by the list.
void watchListEvents(QListWidget* list, ListHandlers handlers);

// Gives every row of the list the same height: 13 pixels, more on a scaled window (rowHeight).
void useFixedRowHeight(QListWidget* list);

} // namespace playlist
