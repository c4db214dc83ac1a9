#include "library/event_hook.h"

#include <QKeyEvent>
#include <QObject>

namespace library {

namespace {

class EventHook : public QObject {
public:
    EventHook(QObject* target, std::function<bool(QEvent*)> function)
        : QObject(target), function_(std::move(function))
    {
        target->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override { return function_(event); }

private:
    std::function<bool(QEvent*)> function_;
};

} // namespace

void onEvents(QObject* target, std::function<bool(QEvent*)> function)
{
    new EventHook(target, std::move(function));
}

QChar typedCharacter(const QKeyEvent& event)
{
    switch (event.key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return QChar(13);
    case Qt::Key_Escape:
        return QChar(27);
    case Qt::Key_Backspace:
        return QChar(8);
    case Qt::Key_Tab:
        return QChar(9);
    default:
        return event.text().isEmpty() ? QChar() : event.text().front();
    }
}

} // namespace library
