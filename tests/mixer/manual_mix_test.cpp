// "Mix A", "Mix B" and F12: the hand-over from the playing deck to the other one, the
// comparison that decides whether a mix runs, and the centred crossfader.
#include "deck_fixture.h"

#include "widgets/TrackBar.h"

#include <QFile>
#include <QTimer>

namespace {

// What a deck is doing, as far as a mix changes it.
struct DeckState {
    bool playing = false;
    bool fading = false;
    bool fromStart = false; // playing within the first 100 ms of its track

    bool operator==(const DeckState&) const = default;
};

std::ostream& operator<<(std::ostream& out, const DeckState& s)
{
    return out << (s.playing ? "playing" : "silent") << (s.fading ? " fading" : "")
               << (s.fromStart ? " from the start" : "");
}

DeckState stateOf(const Deck& d)
{
    const bool playing = d.channel->Playing;
    return {playing, playing && d.mixing && d.channel->FadeTimer->Enabled(),
            playing && d.channel->GetPosition() < 100};
}

constexpr DeckState silent{};
constexpr DeckState started{true, false, true};
constexpr DeckState playingOn{true, false, false};
constexpr DeckState fading{true, true, false};

constexpr int kOffCentre = 40;

} // namespace

class ManualMix : public DeckTest
{
public:
    // A new window with a track loaded on each deck and the crossfader off centre; the decks
    // asked for play for 300 ms, the one numbered `fades` fading, and the lamp tick has run
    // since unless told otherwise.
    void prepare(bool aPlays, bool bPlays, bool lampTick = true, int fades = 0)
    {
        fresh();
        for (Deck* d : {&w->deckA, &w->deckB}) {
            fill(*d, {track(d->channelName + "1.wav"), track(d->channelName + "2.wav")});
            clickRow(*d, 0);
        }
        w->Trackbar18->setValue(kOffCentre);
        if (aPlays)
            press(w->deckA.playButton);
        if (bPlays)
            press(w->deckB.playButton);
        h.render(300);
        if (fades)
            press(deck(fades).fadeButton);
        if (lampTick)
            h.tick("Timer3");
    }

    std::pair<DeckState, DeckState> states() const { return {stateOf(w->deckA), stateOf(w->deckB)}; }
};

// Catches F12 mixing towards a playing deck, running both mixes, or centring the crossfader
// when it mixes nothing.
TEST_F(ManualMix, F12MixesTowardsTheSilentDeck)
{
    const struct {
        const char* name;
        bool aPlays, bPlays, lampTick;
        int fades;
        DeckState a, b;
        int crossfader;
    } rows[] = {
        {"nothing playing", false, false, true, 0, silent, silent, kOffCentre},
        {"A playing", true, false, true, 0, fading, started, 100},
        {"B playing", false, true, true, 0, started, fading, 100},
        {"both playing", true, true, true, 0, playingOn, playingOn, kOffCentre},
        // A fading deck has its Play back but its mix button stays off while it sounds.
        {"both playing, A fading", true, true, true, 1, fading, playingOn, kOffCentre},
        {"both playing, B fading", true, true, true, 2, playingOn, fading, kOffCentre},
        // "Mix B" is still enabled: the second step restarts B and fades the A just started.
        {"B playing, no lamp tick yet", false, true, false, 0, {true, true, true}, started, 100},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        prepare(row.aPlays, row.bPlays, row.lampTick, row.fades);
        h.key(Qt::Key_F12);
        EXPECT_EQ(states(), std::pair(row.a, row.b));
        EXPECT_EQ(w->Trackbar18->value(), row.crossfader);
    }
}

// The mix buttons themselves, each way: the other deck starts, the playing one fades, the
// hand-over flags say so, and the crossfader is centred.
TEST_F(ManualMix, EachButtonHandsOverToItsDeck)
{
    prepare(true, false);
    h.click("speedbutton2");
    EXPECT_EQ(states(), std::pair(fading, started));
    EXPECT_TRUE(w->mixando_a);
    EXPECT_FALSE(w->mixando_b);
    EXPECT_EQ(w->Trackbar18->value(), 100);

    prepare(false, true);
    h.click("speedbutton1");
    EXPECT_EQ(states(), std::pair(started, fading));
    EXPECT_FALSE(w->mixando_a);
    EXPECT_TRUE(w->mixando_b);
    EXPECT_EQ(w->Trackbar18->value(), 100);
}

