// Long operations that let pending events run on the main thread (capture, library load, search,
// playlist open, PRG). A request to close the main window that arrives among those events must
// not delete the window under the running operation: while one runs the request is held, the
// operation is asked to end as its own Cancel would end it (when it has one), and the close is
// made again, through the window's usual close step, once the outermost operation has ended.
// Other work that must not run among those events (a file handed over by another copy) waits
// for the end in the same way.
// Main thread only.
#pragma once

#include <functional>

class QObject;
class QWidget;

namespace app {

class LongOperation {
public:
    // cancel ends the operation early, as its Cancel does; operations without one run to their end.
    explicit LongOperation(std::function<void()> cancel = {});
    ~LongOperation();
    LongOperation(const LongOperation&) = delete;
    LongOperation& operator=(const LongOperation&) = delete;

    static bool running();

    // For the window's close requests: true when an operation runs, which has then been asked to
    // end and will close `window` again after it; the caller refuses this request.
    static bool holdClose(QWidget* window);

    // Runs `work` at once when no operation runs; otherwise queues it for when the outermost one
    // has ended, dropped should `context` be gone by then.
    static void whenNoneRuns(QObject* context, std::function<void()> work);

private:
    std::function<void()> cancel_;
    LongOperation* outer_;
};

} // namespace app
