// The auto-mix on both decks: where each trigger fires and where it must not, the hand-over
// cycle between the decks, and what the "Auto Mix" and "Sensibilidade" switches change.
#include "deck_fixture.h"
#include "support/deck_clock.h"

#include "widgets/LedGauge.h"
#include "widgets/SpinEdit.h"

#include <QFile>
#include <QLabel>

namespace {

constexpr int kMixMs = 3500;
constexpr int kLongMs = 30000;
constexpr int kShortMs = 1000;

uint32_t remainingMs(const Deck& d) { return uint32_t(d.channel->GetLength()) - uint32_t(d.channel->GetPosition()); }

bool fading(const Deck& d) { return d.channel->Playing && d.mixing && d.channel->FadeTimer->Enabled(); }

} // namespace

class AutoMix : public DeckTest
{
public:
    // Small tracks: 4 kHz mono. "loud" keeps a loud tone to its end; "quiet" turns quiet one
    // second in, a level far below the sensitivity's threshold.
    void makeTracks()
    {
        const auto tone = [](double quietFromS) {
            return [quietFromS](int64_t i, int) {
                const double t = double(i) / 4000;
                return (t < quietFromS ? 0.3 : 0.01) * std::sin(2 * M_PI * 440 * t);
            };
        };
        loud = media::writeWav(h.dataFile("loud.wav"), 4000, 1, 16, int64_t(kLongMs) * 4, tone(1e9));
        quiet = media::writeWav(h.dataFile("quiet.wav"), 4000, 1, 16, int64_t(kLongMs) * 4, tone(1));
        shortTrack = media::writeWav(h.dataFile("short.wav"), 4000, 1, 16, int64_t(kShortMs) * 4, tone(1e9));
        other = media::writeWav(h.dataFile("other.wav"), 4000, 1, 16, int64_t(kLongMs) * 4, tone(1e9));
    }

    // A new window whose deck `number` holds `xTrack` loaded, the other deck `yTrack`; mix time
    // 3500, sensitivity 40.
    Deck& prepare(int number, const QString& xTrack, const QString& yTrack)
    {
        fresh();
        Deck& x = deck(number);
        w->RxSpinEdit7->setValue(kMixMs);
        w->RxSpinEdit1->setValue(40);
        Deck& y = w->otherDeck(x);
        fill(x, {xTrack});
        fill(y, {yTrack});
        clickRow(x, 0);
        clickRow(y, 0);
        return x;
    }

    // Deck x plays and is brought to `remaining` ms before its end, the last audio heard being
    // that of the part just before.
    void bringTo(Deck& x, int remaining)
    {
        press(x.playButton);
        const int at = int(x.channel->GetLength()) - remaining;
        x.channel->SetPosition(std::max(0, at - 300));
        h.render(300);
        x.channel->SetPosition(at);
    }

    QString loud, quiet, shortTrack, other;
};

