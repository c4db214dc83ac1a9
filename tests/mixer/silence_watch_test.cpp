// The silence watch on the simulated deck clock: after which stops the music starts again by
// itself and after which it stays silent, how a list whose files are gone is handled, and the
// switch's line in the settings file.
#include "deck_fixture.h"
#include "support/deck_clock.h"

#include "app/paths.h"
#include "mixer/play_record.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <optional>

namespace {

const QDateTime kMorning(QDate(2026, 3, 14), QTime(10, 0, 0));

QString timeText(int64_t ms) { return kMorning.addMSecs(ms).toString("yyyy-MM-dd HH:mm:ss"); }

} // namespace

class SilenceWatch : public DeckTest
{
public:
    void TearDown() override { app::setWallClock({}); }

    // A new window with the watch switched as asked, Auto Mix on (the settings' default),
    // short fades, and the wall clock running with the deck clock.
    void start(bool watchOn)
    {
        clock.reset();
        fresh();
        // Each case keeps a record of its own.
        QDir(mixer::PlayRecord::folder()).removeRecursively();
        w->tempo_fade = 500;
        w->VigiaSilencio1->setChecked(watchOn);
        clock.emplace(*w);
        app::setWallClock([this] { return kMorning.addMSecs(clock->nowMs()); });
    }

    // Lets time pass until `done` holds or `ms` have passed; the time it held at, or -1.
    int64_t until(int ms, const std::function<bool()>& done)
    {
        for (int passed = 0; passed < ms; passed += test::DeckClock::kPeriodMs) {
            if (done())
                return clock->nowMs();
            clock->advance(test::DeckClock::kPeriodMs);
        }
        return done() ? clock->nowMs() : -1;
    }

    bool anyDeckPlays() const { return w->canal_a->Playing || w->canal_b->Playing; }

    std::optional<test::DeckClock> clock;
};

// Catches a watch that restarts after the operator's own silence, one that misses a silence
// nobody chose, a restart before 5 s, and a list of missing files that loops or piles up boxes.
TEST_F(SilenceWatch, RestartsOnlyAfterASilenceNobodyChose)
{
    enum Restart { None, OnA, OnB };
    const struct {
        const char* how;
        bool watchOn;
        bool otherList;          // deck B holds one track
        std::function<void()> whilePlaying;
        std::function<void()> afterStop;
        Restart restart;
        int maxWatchMessages;
    } cases[] = {
        {"its track ends, the other list empty", true, false, [] {}, [] {}, OnA, 0},
        {"the same, the watch switched off", false, false, [] {}, [] {}, None, 0},
        {"Stop (seco)", true, false, [&] { press(deck(1).stopButton); }, [] {}, None, 0},
        {"Fade", true, false, [&] { press(deck(1).fadeButton); }, [] {}, None, 0},
        {"Mix B towards a deck whose file is gone", true, true,
         [&] {
             QFile::remove(deck(2).paths[0]);
             press(w->speedbutton2);
         },
         [] {}, None, 0},
        {"its track ends, then Auto Mix off and on again", true, false, [] {},
         [&] {
             w->LEDButton1->click();
             w->LEDButton1->click();
         },
         None, 0},
        {"every file of both lists gone", true, true,
         [&] {
             for (const QString& path : deck(1).paths + deck(2).paths)
                 QFile::remove(path);
         },
         [] {}, None, 1},
        {"deck A's files gone, deck B's back before the end", true, true,
         [&] {
             const QString b = deck(2).paths[0];
             const QByteArray bytes = [&] {
                 QFile f(b);
                 f.open(QIODevice::ReadOnly);
                 return f.readAll();
             }();
             // The hand-over finds deck B's file gone: deck A plays on to its end.
             QFile::remove(b);
             clock->advance(100);
             for (const QString& path : deck(1).paths)
                 QFile::remove(path);
             QFile f(b);
             f.open(QIODevice::WriteOnly);
             f.write(bytes);
         },
         [] {}, OnB, 1},
        {"its track ends while the output is gone; the output comes back", true, false,
         [] { audio::setOutputFailing(1, true); }, [] {}, OnA, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.how);
        start(c.watchOn);
        Deck& A = deck(1);
        Deck& B = deck(2);
        fill(A, {track("a1.wav", 1200, 330), track("a2.wav", 4000, 440)});
        if (c.otherList)
            fill(B, {track("b1.wav", 4000, 550)});
        clickRow(A, 0);
        if (c.otherList)
            clickRow(B, 0);
        press(A.playButton);
        ASSERT_TRUE(A.channel->Playing);
        c.whilePlaying();
        const int64_t stoppedAt = until(5000, [&] { return !anyDeckPlays(); });
        ASSERT_GE(stoppedAt, 0);
        c.afterStop();
        const int messagesAtStop = int(h.dialogs.shown.size());

        const int64_t restartedAt = until(30000, [&] { return anyDeckPlays(); });
        const int watchMessages = int(h.dialogs.shown.size()) - messagesAtStop;
        audio::setOutputFailing(1, false);
        EXPECT_LE(watchMessages, c.maxWatchMessages) << h.dialogs.texts().join(" | ").toStdString();
        if (c.restart == None) {
            EXPECT_EQ(restartedAt, -1);
            continue;
        }
        ASSERT_GE(restartedAt, 0);
        // Neither deck has played for 5 s, and the next tick of the watch restarts.
        EXPECT_GE(restartedAt - stoppedAt, 5000);
        EXPECT_LE(restartedAt - stoppedAt, 5000 + 2 * mixer::SilenceWatch::kTickMs);
        Deck& restarted = c.restart == OnA ? A : B;
        EXPECT_TRUE(restarted.channel->Playing);
        EXPECT_EQ(restarted.title->text(), c.restart == OnA ? "a2.wav" : "b1.wav");
        // Heard, whatever became of the output meanwhile (a device that answers again is
        // reopened within a second).
        std::vector<float> heard;
        clock->advance(1500, &heard);
        const size_t frames = heard.size() / 2;
        EXPECT_GT(media::rms(heard, frames * 4 / 5, frames), 0.05);
        // The restart is on record: the silence's span, nothing heard, the track that ended it.
        QFile record(mixer::PlayRecord::file(kMorning.date()));
        ASSERT_TRUE(record.open(QIODevice::ReadOnly));
        const QStringList lines = QString::fromUtf8(record.readAll()).split("\r\n");
        ASSERT_EQ(lines.size(), 3); // header, the restart, the end of the last line
        EXPECT_EQ(lines[1], QStringList({timeText(stoppedAt), timeText(restartedAt), "0", restarted.channelName,
                                         restarted.channel->FilePath, "", "", "vigia"})
                                .join(','));
    }
}

