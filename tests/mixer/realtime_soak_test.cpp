// The auto-mix on the real path for a minute: the window on the clock-paced null device in real
// time, short generated tracks without silence, Auto Mix on. Run in a child process of this
// test program, so a hang is killed and no simulated clock of the other cases is involved.
#include "audio/null_device.h"
#include "support/realtime_soak.h"

#include <cstdio>

// Catches silence between tracks that only the real clock shows: a next track that is not
// ready when the hand-over starts it, an end noticed late, an underrun at a start.
TEST_F(OnNullDevice, AMinuteOfAutoMixHasNoSilentBlock)
{
    soak::RealTimeOptions options;
    options.seconds = 60;
    const soak::RealTimeResult r = soak::runRealTime(options);
    std::printf("%s\n", qPrintable(r.line()));
    EXPECT_EQ(r.silentBlocks, 0);
    EXPECT_EQ(r.lostBlocks, 0);
    EXPECT_EQ(r.messages, QStringList{});
    // Tracks of 2.5 to 8 s handed over 3 s before their ends (a jingle at once): well over ten.
    EXPECT_GE(r.handOvers, 10);
    // The device kept the clock's pace: blocks for nearly the whole minute.
    EXPECT_GE(r.blocks, int64_t(options.seconds) * 100 * 9 / 10);
}

TEST(RealTime, AMinuteOfAutoMixHasNoSilentBlockInAChild) { runOnNullDevice("AMinuteOfAutoMixHasNoSilentBlock"); }