// Catches an off-by-one at each boundary, a trigger that ignores a condition, and the time
// trigger's playlist condition leaking into the sensitivity trigger or missing from its own.
TEST_F(AutoMix, TriggersFireOnlyInsideTheirBoundaries)
{
    makeTracks();
    enum Track { Loud, Quiet, Short };
    enum Setting { Plain, LowestSensitivity, OtherListEmpty, OtherFileGone, OtherPlaying, AutoMixOff, SensorOff, FadePressed };
    const struct {
        const char* name;
        Track track;
        int remaining; // -1: the first tick right after Play
        Setting setting;
        bool handsOver;
    } rows[] = {
        {"loud, 1 ms below the mix time", Loud, kMixMs - 1, Plain, true},
        {"loud, exactly the mix time", Loud, kMixMs, Plain, false},
        {"quiet, exactly the mix time", Quiet, kMixMs, Plain, false},
        {"quiet, 1 ms above the mix time", Quiet, kMixMs + 1, Plain, true},
        {"loud, 1 ms above the mix time", Loud, kMixMs + 1, Plain, false},
        {"quiet, 24999 ms", Quiet, 24999, Plain, true},
        {"quiet, exactly 25000 ms", Quiet, 25000, Plain, false},
        {"quiet (level 16), sensitivity 10: threshold 20", Quiet, 10000, LowestSensitivity, true},
        {"track shorter than the mix time, first tick", Short, -1, Plain, true},
        {"other playlist empty, time trigger", Loud, 3000, OtherListEmpty, false},
        {"other playlist empty, sensitivity trigger", Quiet, 10000, OtherListEmpty, true},
        // Fading into a deck that cannot play would end the music: the deck plays on.
        {"other playlist empty, its file gone", Quiet, 10000, OtherFileGone, false},
        {"other deck playing, time trigger", Loud, 3000, OtherPlaying, false},
        {"other deck playing, sensitivity trigger", Quiet, 10000, OtherPlaying, false},
        {"Auto Mix off, time trigger", Loud, 3000, AutoMixOff, false},
        {"Auto Mix off, quiet", Quiet, 10000, AutoMixOff, false},
        {"Sensibilidade off, quiet", Quiet, 10000, SensorOff, false},
        {"Sensibilidade off, time trigger", Loud, 3000, SensorOff, true},
        {"Fade pressed, time trigger", Loud, 3000, FadePressed, false},
        {"Fade pressed, quiet", Quiet, 10000, FadePressed, false},
    };
    for (int number : {1, 2})
        for (const auto& row : rows) {
            SCOPED_TRACE(std::string("deck ") + (number == 1 ? "A, " : "B, ") + row.name);
            const QString copy = h.dataFile("copy.wav");
            QFile::copy(other, copy);
            Deck& x = prepare(number, row.track == Loud ? loud : row.track == Quiet ? quiet : shortTrack, copy);
            Deck& y = w->otherDeck(x);
            if (row.setting == OtherListEmpty || row.setting == OtherFileGone) {
                y.listBox->clear();
                y.paths.clear();
            }
            if (row.setting == OtherFileGone)
                QFile::remove(copy);
            if (row.setting == OtherPlaying)
                press(y.playButton);
            if (row.setting == LowestSensitivity)
                w->RxSpinEdit1->setValue(10);
            if (row.setting == AutoMixOff)
                w->LEDButton1->setOn(false);
            if (row.setting == SensorOff)
                w->LEDButton2->setOn(false);
            if (row.remaining >= 0) {
                bringTo(x, row.remaining);
                ASSERT_EQ(remainingMs(x), uint32_t(row.remaining));
            } else {
                press(x.playButton);
            }
            if (row.setting == FadePressed)
                press(x.fadeButton);
            const int64_t yPosition = y.channel->GetPosition();

            test::DeckClock::monitorTick(x);

            const bool yStarts = row.setting != OtherPlaying;
            EXPECT_EQ(fading(x), row.handsOver || row.setting == FadePressed);
            EXPECT_EQ(x.mixing, row.handsOver || row.setting == FadePressed);
            EXPECT_EQ(y.channel->Playing, (row.handsOver && yStarts) || row.setting == OtherPlaying);
            if (row.handsOver && yStarts) {
                EXPECT_EQ(y.channel->GetPosition(), 0);
                EXPECT_FALSE(y.mixing);
                EXPECT_TRUE(y.monitorTimer->isActive());
            } else if (row.setting == OtherPlaying) {
                EXPECT_EQ(y.channel->GetPosition(), yPosition); // not restarted
            }
            EXPECT_EQ(h.dialogs.texts(), QStringList{});
            QFile::remove(copy);
        }
}

namespace {

const char* stateOf(const Deck& d)
{
    if (fading(d))
        return "Fading";
    if (d.channel->Playing && !d.mixing)
        return "Playing";
    if (!d.channel->Playing && d.playButton->isEnabled() && !d.monitorTimer->isActive())
        return "Loaded";
    return "Other";
}

} // namespace