// Unequal truth values stop a mix: the target already playing with the other deck silent, or
// the target's Play disabled while the other deck plays.
TEST_F(ManualMix, AMixRunsOnlyWhenPlayEnabledEqualsTheOtherPlaying)
{
    // Within 500 ms of B's start "Mix B" is still enabled; B's Play is off and A is silent.
    prepare(false, true, false);
    h.click("speedbutton2");
    EXPECT_EQ(states(), std::pair(silent, started)) << "B restarts from its beginning";
    EXPECT_EQ(w->Trackbar18->value(), 100);

    prepare(true, false);
    w->deckB.playButton->setEnabled(false);
    w->SpeedButton2Click();
    EXPECT_EQ(states(), std::pair(playingOn, silent));
    EXPECT_EQ(w->Trackbar18->value(), kOffCentre);

    prepare(false, false);
    w->SpeedButton1Click(); // A's Play is enabled, B is silent
    EXPECT_EQ(states(), std::pair(silent, silent));
    EXPECT_EQ(w->Trackbar18->value(), kOffCentre);
}

// Deck A's fade was started before: it goes on at its own pace instead of starting over.
TEST_F(ManualMix, MixBWhileAFadesLetsTheFadeGoOn)
{
    prepare(true, false);
    press(w->deckA.fadeButton);
    for (int step = 0; step < 5; ++step)
        w->canal_a->FadeStep();
    const uint32_t reached = w->canal_a->FadeVolume;
    ASSERT_LT(reached, 100u);

    h.click("speedbutton2");
    EXPECT_EQ(states(), std::pair(fading, started));
    EXPECT_EQ(w->canal_a->FadeVolume, reached);
    w->canal_a->FadeStep();
    EXPECT_LT(w->canal_a->FadeVolume, reached);
    EXPECT_LT(w->canal_a->volume(), reached);
}

// With deck A stopped and deck B's playlist emptied, "Mix B" still centres the crossfader and
// plays deck B's last loaded track, if its file is still there.
TEST_F(ManualMix, MixBWithPlayDisabledStartsTheLastLoadedTrack)
{
    for (bool fileKept : {true, false}) {
        SCOPED_TRACE(fileKept ? "file kept" : "file removed");
        prepare(false, false);
        press(w->deckB.clearButton);
        h.tick("Timer3");
        ASSERT_FALSE(w->deckB.playButton->isEnabled());
        if (!fileKept)
            QFile::remove(w->canal_b->FilePath);
        h.click("speedbutton2");
        EXPECT_EQ(states(), std::pair(silent, fileKept ? started : silent));
        EXPECT_EQ(w->Trackbar18->value(), 100);
    }
}

// A mix from a crossfader pushed towards the playing deck: the started deck comes in at the
// master volume, not at the crossfader's old value, and the other deck fades from it. Catches
// a mix that starts the deck before the crossfader's centre reaches its volume.
TEST_F(ManualMix, TheStartedDeckComesInAtTheMasterVolume)
{
    for (const char* button : {"speedbutton2", "speedbutton1"}) {
        SCOPED_TRACE(button);
        const bool towardsB = QString(button) == "speedbutton2";
        prepare(towardsB, !towardsB);
        w->Trackbar18->setValue(towardsB ? 20 : 180); // the silent deck would come in at 20
        h.click(button);
        Deck& started = towardsB ? w->deckB : w->deckA;
        Deck& fadingOut = w->otherDeck(started);
        EXPECT_EQ(started.channel->volume(), 100u);
        fadingOut.channel->FadeStep();
        EXPECT_EQ(fadingOut.channel->volume(), 90u);
    }
}
