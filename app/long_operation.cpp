#include "app/long_operation.h"

#include <QMetaObject>
#include <QPointer>
#include <QWidget>
#include <utility>
#include <vector>

namespace app {

namespace {

LongOperation* innermost = nullptr;
QPointer<QWidget> closeHeld;
std::vector<std::pair<QPointer<QObject>, std::function<void()>>> workHeld;

} // namespace

LongOperation::LongOperation(std::function<void()> cancel) : cancel_(std::move(cancel)), outer_(innermost)
{
    innermost = this;
}

LongOperation::~LongOperation()
{
    innermost = outer_;
    if (innermost)
        return;
    // Queued: the handler that ran the operation finishes its own steps first.
    for (auto& [context, work] : std::exchange(workHeld, {})) {
        if (context)
            QMetaObject::invokeMethod(context.data(), std::move(work), Qt::QueuedConnection);
    }
    if (!closeHeld)
        return;
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

void LongOperation::whenNoneRuns(QObject* context, std::function<void()> work)
{
    if (!innermost) {
        work();
        return;
    }
    workHeld.emplace_back(context, std::move(work));
}

} // namespace app
