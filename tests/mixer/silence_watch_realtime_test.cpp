// The silence watch in real time on the clock-paced null device: the window's own timers, the
// end watcher and the watch's tick, as the program runs them. The engine keeps the backend it
// started with, so this runs in a copy of the test program of its own, which a deadline kills.
#include "audio/media.h"
#include "support/harness.h"
#include "support/own_copy.h"
#include "support/test_copy.h"

#include "audio/TCorvoBass.h"
#include "mixer/play_record.h"

#include <QAction>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

const char* const kChildData = "VOLTARIA_WATCH_CHILD_DATA";
const char* const kBoxesChildData = "VOLTARIA_BOXES_CHILD_DATA";

// Lets the window's timers run until `done` holds; the milliseconds it took, or -1 after 20 s.
int64_t waitFor(const std::function<bool()>& done)
{
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() > 20000)
            return -1;
        QTest::qWait(20);
    }
    return clock.elapsed();
}

// The message boxes on screen.
QList<QMessageBox*> boxesUp()
{
    QList<QMessageBox*> up;
    for (QWidget* window : QApplication::topLevelWidgets())
        if (auto* box = qobject_cast<QMessageBox*>(window); box && box->isVisible())
            up << box;
    return up;
}

} // namespace

// Runs only in the copy the test below starts.
TEST(SilenceWatchRealTimeCopy, Run)
{
    test::CopyEnvironment copy(kChildData);
    if (copy.data.isEmpty())
        GTEST_SKIP() << "started by the real-time silence watch test only";
    const QString& data = copy.data;
    const int nullDevice = copy.nullDevice;
    copy.writeSettings("AUTOMIXAR=1\r\nVIGIA=1\r\n");
    const auto tone = [&](const QString& name, double seconds) {
        return media::writeWav(data + "/" + name, 44100, 2, 16, int64_t(seconds * 44100), media::sine(550, 44100, 0.3));
    };
    const QStringList tracks{tone("um.wav", 1.5), tone("dois.wav", 20)};

    Tform_mixer w;
    w.show();
    w.activateWindow();
    QApplication::processEvents();
    ASSERT_EQ(w.canal_a->Device, nullDevice);
    ASSERT_TRUE(w.VigiaSilencio1->isChecked());
    for (const QString& path : tracks) {
        w.ListBox1->addItem(QFileInfo(path).fileName().toUpper());
        w.lista_a << path;
    }
    w.ListBox1->setCurrentRow(0);
    w.ListBox1Click();
    w.BitBtn2Click();
    ASSERT_TRUE(w.canal_a->Playing);

    // Deck B's list is empty: the track ends with nothing to hand over to.
    ASSERT_GE(waitFor([&] { return !w.canal_a->Playing; }), 0);
    const int64_t silence = waitFor([&] { return w.canal_a->Playing; });
    EXPECT_GE(silence, 4900);
    EXPECT_LE(silence, 15000); // the watch's tick may come late on a loaded machine
    EXPECT_EQ(w.label2->text(), "dois.wav");
    // The position advances with the clock: the music is back.
    EXPECT_GE(waitFor([&] { return w.canal_a->GetPosition() >= 300; }), 0);

    bool onRecord = false;
    for (QDirIterator it(mixer::PlayRecord::folder(), {"*.csv"}); it.hasNext();) {
        QFile file(it.next());
        file.open(QIODevice::ReadOnly);
        onRecord = onRecord || file.readAll().contains(",A," + tracks[1].toUtf8() + ",,,vigia\r\n");
    }
    EXPECT_TRUE(onRecord);
    EXPECT_EQ(copy.dialogs.texts(), QStringList{});
}

// Catches a watch that only works on the simulated clock: its timer not running, a restart
// before 5 s of silence, or none at all.
TEST(SilenceWatchRealTime, RestartsOnTheNullDeviceAfterFiveSeconds)
{
    QTemporaryDir data;
    test::runOwnCopy("SilenceWatchRealTimeCopy.Run", kChildData, data.path());
}