// Catches a deck that does not advance after handing over, a flag left or cleared at the wrong
// step, a trigger that fires again for a fading deck, and a hand-over that does not alternate.
TEST_F(AutoMix, DecksHandOverInTurnEachWalkingItsOwnPlaylist)
{
    const auto tone = [](int64_t i, int) { return 0.3 * std::sin(2 * M_PI * 440 * double(i) / 4000); };
    QStringList a, b;
    for (const char* name : {"a1", "a2"})
        a << media::writeWav(h.dataFile(QString(name) + ".wav"), 4000, 1, 16, 6 * 4000, tone);
    for (const char* name : {"b1", "b2"})
        b << media::writeWav(h.dataFile(QString(name) + ".wav"), 4000, 1, 16, 6 * 4000, tone);
    Deck& A = deck(1);
    Deck& B = deck(2);
    w->RxSpinEdit7->setValue(kMixMs);
    fill(A, a);
    fill(B, b);
    clickRow(A, 0);
    clickRow(B, 0);
    test::DeckClock clock(*w);
    // Runs the decks' timers until `done` holds, for at most 10 s of playback.
    const auto until = [&](const std::function<bool()>& done) {
        for (int ms = 0; ms < 10000 && !done(); ms += test::DeckClock::kPeriodMs)
            clock.advance(test::DeckClock::kPeriodMs);
    };

    const struct {
        const char* event;
        std::function<void()> act;
        const char *stateA, *stateB;
        bool mixandoA, mixandoB;
        const char *loadedA, *loadedB;
        Deck* startedFromZero;
    } steps[] = {
        {"operator plays deck A", [&] { press(A.playButton); }, "Playing", "Loaded", false, false, "a1.wav", "b1.wav", &A},
        {"a trigger fires in deck A's tick", [&] { until([&] { return A.mixing; }); }, "Fading", "Playing", true, false,
         "a1.wav", "b1.wav", &B},
        {"deck A's fade ends", [&] { finishFade(A); }, "Loaded", "Playing", true, false, "a2.wav", "b1.wav", nullptr},
        {"a trigger fires in deck B's tick", [&] { until([&] { return B.mixing; }); }, "Playing", "Fading", false, true,
         "a2.wav", "b1.wav", &A},
        {"deck B's track ends", [&] { playToEnd(B); }, "Playing", "Loaded", false, true,
         "a2.wav", "b2.wav", nullptr},
        {"the cycle goes on: deck A's tick", [&] { until([&] { return A.mixing; }); }, "Fading", "Playing", true, false,
         "a2.wav", "b2.wav", &B},
        {"deck A's track ends: it wraps", [&] { playToEnd(A); }, "Loaded", "Playing", true,
         false, "a1.wav", "b2.wav", nullptr},
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(step.event);
        step.act();
        EXPECT_STREQ(stateOf(A), step.stateA);
        EXPECT_STREQ(stateOf(B), step.stateB);
        EXPECT_EQ(w->mixando_a, step.mixandoA);
        EXPECT_EQ(w->mixando_b, step.mixandoB);
        EXPECT_EQ(QFileInfo(A.channel->FilePath).fileName(), step.loadedA);
        EXPECT_EQ(QFileInfo(B.channel->FilePath).fileName(), step.loadedB);
        if (step.startedFromZero) {
            EXPECT_EQ(step.startedFromZero->channel->GetPosition(), 0);
        }
    }
    EXPECT_EQ(h.dialogs.texts(), QStringList{});
}

// Catches a switch that reads its state after the flip, forgets a control, or starts a deck.
TEST_F(AutoMix, AutoMixSwitchLocksTheLoopsEnablesTheValuesAndLoadsBothDecks)
{
    for (bool wasOn : {true, false}) {
        SCOPED_TRACE(wasOn ? "switched off" : "switched on");
        fresh();
        const QStringList paths = threeTracks();
        fill(deck(1), {paths[0]});
        fill(deck(2), {paths[1], paths[2]});
        deck(1).listBox->setCurrentRow(0);
        deck(2).listBox->setCurrentRow(1);
        w->LEDButton1->setOn(wasOn);
        w->LEDButton2->setOn(!wasOn);
        w->RxSpinEdit7->setEnabled(!wasOn);
        w->RxSpinEdit1->setEnabled(!wasOn);
        for (Deck* d : {&w->deckA, &w->deckB}) {
            d->loopButton->setEnabled(wasOn);
            d->loopButton->setOn(true);
            d->channel->Loop = true;
        }

        h.click("LEDButton1");

        EXPECT_EQ(w->LEDButton1->isOn(), !wasOn);
        EXPECT_EQ(w->LEDButton2->isOn(), !wasOn);
        EXPECT_EQ(w->RxSpinEdit7->isEnabled(), !wasOn);
        EXPECT_EQ(w->RxSpinEdit1->isEnabled(), !wasOn);
        for (Deck* d : {&w->deckA, &w->deckB}) {
            EXPECT_EQ(d->loopButton->isEnabled(), wasOn);
            EXPECT_FALSE(d->loopButton->isOn());
            EXPECT_TRUE(d->channel->Loop); // the channels' own flags are Play's business
            EXPECT_FALSE(d->channel->Playing);
        }
        // Switching on loads each deck's selected entry; switching off loads nothing.
        EXPECT_EQ(deck(1).title->text(), wasOn ? "Música:" : "one.wav");
        EXPECT_EQ(deck(2).title->text(), wasOn ? "Música:" : "three.wav");
    }
}

