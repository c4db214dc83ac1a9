#include "library/grid_drag.h"

#include "widgets/StringGrid.h"

#include <QApplication>
#include <QDrag>
#include <QMimeData>
#include <QMouseEvent>

namespace library {

namespace {

const char* const watcherName = "gridPresses";

class GridPresses : public QObject
{
public:
    GridPresses(StringGrid* grid, std::function<void(Qt::MouseButton)> mouseDown, std::function<void()> doubleClick)
        : QObject(grid), grid_(grid), mouseDown_(std::move(mouseDown)), doubleClick_(std::move(doubleClick))
    {
        setObjectName(watcherName);
        grid->viewport()->installEventFilter(this);
    }

    void begin(bool immediate)
    {
        armed_ = true;
        immediate_ = immediate;
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        switch (event->type()) {
        case QEvent::MouseButtonPress: {
            if (handlingPress_)
                return false;
            auto* press = static_cast<QMouseEvent*>(event);
            armed_ = false;
            pressAt_ = press->position().toPoint();
            gridFirst(watched, event);
            mouseDown_(press->button());
            return true;
        }
        case QEvent::MouseButtonDblClick: {
            if (handlingPress_ || !doubleClick_)
                return false;
            gridFirst(watched, event);
            if (static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton)
                doubleClick_();
            return true;
        }
        case QEvent::MouseMove: {
            auto* move = static_cast<QMouseEvent*>(event);
            if (!armed_ || !(move->buttons() & Qt::LeftButton))
                return false;
            const int moved = (move->position().toPoint() - pressAt_).manhattanLength();
            if (!immediate_ && moved < QApplication::startDragDistance())
                return false;
            armed_ = false;
            drag();
            return true;
        }
        case QEvent::MouseButtonRelease:
            armed_ = false;
            return false;
        default:
            return false;
        }
    }

private:
    // The grid selects the row under the pointer first; the handler then sees it.
    void gridFirst(QObject* watched, QEvent* event)
    {
        handlingPress_ = true;
        QCoreApplication::sendEvent(watched, event);
        handlingPress_ = false;
    }

    void drag()
    {
        auto* mime = new QMimeData;
        mime->setData(QStringLiteral("application/x-voltaria-library-row"), QByteArray::number(grid_->Row()));
        auto* carried = new QDrag(grid_);
        carried->setMimeData(mime);
        carried->exec(Qt::CopyAction);
    }

    StringGrid* grid_;
    std::function<void(Qt::MouseButton)> mouseDown_;
    std::function<void()> doubleClick_;
    QPoint pressAt_;
    bool handlingPress_ = false;
    bool armed_ = false;
    bool immediate_ = false;
};

} // namespace

void watchGridPresses(StringGrid* grid, std::function<void(Qt::MouseButton)> mouseDown,
                      std::function<void()> doubleClick)
{
    new GridPresses(grid, std::move(mouseDown), std::move(doubleClick));
}

void beginGridDrag(StringGrid* grid, bool immediate)
{
    if (auto* presses = static_cast<GridPresses*>(grid->findChild<QObject*>(watcherName, Qt::FindDirectChildrenOnly)))
        presses->begin(immediate);
}

} // namespace library
