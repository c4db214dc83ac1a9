// The deck monitor's read-outs, the deck's seek, pan and frequency controls, and the lamp
// and lock tick.
#include "deck_fixture.h"

#include "widgets/LedGauge.h"
#include "widgets/LedLamp.h"
#include "widgets/LedPanel.h"
#include "widgets/TrackBar.h"

#include <QLabel>
#include <QTimer>

namespace {

QString timeShown(const Deck& d)
{
    return d.minutesPanel->displayText() + ":" + d.secondsPanel->displayText();
}

QColor backgroundOf(QLabel* label) { return label->grab().toImage().pixelColor(2, 2); }

} // namespace

class Monitor : public DeckTest
{
};

// Catches hours leaking into "mm:ss", a remaining time that goes negative at the end, and a
// slider or gauge that stops following a long track. A 200 Hz mono file keeps an hour small.
TEST_F(Monitor, LongTrackShowsMinutesAndSecondsOfTheHourInBothModes)
{
    const int lengthMs = 3730000; // 1:02:10
    const QString longTrack = track("long.wav", lengthMs, 20, 200, 1);
    for (int number : {1, 2}) {
        SCOPED_TRACE(number);
        fresh();
        Deck& d = deck(number);
        fill(d, {longTrack});
        clickRow(d, 0);
        EXPECT_EQ(d.durationText->text(), "02:10");
        EXPECT_EQ(d.frequencyText->text(), "200");
        press(d.playButton);
        d.positionSlider->setSliderPosition(3725000); // 1:02:05
        d.positionSlider->triggerAction(QAbstractSlider::SliderMove);
        const QString timer = d.monitorTimer->objectName();
        h.tick(timer);
        EXPECT_EQ(timeShown(d), "02:05");
        EXPECT_EQ(d.durationText->text(), "02:10");
        EXPECT_EQ(d.positionSlider->value(), 3725000);
        EXPECT_EQ(d.positionGauge->maximum(), lengthMs);
        EXPECT_EQ(d.positionGauge->value(), 3725000);
        EXPECT_EQ(d.frequencyText->text(), "200");

        h.click(d.colon->objectName());
        EXPECT_EQ(d.timeMode, 2);
        h.tick(timer);
        EXPECT_EQ(timeShown(d), "00:05");
        h.click(d.secondsPanel->objectName());
        EXPECT_EQ(d.timeMode, 1);
        h.tick(timer);
        EXPECT_EQ(timeShown(d), "02:05");
        h.click(d.minutesPanel->objectName());
        EXPECT_EQ(d.timeMode, 2);

        // At the very end, before the end watcher has noticed it.
        h.render(5300);
        ASSERT_TRUE(d.channel->Playing);
        tickNow(d.monitorTimer);
        EXPECT_EQ(timeShown(d), "00:00");
        EXPECT_EQ(d.positionGauge->value(), lengthMs);
    }
}

// The monitor gives the playlist the focus back, so the next stop is handled again.
TEST_F(Monitor, TickTakesTheFocusBackFromThePositionSlider)
{
    Deck& d = freshDeck(1);
    d.positionSlider->setFocus();
    ASSERT_TRUE(d.positionSlider->hasFocus());
    h.tick("Timer1");
    EXPECT_TRUE(d.listBox->hasFocus());
}

// Deck B's seek plays again and so ends a fade, bringing the level back; deck A's seek lets
// the fade go on. Catches the monitor's frequency read taking the fade's level (49) as the
// channel's own volume, which deck B's replay would then keep.
TEST_F(Monitor, SeekDuringAFadeEndsItOnDeckBOnly)
{
    for (int number : {1, 2}) {
        SCOPED_TRACE(number);
        Deck& d = freshDeck(number);
        press(d.fadeButton);
        for (int step = 0; step < 6; ++step) {
            d.channel->FadeStep();
            tickNow(d.monitorTimer);
        }
        ASSERT_EQ(d.channel->volume(), 49u);
        d.positionSlider->setSliderPosition(600);
        d.positionSlider->triggerAction(QAbstractSlider::SliderMove);
        EXPECT_EQ(d.channel->GetPosition(), 600);
        EXPECT_EQ(d.channel->FadeTimer->Enabled(), number == 1);
        EXPECT_EQ(d.channel->volume(), number == 1 ? 49u : 100u);
        EXPECT_TRUE(d.monitorTimer->isActive());
        EXPECT_TRUE(w->Timer3->isActive());
        EXPECT_FALSE(d.playButton->isEnabled());
        EXPECT_TRUE(d.fadeButton->isEnabled());
    }
}