// Runs only in the copy the test below starts, with the program's own boxes, which nobody answers.
TEST(AutomaticBoxesRealTimeCopy, Run)
{
    test::CopyEnvironment copy(kBoxesChildData);
    if (copy.data.isEmpty())
        GTEST_SKIP() << "started by the real-time test of the automatic actions' boxes only";
    setDialogs(nullptr);
    copy.writeSettings("AUTOMIXAR=1\r\nVIGIA=1\r\n");
    const auto tone = [&](const QString& name, double seconds) {
        return media::writeWav(copy.data + "/" + name, 44100, 2, 16, int64_t(seconds * 44100),
                               media::sine(550, 44100, 0.3));
    };
    const QString gone = copy.data + "/a2.wav";
    const struct {
        const char* how;
        QStringList a, b;
        bool bGoesMissing;
    } cases[] = {
        {"deck A's next entry missing, deck B empty", {tone("a1.wav", 1.5), gone, tone("a3.wav", 20)}, {}, false},
        {"deck B's file gone at the hand-over, deck A's next entry missing", {tone("a4.wav", 5), gone},
         {tone("b1.wav", 20)}, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.how);
        Tform_mixer w;
        w.show();
        w.activateWindow();
        QApplication::processEvents();
        ASSERT_EQ(w.canal_a->Device, copy.nullDevice);
        const auto fill = [](Deck& d, const QStringList& paths, void (Tform_mixer::*click)(), Tform_mixer& w) {
            for (const QString& path : paths) {
                d.listBox->addItem(QFileInfo(path).fileName().toUpper());
                d.paths << path;
            }
            d.listBox->setCurrentRow(0);
            if (!paths.isEmpty())
                (w.*click)();
        };
        fill(w.deckB, c.b, &Tform_mixer::ListBox2Click, w);
        fill(w.deckA, c.a, &Tform_mixer::ListBox1Click, w);

        // Looks at the screen every 50 ms, from whatever event loop runs: a box that blocks
        // runs one of its own. After 40 s it answers every box, so the case ends and fails.
        enum { Playing, Silent, Back } phase = Playing;
        int mostBoxes = 0;
        int64_t silentAt = 0, backAt = 0;
        QString textWhenBack;
        bool answered = false;
        QElapsedTimer since;
        since.start();
        QTimer look;
        QObject::connect(&look, &QTimer::timeout, [&] {
            const QList<QMessageBox*> up = boxesUp();
            mostBoxes = std::max(mostBoxes, int(up.size()));
            if (phase == Playing && !w.canal_a->Playing && !w.canal_b->Playing) {
                phase = Silent;
                silentAt = since.elapsed();
            } else if (phase == Silent && ((w.canal_a->Playing && w.canal_a->GetPosition() >= 300)
                                           || (w.canal_b->Playing && w.canal_b->GetPosition() >= 300))) {
                phase = Back;
                backAt = since.elapsed();
                textWhenBack = up.isEmpty() ? QString("no box") : up[0]->text();
            }
            if (since.elapsed() > 40000 && !up.isEmpty()) {
                answered = true;
                for (QMessageBox* box : up)
                    box->done(QMessageBox::Ok);
            }
        });
        look.start(50);

        w.BitBtn2Click();
        ASSERT_TRUE(w.canal_a->Playing);
        if (c.bGoesMissing)
            QFile::remove(c.b[0]);
        ASSERT_GE(waitFor([&] { return phase != Playing; }), 0);
        ASSERT_GE(waitFor([&] { return phase == Back; }), 0);
        look.stop();
        EXPECT_FALSE(answered);
        EXPECT_GE(backAt - silentAt, 4900);
        EXPECT_LE(backAt - silentAt, 15000); // the watch's tick may come late on a loaded machine
        // The music is back with the box still up, unanswered, showing the newest text.
        EXPECT_EQ(textWhenBack, "Arquivo ->" + gone + " - Não Localizado !!");
        EXPECT_EQ(mostBoxes, 1);
        for (QMessageBox* box : boxesUp())
            box->done(QMessageBox::Ok);
    }
}

// A box nobody answers, raised at the end of a track with Auto Mix on or at a hand-over:
// catches a box that holds the music off until it is answered (the stop handler held the
// watch), and boxes opened inside each other.
TEST(AutomaticBoxesRealTime, TheMusicGoesOnUnderOneUnansweredBox)
{
    QTemporaryDir data;
    test::runOwnCopy("AutomaticBoxesRealTimeCopy.Run", kBoxesChildData, data.path());
}