// Deck B is loaded before deck A (their messages come in that order), and a playing deck keeps
// its track.
TEST_F(AutoMix, SwitchingOnLoadsDeckBFirstAndLeavesAPlayingDeckAlone)
{
    Deck& A = freshDeck(1);
    fill(deck(2), {h.dataFile("gone.wav")});
    deck(2).listBox->setCurrentRow(0);
    clickRow(A, 2);
    w->LEDButton1->setOn(false);
    h.click("LEDButton1");
    EXPECT_TRUE(A.channel->Playing);
    EXPECT_EQ(A.channel->FilePath, tracks[0]);
    EXPECT_EQ(h.dialogs.texts(), QStringList{"Arquivo Selecionado não localizado !!!"});

    fresh();
    fill(deck(1), {h.dataFile("gone-a.wav")});
    fill(deck(2), {h.dataFile("gone-b.wav")});
    for (Deck* d : {&w->deckA, &w->deckB})
        d->listBox->setCurrentRow(0);
    w->LEDButton1->setOn(false);
    h.click("LEDButton1");
    EXPECT_EQ(h.dialogs.texts(), (QStringList{"Arquivo Selecionado não localizado !!!",
                                              "Arquivo ->" + h.dataFile("gone-a.wav") + " - Não Localizado !!"}));
}

// "Sensibilidade" only enables its value; the trigger reads the switch itself.
TEST_F(AutoMix, SensitivitySwitchOnlyEnablesItsValue)
{
    for (bool wasOn : {true, false}) {
        fresh();
        w->LEDButton2->setOn(wasOn);
        w->RxSpinEdit1->setEnabled(!wasOn);
        h.click("LEDButton2");
        EXPECT_EQ(w->LEDButton2->isOn(), !wasOn) << wasOn;
        EXPECT_EQ(w->RxSpinEdit1->isEnabled(), !wasOn) << wasOn;
        EXPECT_TRUE(w->LEDButton1->isOn()) << wasOn;
        EXPECT_TRUE(w->RxSpinEdit7->isEnabled()) << wasOn;
    }
}

class AutoMixFaults : public AutoMix
{
public:
    // Deck A holds `a` and deck B `b`, both loaded at their first entry; tracks of 4 kHz mono.
    void decks(const QList<int>& aMs, const QList<int>& bMs)
    {
        const auto tone = [](int64_t i, int) { return 0.3 * std::sin(2 * M_PI * 440 * double(i) / 4000); };
        a.clear();
        b.clear();
        for (int i = 0; i < aMs.size(); ++i)
            a << media::writeWav(h.dataFile(QString("a%1.wav").arg(i + 1)), 4000, 1, 16, aMs[i] * 4, tone);
        for (int i = 0; i < bMs.size(); ++i)
            b << media::writeWav(h.dataFile(QString("b%1.wav").arg(i + 1)), 4000, 1, 16, bMs[i] * 4, tone);
        w->RxSpinEdit7->setValue(kMixMs);
        fill(deck(1), a);
        fill(deck(2), b);
        clickRow(deck(1), 0);
        clickRow(deck(2), 0);
    }

    QString nameOf(const Deck& d) const { return QFileInfo(d.channel->FilePath).fileName(); }

    QStringList a, b;
};

// Deck B lets pending events run inside its stop handler. Catches deck A's tick among them
// handing over to deck B before it advanced: deck B would replay the track that just ended.
TEST_F(AutoMixFaults, NoHandOverToADeckWhoseStopHandlerRuns)
{
    decks({5000, 5000}, {5000, 5000});
    Deck& A = deck(1);
    Deck& B = deck(2);
    press(B.playButton);
    h.render(2000);
    test::DeckClock::monitorTick(B);
    ASSERT_TRUE(B.mixing);
    ASSERT_TRUE(A.channel->Playing);
    h.render(2000); // deck A: 3000 ms left, below the mix time, while deck B still sounds
    bool ticked = false;
    QTimer::singleShot(0, w, [&] {
        ticked = true;
        test::DeckClock::monitorTick(A);
    });
    playToEnd(B);
    ASSERT_TRUE(ticked); // inside deck B's stop handler
    EXPECT_FALSE(B.channel->Playing);
    EXPECT_FALSE(A.mixing);
    EXPECT_EQ(nameOf(B), "b2.wav");
    test::DeckClock::monitorTick(A);
    EXPECT_TRUE(A.mixing);
    EXPECT_TRUE(B.channel->Playing);
    EXPECT_EQ(nameOf(B), "b2.wav");
}

