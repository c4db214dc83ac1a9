// Simulated time for the main window's decks on the manual audio backend: audio is rendered
// in 10 ms periods and each timer a playing deck depends on runs at its own interval of that
// time (monitor 50 ms, the decks' and the clip's end watchers 60 ms, fade stepper its interval,
// the silence watch 250 ms), never by the wall clock.
// Shared by the mixer tests and voltaria-bench. Main thread only.
#pragma once
#include "app/UMIXER.h"
#include "support/real_timers.h"

#include <cstdint>
#include <vector>

namespace test {

class DeckClock
{
public:
    static constexpr int kPeriodMs = 10;

    explicit DeckClock(Tform_mixer& window) : w_(window), stopped_(window) {}

    // Lets `ms` pass (in whole periods); device 1's output is appended to `heard` when given.
    // `afterPeriod` runs after each period's timers.
    template <class AfterPeriod>
    void advance(int ms, std::vector<float>* heard, AfterPeriod&& afterPeriod)
    {
        for (int done = 0; done < ms; done += kPeriodMs) {
            period(heard);
            afterPeriod();
        }
    }
    void advance(int ms, std::vector<float>* heard = nullptr)
    {
        advance(ms, heard, [] {});
    }

    int64_t nowMs() const { return now_; }

    // One tick of the deck's monitor (its visual step sets the level gauge from what is heard).
    static void monitorTick(Deck& d);

private:
    void period(std::vector<float>* heard);

    Tform_mixer& w_;
    RealTimersStopped stopped_;
    int64_t now_ = 0;
    int64_t fadeElapsed_[2] = {0, 0}; // per deck, time since its fade stepper last ran
};

} // namespace test
