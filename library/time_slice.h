// Lets the window process pending events during a long loop on the main thread (capture, library
// load, search, playlist open), at most once per slice instead of after every item, so a big list
// costs no more than the work itself while the window stays responsive. While a slice exists the
// loop is a long operation: a close of the window among those events waits for it. Main thread.
#pragma once

#include "app/long_operation.h"

#include <QElapsedTimer>

namespace library {

class TimeSlice {
public:
    static constexpr int defaultSliceMs = 30;

    explicit TimeSlice(int sliceMs = defaultSliceMs);

    // Called before each item: processes pending events when the slice has run out.
    void tick()
    {
        if (due())
            processEvents();
    }

    // Whether the next tick lets events run, for a loop that shows its state only then.
    bool due() const { return timer_.hasExpired(sliceMs_); }

private:
    void processEvents();

    app::LongOperation operation_;
    QElapsedTimer timer_;
    int sliceMs_;
};

} // namespace library
