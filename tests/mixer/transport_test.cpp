// The deck transport on both decks: its states and transitions, where a stop leaves the
// playlist, the stop handler nested inside the channel's Stop, Loop and the context menu.
#include "deck_fixture.h"

#include "widgets/LedGauge.h"
#include "widgets/LedPanel.h"
#include "widgets/TrackBar.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QTimer>

namespace {

enum class State { Empty, Loaded, Playing, Fading, Other };

const char* nameOf(State s)
{
    switch (s) {
    case State::Empty: return "Empty";
    case State::Loaded: return "Loaded";
    case State::Playing: return "Playing";
    case State::Fading: return "Fading";
    default: return "Other";
    }
}

// The state as the operator sees it: the three buttons, the monitor and the hand-over flag.
State stateOf(const Deck& d)
{
    const bool play = d.playButton->isEnabled(), stop = d.stopButton->isEnabled(), fade = d.fadeButton->isEnabled();
    const bool monitor = d.monitorTimer->isActive();
    if (!play && !monitor && !d.channel->Playing)
        return State::Empty;
    if (play && !stop && !fade && !monitor)
        return State::Loaded;
    if (!play && stop && fade && monitor && !d.mixing)
        return State::Playing;
    if (play && stop && !fade && monitor && d.mixing)
        return State::Fading;
    return State::Other;
}

enum class From { Empty, Loaded, Playing, Fading, PlayingLooped };

} // namespace

class Transport : public DeckTest
{
public:
    // The playlist holds three tracks and, last, a file that is not there.
    void fillFour(Deck& d)
    {
        paths = threeTracks() << h.dataFile("gone.wav");
        fill(d, paths);
    }

    void bringTo(Deck& d, From from)
    {
        fillFour(d);
        clickRow(d, from == From::Empty ? 3 : 0);
        if (from == From::PlayingLooped) {
            w->LEDButton1->setOn(false);
            press(d.playButton);
            h.click(d.loopButton->objectName());
        } else if (from != From::Empty && from != From::Loaded) {
            press(d.playButton);
        }
        h.render(300);
        if (from == From::Fading) {
            press(d.fadeButton);
            for (int step = 0; step < 3; ++step)
                d.channel->FadeStep();
        }
        h.dialogs.clear();
    }

    QStringList paths;
};

