// The real main window with both deck channels opened on the manual engine, short generated
// tracks, and the operator's ways of driving a deck.
#pragma once
#include "audio/media.h"
#include "support/harness.h"
#include "support/real_timers.h"

#include "audio/TCorvoBass.h"
#include "audio/TThreadedTimer.h"
#include "widgets/LedButton.h"
#include "widgets/TrackBar.h"

#include <QListWidget>
#include <QPushButton>
#include <QTest>

class DeckTest : public ::testing::Test
{
public:
    static constexpr int kRate = 44100;
    static constexpr int kTrackMs = 1200;

    void SetUp() override { fresh(); }

    // A newly created window, for each case of a table.
    void fresh()
    {
        stopped.reset();
        h.window.reset();
        // The "mm:ss" read-outs are cut from this format, whatever the machine's locale says.
        timefmt::setLongTimeFormat("HH:mm:ss");
        w = &h.create();
        h.show();
        // The show step restores the saved master volume (75 without a file); the deck cases
        // start from full volume.
        w->Trackbar6->setValue(100);
        for (TCorvoBass* channel : {w->canal_a, w->canal_b})
            if (!channel->EndTimer)
                channel->OpenDevice(1);
        // Time passes only as a case renders it or ticks a timer.
        stopped = std::make_unique<test::RealTimersStopped>(*w);
        // Fades are stepped by the tests: the channel's own stepper would wait 4 s a step.
        w->tempo_fade = 100000;
        // And with the crossfader centred, whatever the settings gave.
        w->Trackbar18->setValue(100);
        h.dialogs.clear();
    }

    QString track(const QString& name, int ms = kTrackMs, double hz = 440, int rate = kRate, int channels = 2)
    {
        return media::writeWav(h.dataFile(name), rate, channels, 16, int64_t(ms) * rate / 1000,
                               media::sine(hz, rate, 0.3));
    }

    // Three playable tracks, as a playlist would put them on the deck.
    QStringList threeTracks()
    {
        return {track("one.wav", kTrackMs, 330), track("two.wav", kTrackMs, 440), track("three.wav", kTrackMs, 550)};
    }

    // A new window whose deck holds the three tracks with one of them loaded, and playing
    // when asked.
    Deck& freshDeck(int number, int row = 0, bool play = true)
    {
        fresh();
        Deck& d = deck(number);
        tracks = threeTracks();
        fill(d, tracks);
        clickRow(d, row);
        if (play)
            press(d.playButton);
        return d;
    }

    // Taken by value: a caller may pass the deck's own list.
    static void fill(Deck& d, const QStringList paths)
    {
        for (const QString& path : paths) {
            d.listBox->addItem(QFileInfo(path).fileName().toUpper());
            d.paths << path;
        }
    }

    // A click on a playlist row, as the operator makes it.
    void clickRow(Deck& d, int row)
    {
        QListWidget* list = d.listBox;
        list->scrollToItem(list->item(row));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(row)).center());
        QApplication::processEvents();
    }

    void doubleClickRow(Deck& d, int row)
    {
        QListWidget* list = d.listBox;
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(row)).center());
        QApplication::processEvents();
    }

    static void press(QPushButton* button)
    {
        button->click();
        QApplication::processEvents();
    }

    // Steps the fade-out to its end, where the channel stops itself.
    static void finishFade(Deck& d)
    {
        for (int step = 0; step < 100 && d.channel->FadeTimer->Enabled(); ++step)
            d.channel->FadeStep();
    }

    // Plays the rest of the track and lets the end watcher see its end.
    void playToEnd(Deck& d)
    {
        h.render(int(d.channel->GetLength() - d.channel->GetPosition()) + 100);
        if (d.channel->Playing)
            d.channel->CheckEnd();
    }

    // One tick of a window timer with no other event let in.
    static void tickNow(QTimer* timer) { QMetaObject::invokeMethod(timer, "timeout", Qt::DirectConnection); }

    Deck& deck(int number) const { return number == 1 ? w->deckA : w->deckB; }

    test::Harness h;
    std::unique_ptr<test::RealTimersStopped> stopped;
    Tform_mixer* w = nullptr;
    QStringList tracks; // those of freshDeck()
};