// Catches both decks falling silent when the deck started by a hand-over ends before its own
// hand-over could fire: its track is shorter than the time the other deck still sounds, or the
// other deck's fade ended just before the track's end with no monitor tick in between.
TEST_F(AutoMixFaults, ATrackEndingBeforeItCouldHandOverPlaysTheNextEntry)
{
    decks({10000, 10000}, {1000, 1000, 8000});
    Deck& A = deck(1);
    Deck& B = deck(2);
    w->tempo_fade = 5000;
    press(A.playButton);
    test::DeckClock clock(*w);
    clock.advance(7000);
    ASSERT_TRUE(A.mixing);
    ASSERT_TRUE(A.channel->Playing); // 3000 ms left, fading
    clock.advance(1200);             // b1 ended: b2 follows at once
    EXPECT_TRUE(B.channel->Playing);
    EXPECT_EQ(nameOf(B), "b2.wav");
    clock.advance(1200);
    EXPECT_TRUE(B.channel->Playing);
    EXPECT_EQ(nameOf(B), "b3.wav");
    clock.advance(1000);
    EXPECT_FALSE(A.channel->Playing);
    EXPECT_TRUE(B.channel->Playing);

    // Deck B's fade is over just before deck A's track ends, with no monitor tick in between.
    clock.advance(4600);
    ASSERT_TRUE(B.mixing);
    finishFade(B);
    playToEnd(A);
    EXPECT_FALSE(B.channel->Playing);
    ASSERT_TRUE(A.channel->Playing);
    EXPECT_EQ(nameOf(A), "a1.wav");

    // The operator's own Fade of the deck that carries the music still ends it.
    press(A.fadeButton);
    finishFade(A);
    EXPECT_FALSE(A.channel->Playing);
    EXPECT_FALSE(B.channel->Playing);
}

// With Auto Mix on nobody answers for a missing or unreadable entry: catches a deck that then
// replays its last track at the next hand-over. Auto Mix off keeps the operator's message and
// the disabled Play.
TEST_F(AutoMixFaults, AfterATrackEndAutoMixPassesOverEntriesItCannotLoad)
{
    for (bool autoMix : {true, false})
        for (int number : {1, 2}) {
            SCOPED_TRACE(testing::Message() << "deck " << number << (autoMix ? ", Auto Mix on" : ", Auto Mix off"));
            fresh();
            h.writeDataFile("text.wav", "not audio at all");
            Deck& d = deck(number);
            const QStringList tracks = threeTracks();
            fill(d, {tracks[0], h.dataFile("gone.wav"), h.dataFile("text.wav"), tracks[1]});
            clickRow(d, 0);
            w->LEDButton1->setOn(autoMix);
            press(d.playButton);
            playToEnd(d);
            EXPECT_EQ(d.listBox->currentRow(), autoMix ? 3 : 1);
            EXPECT_EQ(d.channel->FilePath, autoMix ? tracks[1] : tracks[0]);
            EXPECT_EQ(d.playButton->isEnabled(), autoMix);
            // With Auto Mix on one box that waits for nobody, whatever the entries it passed over.
            ASSERT_EQ(h.dialogs.shown.size(), 1) << h.dialogs.texts().join('|').toStdString();
            EXPECT_EQ(h.dialogs.shown[0].kind, autoMix ? "notice" : "message");
        }
}

