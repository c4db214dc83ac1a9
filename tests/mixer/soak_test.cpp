// The auto-mix left alone through two playlists of 200 tracks each, once round both and
// back to their first entries, with every hand-over checked.
#include "support/harness.h"
#include "support/soak.h"


TEST(AutoMixSoak, TwoPlaylistsOf200TracksHandOverWithoutSilenceSkipsOrRepeats)
{
    test::Harness h;
    h.create();
    h.show();
    soak::Options options;
    options.tracksPerDeck = 200;
    options.wraps = 1;
    const soak::Result result = soak::run(*h.window, h.dataDir.path(), options);
    EXPECT_TRUE(result.faults.isEmpty()) << result.faults.join("\n").toStdString();
    // Every entry that can be played once, then both first entries again: three cannot.
    EXPECT_EQ(result.handOvers, 2 * 200 - 3 + 2 - 1);
    EXPECT_EQ(result.passedOver, 3);
    EXPECT_EQ(result.wraps[0], 1);
    EXPECT_EQ(result.wraps[1], 1);
    ASSERT_GE(result.rssKb.size(), 8u);
    const long settled = result.rssKb[result.rssKb.size() / 4];
    // A leaked stream alone would hold a second of decoded audio, some 350 kB.
    EXPECT_LT(result.rssKb.back() - settled, 4 * 1024) << "kB from " << settled;
}
