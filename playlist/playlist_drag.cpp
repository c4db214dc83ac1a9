// Dragging within and onto a deck's playlist: a library track dropped on the list is added at its
// end; an entry of a deck list dropped on the list moves this list's selected entry to the drop row.
#include "app/UMIXER.h"
#include "playlist/deck_list.h"
#include "widgets/StringGrid.h"

#include <QDrag>
#include <QListWidget>
#include <QMimeData>
#include <QPushButton>

namespace {

const QString deckEntryFormat = QStringLiteral("application/x-voltaria-deck-entry");

// Whether the drag began on the grid or on one of its parts (its viewport).
bool startedOn(const QObject* source, const QObject* grid)
{
    for (const QObject* o = source; o; o = o->parent())
        if (o == grid)
            return true;
    return false;
}

int topIndex(const QListWidget* list)
{
    const int row = list->indexAt(QPoint(0, 0)).row();
    return row < 0 ? 0 : row;
}

} // namespace

void Tform_mixer::ListBox1MouseDown() { startListDrag(deckA); }
void Tform_mixer::ListBox2MouseDown() { startListDrag(deckB); }
bool Tform_mixer::ListBox1DragOver(QObject*, QPoint) { return true; }
bool Tform_mixer::ListBox2DragOver(QObject*, QPoint) { return true; }
void Tform_mixer::ListBox1DragDrop(QObject* source, int y) { dropOnList(deckA, source, y); }
void Tform_mixer::ListBox2DragDrop(QObject* source, int y) { dropOnList(deckB, source, y); }

void Tform_mixer::startListDrag(Deck& d)
{
    const int selected = playlist::selectedIndex(d);
    if (selected < 0)
        return;
    d.dragRow = selected;
    auto* mime = new QMimeData;
    mime->setData(deckEntryFormat, QByteArray::number(selected));
    auto* drag = new QDrag(d.listBox);
    drag->setMimeData(mime);
    drag->exec(Qt::MoveAction);
}

void Tform_mixer::dropOnList(Deck& d, QObject* source, int y)
{
    const int count = d.listBox->count();
    int k = topIndex(d.listBox) + y / playlist::rowHeight(d.listBox);
    if (k >= count)
        k = count - 1;
    d.dragRow = k;
    if (startedOn(source, StringGrid1) || startedOn(source, StringGrid2)) {
        // A library track always goes to the end, whatever row it was dropped on.
        if (d.addButton->isEnabled())
            addFromLibrary(d);
    } else {
        // A deck list's drag (this deck's or the other's) reorders this list by its own selection.
        const int s = playlist::selectedIndex(d);
        if (count == 0 || k < 0 || s < 0)
            return;
        if (s != k) {
            d.paths.move(s, k);
            QListWidgetItem* item = d.listBox->takeItem(s);
            d.listBox->insertItem(k, item);
            // The moved track stays the deck's current entry.
            d.listBox->setCurrentRow(k);
        }
    }
    d.dragRow = -1;
}