// Catches the music faded to silence by a hand-over into a deck that cannot play: its loaded
// file went missing, or its selected entry is no audio. The hand-over goes to the waiting
// deck's next playable entry; when it has none the playing deck is not faded, is not offered
// again on every tick, and at its end advances as usual.
TEST_F(AutoMixFaults, AHandOverGoesToTheNextPlayableEntryOrLetsTheTrackPlayOut)
{
    enum Waiting { LoadedFileGone, SelectedNotAudio, NothingPlayable };
    const struct {
        const char* name;
        Waiting waiting;
        bool secondEntryPlays; // or nothing plays on the waiting deck
    } rows[] = {
        {"loaded file gone", LoadedFileGone, true},
        {"selected entry is no audio", SelectedNotAudio, true},
        {"nothing playable", NothingPlayable, false},
    };
    for (int number : {1, 2})
        for (const auto& row : rows) {
            SCOPED_TRACE(std::string("deck ") + (number == 1 ? "A, " : "B, ") + row.name);
            fresh();
            const QList<int> playing{10000, 10000};
            const QList<int> waiting = row.waiting == NothingPlayable ? QList<int>{10000} : playing;
            decks(number == 1 ? playing : waiting, number == 1 ? waiting : playing);
            Deck& x = deck(number);
            Deck& y = w->otherDeck(x);
            const QStringList waitingPaths = y.paths;
            if (row.waiting == SelectedNotAudio) {
                h.writeDataFile("text.wav", "not audio at all");
                y.paths[0] = h.dataFile("text.wav");
                clickRow(y, 0);
                ASSERT_FALSE(y.playButton->isEnabled());
            } else {
                QFile::remove(waitingPaths[0]);
            }
            h.dialogs.clear();
            bringTo(x, 3000);

            for (int tick = 0; tick < 5; ++tick)
                test::DeckClock::monitorTick(x);

            EXPECT_EQ(h.dialogs.texts().size(), 1) << h.dialogs.texts().join('|').toStdString();
            if (row.secondEntryPlays) {
                EXPECT_TRUE(fading(x));
                ASSERT_TRUE(y.channel->Playing);
                EXPECT_EQ(y.channel->FilePath, waitingPaths[1]);
                EXPECT_EQ(y.channel->GetPosition(), 0);
                continue;
            }
            EXPECT_TRUE(x.channel->Playing);
            EXPECT_FALSE(x.mixing);
            EXPECT_FALSE(x.channel->FadeTimer->Enabled());
            EXPECT_FALSE(y.channel->Playing);
            playToEnd(x);
            EXPECT_FALSE(x.channel->Playing);
            EXPECT_EQ(x.listBox->currentRow(), 1);
            EXPECT_EQ(x.channel->FilePath, x.paths[1]);
            EXPECT_TRUE(x.playButton->isEnabled());
            EXPECT_FALSE(y.channel->Playing);
            EXPECT_EQ(h.dialogs.texts().size(), 1);
        }
}

// The operator drags the playing deck's position slider to the end and the end watcher runs
// before the next monitor tick: the stop handler holds back while the slider has the focus.
// Catches a deck left stuck and silent: the next tick takes the focus back and the end is
// handled as any end (advance; with Auto Mix on, the other deck takes over).
TEST_F(AutoMixFaults, ATrackDraggedToItsEndIsHandledAtTheNextTick)
{
    for (bool autoMix : {true, false})
        for (int number : {1, 2}) {
            SCOPED_TRACE(testing::Message() << "deck " << number << (autoMix ? ", Auto Mix on" : ", Auto Mix off"));
            fresh();
            decks({10000, 10000}, {10000, 10000});
            w->LEDButton1->setOn(autoMix);
            Deck& x = deck(number);
            Deck& y = w->otherDeck(x);
            press(x.playButton);
            h.render(500);
            x.positionSlider->setFocus();
            ASSERT_TRUE(x.positionSlider->hasFocus());
            x.positionSlider->setSliderPosition(int(x.channel->GetLength()) - 20);
            x.positionSlider->triggerAction(QAbstractSlider::SliderMove);
            playToEnd(x);
            ASSERT_FALSE(x.channel->Playing);
            EXPECT_EQ(x.listBox->currentRow(), 0); // held back for now

            test::DeckClock::monitorTick(x);

            EXPECT_FALSE(x.positionSlider->hasFocus());
            EXPECT_FALSE(x.monitorTimer->isActive());
            EXPECT_EQ(x.listBox->currentRow(), 1);
            EXPECT_EQ(x.channel->FilePath, x.paths[1]);
            EXPECT_TRUE(x.playButton->isEnabled());
            EXPECT_EQ(y.channel->Playing, autoMix);
            EXPECT_EQ(x.mixing, autoMix);
            if (autoMix) {
                EXPECT_EQ(y.channel->GetPosition(), 0);
            }
            EXPECT_EQ(h.dialogs.texts(), QStringList{});
        }
}