// Catches a transition that leaves the buttons, the monitor, the hand-over flag, the
// selection or the loaded track wrong, on either deck.
TEST_F(Transport, StatesAndTransitionsOfBothDecks)
{
    const struct {
        const char* event;
        From from;
        std::function<void(Transport&, Deck&)> act;
        State to;
        int selected;      // the playlist row selected afterwards
        int loaded;        // the row whose file the channel holds
        bool plays;        // the channel plays afterwards
        bool fromStart;    // playback starts again at 0 ms
        bool missingShown; // the deck's missing-file message was shown
    } rows[] = {
        {"entry selected", From::Empty, [](Transport& t, Deck& d) { t.clickRow(d, 0); }, State::Loaded, 0, 0, false, false, false},
        {"missing entry selected", From::Loaded, [](Transport& t, Deck& d) { t.clickRow(d, 3); }, State::Empty, 3, 0, false, false, true},
        {"Play", From::Loaded, [](Transport&, Deck& d) { press(d.playButton); }, State::Playing, 0, 0, true, true, false},
        {"Play with the loaded file gone", From::Loaded,
         [](Transport& t, Deck& d) {
             QFile::remove(t.paths[0]);
             press(d.playButton);
         },
         State::Loaded, 0, 0, false, false, false},
        {"double click", From::Loaded, [](Transport& t, Deck& d) { t.doubleClickRow(d, 0); }, State::Playing, 0, 0, true, true, false},
        {"menu Play", From::Loaded, [](Transport&, Deck& d) { d.menuPlay->trigger(); }, State::Playing, 0, 0, true, true, false},
        {"Fade", From::Playing, [](Transport&, Deck& d) { press(d.fadeButton); }, State::Fading, 0, 0, true, false, false},
        {"Stop (seco)", From::Playing, [](Transport&, Deck& d) { press(d.stopButton); }, State::Loaded, 0, 0, false, false, false},
        {"menu Stop", From::Playing, [](Transport&, Deck& d) { d.menuStop->trigger(); }, State::Loaded, 0, 0, false, false, false},
        {"Stop (seco) while fading", From::Fading, [](Transport&, Deck& d) { press(d.stopButton); }, State::Loaded, 0, 0, false, false, false},
        {"fade-out done", From::Fading, [](Transport&, Deck& d) { finishFade(d); }, State::Loaded, 1, 1, false, false, false},
        {"end of track, loop off", From::Playing, [](Transport& t, Deck& d) { t.playToEnd(d); }, State::Loaded, 1, 1, false, false, false},
        {"end of track, loop on", From::PlayingLooped, [](Transport& t, Deck& d) { t.playToEnd(d); }, State::Playing, 0, 0, true, true, false},
        {"Play while fading", From::Fading, [](Transport&, Deck& d) { press(d.playButton); }, State::Playing, 0, 0, true, true, false},
        {"end of track while the position slider has the focus", From::Playing,
         [](Transport& t, Deck& d) {
             d.positionSlider->setFocus();
             ASSERT_TRUE(d.positionSlider->hasFocus());
             t.playToEnd(d);
         },
         State::Playing, 0, 0, false, false, false},
    };
    for (int number : {1, 2})
        for (const auto& row : rows) {
            SCOPED_TRACE(std::string("deck ") + (number == 1 ? "A, " : "B, ") + row.event);
            fresh();
            Deck& d = deck(number);
            bringTo(d, row.from);
            row.act(*this, d);
            EXPECT_STREQ(nameOf(stateOf(d)), nameOf(row.to));
            EXPECT_EQ(d.listBox->currentRow(), row.selected);
            EXPECT_EQ(d.channel->FilePath, paths[row.loaded]);
            EXPECT_EQ(d.channel->Playing, row.plays);
            if (row.fromStart) {
                EXPECT_EQ(d.channel->GetPosition(), 0);
            }
            const QString missing = number == 1 ? "Arquivo ->" + paths[3] + " - Não Localizado !!"
                                                : QString("Arquivo Selecionado não localizado !!!");
            EXPECT_EQ(h.dialogs.texts(), row.missingShown ? QStringList{missing} : QStringList{});
            EXPECT_EQ(h.dialogs.beeps, row.missingShown ? 1 : 0);
        }
}

// The arrow keys select as a click does: the entry they reach is loaded while the deck waits,
// and only selected while it plays.
TEST_F(Transport, ArrowKeysLoadTheEntryTheyReach)
{
    for (int number : {1, 2}) {
        SCOPED_TRACE(number);
        Deck& d = freshDeck(number, 0, false);
        d.listBox->setFocus();
        h.key(Qt::Key_Down);
        EXPECT_EQ(d.listBox->currentRow(), 1);
        EXPECT_EQ(d.channel->FilePath, tracks[1]);
        press(d.playButton);
        d.listBox->setFocus();
        h.key(Qt::Key_Down);
        EXPECT_EQ(d.listBox->currentRow(), 2);
        EXPECT_EQ(d.channel->FilePath, tracks[1]);
    }
}

// A list brought from Windows upper-cases its paths; the deck finds the file as the disk spells it.
TEST_F(Transport, APathInOtherLetterCaseFindsItsFile)
{
    const QString one = track("one.wav");
    const QString upper = QFileInfo(one).path() + "/ONE.WAV";
    for (int number : {1, 2}) {
        fresh();
        Deck& d = deck(number);
        fill(d, {upper});
        clickRow(d, 0);
        EXPECT_EQ(d.channel->FilePath, one) << number;
        press(d.playButton);
        EXPECT_TRUE(d.channel->Playing) << number;
        EXPECT_TRUE(h.dialogs.texts().isEmpty()) << number;
    }
}

