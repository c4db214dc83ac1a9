#include "playlist/list_events.h"

#include "playlist/deck_list.h"
#include "widgets/ClippedTextDelegate.h"

#include <QApplication>
#include <QDropEvent>
#include <QListWidget>
#include <QMouseEvent>
#include <algorithm>
#include <cmath>

namespace playlist {

namespace {

class ListEvents : public QObject
{
public:
    ListEvents(QListWidget* list, ListHandlers handlers) : QObject(list), handlers_(std::move(handlers)) {}

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        switch (event->type()) {
        case QEvent::MouseButtonPress:
            pressed_ = true;
            return false;
        case QEvent::MouseButtonRelease:
            pressed_ = false;
            return false;
        case QEvent::MouseMove:
            // The first movement with a button held starts the drag: no distance to cover, and a
            // click that does not move still reaches the list as a click.
            if (pressed_ && static_cast<QMouseEvent*>(event)->buttons() != Qt::NoButton) {
                pressed_ = false;
                handlers_.mouseDown();
                return true;
            }
            return false;
        case QEvent::DragEnter:
        case QEvent::DragMove: {
            auto* move = static_cast<QDragMoveEvent*>(event);
            if (move->source() && handlers_.dragOver(move->source(), move->position().toPoint()))
                move->acceptProposedAction();
            else
                move->ignore();
            return true;
        }
        case QEvent::Drop: {
            auto* drop = static_cast<QDropEvent*>(event);
            if (!drop->source()) {
                drop->ignore();
                return true;
            }
            drop->acceptProposedAction();
            handlers_.drop(drop->source(), drop->position().toPoint().y());
            return true;
        }
        default:
            return false;
        }
    }

private:
    ListHandlers handlers_;
    bool pressed_ = false;
};

// Also draws each entry cut to what a row can show (a corrupted file's line can be megabytes).
class FixedRowHeight : public ClippedTextDelegate
{
public:
    explicit FixedRowHeight(QListWidget* list) : ClippedTextDelegate(list), list_(list) {}

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        return QSize(ClippedTextDelegate::sizeHint(option, index).width(), rowHeight(list_));
    }

private:
    QListWidget* list_;
};

} // namespace

void watchListEvents(QListWidget* list, ListHandlers handlers)
{
    list->setAcceptDrops(true);
    list->viewport()->setAcceptDrops(true);
    list->viewport()->installEventFilter(new ListEvents(list, std::move(handlers)));
}

int rowHeight(const QListWidget* list)
{
    // At the layout's own size the rows are 13 pixels, as the drop counts them; a scaled
    // window's rows grow with its font, at least to the font's full height.
    const double scale = list->font().pointSizeF() / QApplication::font(list).pointSizeF();
    if (scale <= 1.0)
        return listRowHeight;
    return std::max(int(std::lround(listRowHeight * scale)), list->fontMetrics().height());
}

void useFixedRowHeight(QListWidget* list)
{
    list->setUniformItemSizes(true);
    list->setSpacing(0);
    list->setItemDelegate(new FixedRowHeight(list));
}

} // namespace playlist
