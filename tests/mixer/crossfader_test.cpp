// The crossfader's volume law between the decks under the master volume, and "Fade Padrão ".
#include "deck_fixture.h"

#include "widgets/TrackBar.h"

#include <QAction>

class Crossfader : public DeckTest
{
public:
    void playBoth()
    {
        for (Deck* d : {&w->deckA, &w->deckB}) {
            fill(*d, {track(d->channelName + ".wav")});
            clickRow(*d, 0);
            press(d->playButton);
        }
    }

    std::pair<uint32_t, uint32_t> volumes() const { return {w->canal_a->volume(), w->canal_b->volume()}; }
};

// Catches a law scaled by the master volume, a centre that is not both at M, and the two
// sides swapped.
TEST_F(Crossfader, VolumeLawOfBothDecks)
{
    playBoth();
    const struct {
        int crossfader, master;
        uint32_t a, b;
    } rows[] = {
        {0, 100, 100, 0},  {50, 100, 100, 50}, {99, 50, 50, 99},  {100, 50, 50, 50},  {100, 100, 100, 100},
        {101, 100, 99, 100}, {150, 100, 50, 100}, {150, 30, 50, 30}, {200, 100, 0, 100}, {200, 0, 0, 0},
    };
    for (const auto& row : rows) {
        // The master volume's own handler sets both to M; the law applies at the next change.
        w->Trackbar6->setValue(row.master);
        w->Trackbar18->setValue(row.crossfader == 100 ? 99 : 100);
        w->Trackbar18->setValue(row.crossfader);
        EXPECT_EQ(volumes(), std::pair(row.a, row.b)) << row.crossfader << " with M " << row.master;
    }
}

// Moving the master volume sets both decks to it whatever the crossfader shows.
TEST_F(Crossfader, MasterVolumeOverridesUntilTheNextChange)
{
    playBoth();
    w->Trackbar18->setValue(0);
    EXPECT_EQ(volumes(), std::pair(100u, 0u));
    w->Trackbar6->setValue(80);
    EXPECT_EQ(volumes(), std::pair(80u, 80u));
    w->Trackbar18->setValue(20);
    EXPECT_EQ(volumes(), std::pair(80u, 20u));
}

// Play applies the law once its channel has started, so a deck starts where the crossfader is.
TEST_F(Crossfader, PlayAppliesTheLaw)
{
    w->Trackbar18->setValue(170);
    playBoth();
    EXPECT_EQ(volumes(), std::pair(30u, 100u));
}

TEST_F(Crossfader, FadePadraoCentresIt)
{
    playBoth();
    w->Trackbar6->setValue(60);
    w->Trackbar18->setValue(10);
    w->FadePadro1->trigger();
    EXPECT_EQ(w->Trackbar18->value(), 100);
    EXPECT_EQ(volumes(), std::pair(60u, 60u));
}

// With a track on one deck only, the law still sets that deck; the empty deck is left alone.
// Catches a law that gives up, or takes the wrong side, when the other deck has no track.
TEST_F(Crossfader, ALoneDeckStillFollowsTheLaw)
{
    const struct {
        int loaded; // the deck holding a track
        int crossfader;
        uint32_t volume;
    } rows[] = {{1, 150, 50}, {1, 50, 100}, {2, 50, 50}, {2, 150, 100}, {1, 100, 100}, {2, 100, 100}};
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::Message() << "deck " << row.loaded << " at " << row.crossfader);
        fresh();
        Deck& d = deck(row.loaded);
        fill(d, {track("alone.wav")});
        clickRow(d, 0);
        press(d.playButton);
        w->Trackbar18->setValue(row.crossfader == 100 ? 99 : 100);
        w->Trackbar18->setValue(row.crossfader);
        EXPECT_EQ(d.channel->volume(), row.volume);
        EXPECT_TRUE(w->otherDeck(d).channel->FileName.isEmpty());
    }
}