// Play during a fade restarts at the volume the crossfader gives, not at the fade's.
TEST_F(Transport, PlayDuringAFadeRestoresTheVolume)
{
    for (int number : {1, 2}) {
        fresh();
        Deck& d = deck(number);
        bringTo(d, From::Fading);
        d.channel->FadeStep();
        ASSERT_LT(d.channel->FadeVolume, 100u);
        press(d.playButton);
        EXPECT_EQ(d.channel->volume(), 100u) << number;
        EXPECT_FALSE(d.channel->FadeTimer->Enabled()) << number;
    }
}

// Catches an advance after a dry stop, a reload after a fade or a track end, a wrap that
// misses the first entry, and an advance from the loaded entry instead of the selected one.
TEST_F(Transport, AFadeOrATrackEndAdvancesAndWrapsADryStopReloads)
{
    enum class Stop { Fade, End, Dry };
    const struct {
        int start;
        Stop how;
        int clickedWhilePlaying; // -1: none
        int expected;
    } rows[] = {
        {0, Stop::Fade, -1, 1}, {2, Stop::Fade, -1, 0}, {1, Stop::End, -1, 2}, {2, Stop::End, -1, 0},
        {1, Stop::Dry, -1, 1},  {2, Stop::Dry, -1, 2},  {0, Stop::End, 2, 0},  {0, Stop::Fade, 1, 2},
    };
    for (int number : {1, 2})
        for (const auto& row : rows) {
            SCOPED_TRACE(testing::Message() << "deck " << number << ", from " << row.start << ", stop " << int(row.how));
            Deck& d = freshDeck(number, row.start);
            h.render(200);
            if (row.clickedWhilePlaying >= 0) {
                clickRow(d, row.clickedWhilePlaying);
                EXPECT_EQ(d.channel->FilePath, tracks[row.start]);
            }
            if (row.how == Stop::Fade) {
                press(d.fadeButton);
                finishFade(d);
            } else if (row.how == Stop::End) {
                playToEnd(d);
            } else {
                press(d.stopButton);
            }
            EXPECT_EQ(d.listBox->currentRow(), row.expected);
            EXPECT_EQ(d.channel->FilePath, tracks[row.expected]);
            EXPECT_EQ(d.title->text(), QFileInfo(tracks[row.expected]).fileName());
            // Deck B's dry stop clears its read-outs once the reload is done.
            const bool cleared = number == 2 && row.how == Stop::Dry;
            EXPECT_EQ(d.durationText->text(), cleared ? "00:00" : "00:01");
            EXPECT_EQ(d.frequencyText->text(), cleared ? "00000" : "44100");
            EXPECT_EQ(d.positionSlider->maximum(), kTrackMs);
            EXPECT_EQ(d.listBox->toolTip(), tracks[row.expected]);
            EXPECT_TRUE(d.playButton->isEnabled());
            EXPECT_TRUE(h.dialogs.texts().isEmpty());
        }
}

// A playlist emptied while the deck plays: the advance has nowhere to go and loads nothing.
TEST_F(Transport, TrackEndWithAnEmptiedPlaylistLoadsNothing)
{
    for (int number : {1, 2}) {
        Deck& d = freshDeck(number, 1);
        d.listBox->clear();
        d.paths.clear();
        playToEnd(d);
        EXPECT_EQ(d.listBox->currentRow(), -1);
        EXPECT_EQ(d.channel->FilePath, tracks[1]);
        EXPECT_FALSE(d.monitorTimer->isActive());
        EXPECT_TRUE(h.dialogs.texts().isEmpty());
    }
}

