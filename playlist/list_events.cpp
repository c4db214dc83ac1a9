#include "playlist/list_events.h"

#include "widgets/ClippedTextDelegate.h"

#include <QDropEvent>
#include <QListWidget>
#include <QMouseEvent>

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
    FixedRowHeight(int height, QObject* parent) : ClippedTextDelegate(parent), height_(height) {}

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        return QSize(ClippedTextDelegate::sizeHint(option, index).width(), height_);
    }

private:
    int height_;
};

} // namespace

void watchListEvents(QListWidget* list, ListHandlers handlers)
{
    list->setAcceptDrops(true);
    list->viewport()->setAcceptDrops(true);
    list->viewport()->installEventFilter(new ListEvents(list, std::move(handlers)));
}

void useFixedRowHeight(QListWidget* list, int height)
{
    list->setUniformItemSizes(true);
    list->setSpacing(0);
    list->setItemDelegate(new FixedRowHeight(height, list));
}

} // namespace playlist