// Nobody answers the boxes of an automatic action (the end of a track with Auto Mix on, a
// hand-over, the watch's tries): catches a box that waits for an answer, a box for each missing
// entry and each try of the watch, and a beep for each.
TEST_F(SilenceWatch, AutomaticActionsKeepOneBoxUpWithTheNewestTextAndTheMusicGoesOn)
{
    // Names no case writes.
    const auto gone = [&](const char* name) { return h.dataFile(name); };
    const struct {
        const char* how;
        std::function<void()> fill; // then deck A plays its first entry
        std::function<void()> whilePlaying;
        const char* lastMissing;    // the entry of the box's newest text; the selected one when none
        const char* restarted;      // the track the watch plays again, none when nothing can play
    } cases[] = {
        {"deck A's next entry missing, deck B empty",
         [&] { fill(deck(1), {track("a1.wav", 1200, 330), gone("gone1.wav"), track("a3.wav", 4000, 440)}); },
         [] {}, "gone1.wav", "a3.wav"},
        {"every entry of deck A missing, deck B empty",
         [&] { fill(deck(1), {track("a1.wav", 1200, 330), gone("gone1.wav"), gone("gone2.wav")}); },
         [&] { QFile::remove(deck(1).paths[0]); }, nullptr, nullptr},
        {"deck B's file gone at the hand-over, deck A's next entry missing",
         [&] {
             fill(deck(1), {track("a1.wav", 4000, 330), gone("gone1.wav")});
             fill(deck(2), {track("b1.wav", 4000, 550)});
             clickRow(deck(2), 0);
         },
         [&] { QFile::remove(deck(2).paths[0]); }, "gone1.wav", "a1.wav"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.how);
        start(true);
        Deck& A = deck(1);
        c.fill();
        clickRow(A, 0);
        press(A.playButton);
        ASSERT_TRUE(A.channel->Playing);
        c.whilePlaying();
        const int64_t stoppedAt = until(5000, [&] { return !anyDeckPlays(); });
        ASSERT_GE(stoppedAt, 0);
        // The music comes back after 5 s as after any silence, the box still up.
        const int64_t restartedAt = until(30000, [&] { return anyDeckPlays(); });
        if (c.restarted) {
            EXPECT_GE(restartedAt - stoppedAt, 5000);
            EXPECT_LE(restartedAt - stoppedAt, 5000 + 2 * mixer::SilenceWatch::kTickMs);
            EXPECT_EQ(A.title->text(), c.restarted);
        } else {
            EXPECT_EQ(restartedAt, -1); // 30 s of tries, each of them over in its tick
        }
        EXPECT_TRUE(h.dialogs.noticeUp());
        ASSERT_EQ(h.dialogs.shown.size(), 1) << h.dialogs.texts().join(" | ").toStdString();
        EXPECT_EQ(h.dialogs.shown[0].kind, "notice");
        // Each try of the watch goes once round the list and ends on the entry it tried last.
        const QString newest = c.lastMissing ? gone(c.lastMissing) : A.paths[A.listBox->currentRow()];
        EXPECT_EQ(h.dialogs.shown[0].text, "Arquivo ->" + newest + " - Não Localizado !!");
        EXPECT_EQ(h.dialogs.beeps, 1);
    }
}

// Catches a switch that is not kept, and an older or damaged file that turns the watch on or
// stops the start-up with a message.
TEST(SilenceWatchSetting, ReadFromItsOwnLineAfterTheThirty)
{
    const struct {
        const char* file;
        bool on;
    } cases[] = {
        {nullptr, false}, {"FADE=4000\r\n", false}, {"VIGIA=1\r\n", true}, {"VIGIA=0\r\n", false},
        {"VIGIA=sim\r\n", false}, {"VIGIA=\r\n", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file ? c.file : "no file");
        test::Harness h;
        if (c.file)
            h.writeDataFile("VOLTARIA4.INI", c.file);
        Tform_mixer& w = h.create();
        h.show();
        EXPECT_EQ(w.VigiaSilencio1->isChecked(), c.on);
        EXPECT_EQ(w.TimerVigia->isActive(), c.on);
        EXPECT_EQ(h.dialogs.texts(), QStringList{});
    }
}