// A seek while the deck is stopped does nothing, and the monitor's own updates never seek.
TEST_F(Monitor, OnlyTheOperatorsMoveSeeksAPlayingDeck)
{
    Deck& d = freshDeck(1, 0, false);
    d.positionSlider->setSliderPosition(600);
    d.positionSlider->triggerAction(QAbstractSlider::SliderMove);
    EXPECT_EQ(d.channel->GetPosition(), 0);
    press(d.playButton);
    h.render(300);
    d.positionSlider->setValue(900);
    EXPECT_EQ(d.channel->GetPosition(), 300);
}

// Deck A's pan bar is mirrored, deck B's is not; a new track starts centred whatever the bar
// shows, and both frequency bars set the playback rate.
TEST_F(Monitor, PanAndFrequencyBars)
{
    for (int number : {1, 2}) {
        SCOPED_TRACE(number);
        Deck& d = freshDeck(number, 0, false);
        d.panSlider->setValue(-100);
        press(d.playButton);
        EXPECT_EQ(d.channel->pan(), 0);
        d.panSlider->setValue(-99);
        d.panSlider->setValue(-100);
        EXPECT_EQ(d.channel->pan(), number == 1 ? 100 : -100);

        EXPECT_EQ(d.frequencySlider->value(), 44100);
        EXPECT_EQ(d.ownFrequency, 44100u);
        d.frequencySlider->setValue(50000);
        EXPECT_EQ(d.channel->frequency(), 50000u);
        h.tick(d.monitorTimer->objectName());
        EXPECT_EQ(d.frequencyText->text(), "50000");
        ASSERT_TRUE(d.ownFrequencyLed->isEnabled());
        QTest::mouseClick(d.ownFrequencyLed, Qt::LeftButton);
        EXPECT_EQ(d.channel->frequency(), 44100u);
        EXPECT_EQ(d.frequencySlider->value(), 44100);
    }
}

// Stopped, the reset LED moves the bar and nothing else.
TEST_F(Monitor, FrequencyResetWhileStoppedOnlyMovesTheBar)
{
    Deck& d = freshDeck(1);
    press(d.stopButton);
    d.frequencySlider->setValue(30000);
    w->MMLED1Click();
    EXPECT_EQ(d.frequencySlider->value(), 44100);
    EXPECT_EQ(d.channel->FrequencyCache, 44100u);
}

// Catches locks left on after a deck stops, a lamp that does not blink, and a deck whose
// playlist is empty keeping its Play button or its last title.
TEST_F(Monitor, LampsBlinkAndLocksHoldWhileADeckPlays)
{
    Deck& a = freshDeck(1);
    Deck& b = w->deckB;
    w->Timer3->stop(); // ticked by the test alone
    b.title->setText("OLD.WAV");
    b.playButton->setEnabled(true);

    h.tick("Timer3");
    for (QPushButton* locked : {w->bitbtn17, w->bitbtn18, w->speedbutton1})
        EXPECT_FALSE(locked->isEnabled()) << locked->objectName().toStdString();
    for (QPushButton* free : {w->bitbtn19, w->bitbtn20, w->speedbutton2})
        EXPECT_TRUE(free->isEnabled()) << free->objectName().toStdString();
    EXPECT_TRUE(w->MMLED4->active());
    EXPECT_FALSE(w->MMLED3->active());
    EXPECT_EQ(backgroundOf(w->Label1), QColor(255, 0, 0));
    EXPECT_EQ(backgroundOf(w->Label20), QColor(64, 64, 64));
    EXPECT_FALSE(b.playButton->isEnabled());
    EXPECT_EQ(b.title->text(), "Música:");
    EXPECT_NE(a.title->text(), "Música:");

    h.tick("Timer3");
    EXPECT_FALSE(w->MMLED4->active());
    h.tick("Timer3");
    EXPECT_TRUE(w->MMLED4->active());

    press(a.stopButton);
    h.tick("Timer3");
    EXPECT_TRUE(w->bitbtn17->isEnabled());
    EXPECT_TRUE(w->speedbutton1->isEnabled());
    EXPECT_FALSE(w->MMLED4->active());
    EXPECT_EQ(backgroundOf(w->Label1), QColor(64, 64, 64));
}
