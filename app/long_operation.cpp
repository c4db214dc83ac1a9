#include "app/long_operation.h"

#include <QMetaObject>
#include <QPointer>
#include <QWidget>

namespace app {

namespace {

LongOperation* innermost = nullptr;
QPointer<QWidget> closeHeld;

} // namespace

LongOperation::LongOperation(std::function<void()> cancel) : cancel_(std::move(cancel)), outer_(innermost)
{
    innermost = this;
}

LongOperation::~LongOperation()
{
    innermost = outer_;
    if (innermost || !closeHeld)
        return;
    // Queued: the handler that ran the operation finishes its own steps before the close.
    QMetaObject::invokeMethod(closeHeld.data(), &QWidget::close, Qt::QueuedConnection);
    closeHeld.clear();
}

bool LongOperation::running()
{
    return innermost != nullptr;
}

bool LongOperation::holdClose(QWidget* window)
{
    if (!innermost)
        return false;
    closeHeld = window;
    for (LongOperation* operation = innermost; operation; operation = operation->outer_) {
        if (operation->cancel_)
            operation->cancel_();
    }
    return true;
}

} // namespace app