// The stop handler runs inside the channel's Stop, before the dry stop goes on; deck B's lets
// the events already waiting run first, deck A's leaves them for later.
TEST_F(Transport, StopHandlerRunsNestedInsideTheChannelsStop)
{
    for (int number : {1, 2}) {
        SCOPED_TRACE(number);
        Deck& d = freshDeck(number);
        h.render(200);

        bool stopping = false, handlerInside = false, playingSeen = true;
        int pendingRan = 0;
        bool pendingRanInside = false, playEnabledWhenPendingRan = true;
        const TCorvoBass::StopEvent handler = d.channel->OnStop;
        d.channel->OnStop = [&](QObject* sender) {
            handlerInside = stopping;
            playingSeen = d.channel->Playing;
            handler(sender);
        };
        QTimer::singleShot(0, w, [&] {
            ++pendingRan;
            pendingRanInside = stopping;
            playEnabledWhenPendingRan = d.playButton->isEnabled();
        });
        stopping = true;
        d.stopButton->click();
        stopping = false;

        EXPECT_TRUE(handlerInside);
        EXPECT_FALSE(playingSeen);
        // The reload happened before the dry stop returned.
        EXPECT_EQ(d.title->text(), "one.wav");
        EXPECT_TRUE(d.playButton->isEnabled());
        if (number == 2) {
            EXPECT_EQ(pendingRan, 1);
            EXPECT_TRUE(pendingRanInside);
            EXPECT_FALSE(playEnabledWhenPendingRan);
        } else {
            EXPECT_EQ(pendingRan, 0);
            QApplication::processEvents();
            EXPECT_EQ(pendingRan, 1);
            EXPECT_FALSE(pendingRanInside);
        }
    }
}

// Catches a Play that runs among deck B's pending events while its fade ends, and is then
// undone by the rest of the stop: an advanced selection, the monitor off and a silent track.
TEST_F(Transport, PlayPressedAsDeckBsFadeEndsKeepsPlaying)
{
    Deck& d = freshDeck(2);
    h.render(300);
    press(d.fadeButton);
    QTimer::singleShot(0, w, [&] { d.playButton->click(); });
    finishFade(d);
    EXPECT_STREQ(nameOf(stateOf(d)), "Playing");
    EXPECT_TRUE(d.channel->Playing);
    EXPECT_EQ(d.listBox->currentRow(), 0);
    EXPECT_EQ(d.channel->FilePath, tracks[0]);
    std::vector<float> heard;
    audio::renderManual(200, 1, &heard);
    EXPECT_GT(media::rms(heard, 0, heard.size() / 2), 0.1);
}

// Where the decks differ after a stop: deck B keeps its read-outs unless it was fading, and
// deck A disables its Loop button.
TEST_F(Transport, ReadOutsAndLoopAfterAStopFollowTheDeck)
{
    const struct {
        int deck;
        bool fade;
        int minutesAfter; // minutes panel, set to 7 before the stop
        bool loopEnabledAfter;
    } rows[] = {{1, false, 0, false}, {1, true, 0, false}, {2, false, 7, true}, {2, true, 0, true}};
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::Message() << "deck " << row.deck << (row.fade ? " fade" : " end"));
        fresh();
        Deck& d = deck(row.deck);
        // The next entry is missing, so no load follows to clear the read-outs.
        const QString one = track("one.wav");
        fill(d, {one, h.dataFile("gone.wav")});
        clickRow(d, 0);
        w->LEDButton1->setOn(false);
        press(d.playButton);
        ASSERT_TRUE(d.loopButton->isEnabled());
        d.minutesPanel->setValue(7);
        if (row.fade) {
            press(d.fadeButton);
            finishFade(d);
        } else {
            playToEnd(d);
        }
        EXPECT_EQ(d.minutesPanel->value(), row.minutesAfter);
        EXPECT_EQ(d.loopButton->isEnabled(), row.loopEnabledAfter);
        EXPECT_EQ(d.positionGauge->value(), 0);
        EXPECT_EQ(d.levelGauge->value(), 0);
        EXPECT_FALSE(d.playButton->isEnabled()); // the missing next entry
        EXPECT_EQ(h.dialogs.texts().size(), 1);
    }
}

