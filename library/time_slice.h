// Lets the window process pending events during a long loop on the main thread (capture, library
// load, search), at most once per slice instead of after every item, so a big list costs no more
// than the work itself while the window stays responsive. Main thread.
#pragma once

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

    QElapsedTimer timer_;
    int sliceMs_;
};

} // namespace library