// Deck B's load and dry stop clear its own view and read-outs; deck A's do not.
TEST_F(Transport, DeckBClearsItsReadOutsOnLoadAndDryStop)
{
    for (int number : {1, 2}) {
        fresh();
        Deck& d = deck(number);
        fill(d, threeTracks());
        d.minutesPanel->setValue(7);
        clickRow(d, 0);
        EXPECT_EQ(d.minutesPanel->value(), number == 2 ? 0 : 7) << number;
    }
}

// With Auto Mix on, Play locks the Loop button but keeps the loop the channel already has.
TEST_F(Transport, LoopFollowsTheButtonUnlessAutoMixIsOn)
{
    for (int number : {1, 2}) {
        SCOPED_TRACE(number);
        Deck& d = freshDeck(number, 0, false);
        w->LEDButton1->setOn(false);
        press(d.playButton);
        h.click(d.loopButton->objectName());
        EXPECT_TRUE(d.loopButton->isOn());
        EXPECT_TRUE(d.channel->Loop);
        press(d.stopButton);
        w->LEDButton1->setOn(true);
        press(d.playButton);
        EXPECT_FALSE(d.loopButton->isEnabled());
        EXPECT_TRUE(d.channel->Loop);
        playToEnd(d);
        EXPECT_TRUE(d.channel->Playing);
        EXPECT_EQ(d.listBox->currentRow(), 0);
    }
}

// The menu's items follow the buttons; "Exclur" only while the deck is stopped with entries.
TEST_F(Transport, ContextMenuEntriesFollowTheDeck)
{
    for (int number : {1, 2}) {
        SCOPED_TRACE(number);
        fresh();
        Deck& d = deck(number);
        const auto opened = [&] {
            QMetaObject::invokeMethod(d.listMenu, "aboutToShow");
            return std::tuple{d.menuPlay->isEnabled(), d.menuStop->isEnabled(), d.menuDelete->isEnabled()};
        };
        w->Timer3Timer();
        EXPECT_EQ(opened(), std::tuple(false, false, false)) << "empty";
        fill(d, threeTracks());
        clickRow(d, 0);
        EXPECT_EQ(opened(), std::tuple(true, false, true)) << "loaded";
        press(d.playButton);
        EXPECT_EQ(opened(), std::tuple(false, true, false)) << "playing";
    }
}

// A file that exists but cannot be played: the deck or its channel says so, and Play stays
// off instead of starting a deck that plays nothing.
TEST_F(Transport, AnUnplayableFileIsReportedAndCannotBePlayed)
{
    const struct {
        const char* name;
        std::function<QString(Transport&)> make;
        QString message; // shown without a beep
    } rows[] = {
        {"text named .mp3",
         [](Transport& t) {
             t.h.writeDataFile("text.mp3", "not audio at all");
             return t.h.dataFile("text.mp3");
         },
         "Erro ao Carregar Mídia - Verifique !!"},
        {"8-bit WAV",
         [](Transport& t) {
             return media::writeWav(t.h.dataFile("eight.wav"), kRate, 2, 8, kRate, media::sine(440, kRate));
         },
         "16-bit stereo sources only. Please select another."},
    };
    for (int number : {1, 2})
        for (const auto& row : rows) {
            SCOPED_TRACE(testing::Message() << "deck " << number << ", " << row.name);
            fresh();
            Deck& d = deck(number);
            fill(d, {track("good.wav"), row.make(*this)});
            clickRow(d, 0);
            clickRow(d, 1);
            EXPECT_EQ(h.dialogs.texts(), QStringList{row.message});
            EXPECT_EQ(h.dialogs.beeps, 0);
            EXPECT_FALSE(d.playButton->isEnabled());
        }
}
