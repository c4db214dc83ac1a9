// A loaded deck that waits shows the track's true length once the engine has counted it. The
// count runs after the load returns, which only the real backend shows (the manual backend
// counts at once), so this runs on the null device in a copy of the test program.
#include "support/eventually.h"
#include "audio/media.h"
#include "support/own_copy.h"
#include "support/test_copy.h"

#include "app/UMIXER.h"
#include "audio/TCorvoBass.h"
#include "widgets/TrackBar.h"

#include <QLabel>
#include <QListWidget>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace {

const char* const kChildData = "VOLTARIA_DECK_LENGTH_CHILD_DATA";

} // namespace

// Runs only in the copy the test below starts.
TEST(DeckLengthRealTimeCopy, Run)
{
    test::CopyEnvironment copy(kChildData);
    if (copy.data.isEmpty())
        GTEST_SKIP() << "started by the deck length test only";
    copy.writeSettings();
    // MP3s joined: the estimate from the first one's header is about a minute for a file that
    // holds ten, long enough that the count is still running when the load returns.
    const QString wav2 = media::writeWav(copy.data + "/a.wav", 44100, 2, 16, 2 * 44100, media::sine(440, 44100, 0.3));
    const QString wav20 = media::writeWav(copy.data + "/b.wav", 44100, 2, 16, 20 * 44100, media::sine(660, 44100, 0.3));
    const QString first = media::transcode(wav2, copy.data + "/a.mp3", {"-b:a", "320k"});
    const QString part = media::transcode(wav20, copy.data + "/b.mp3", {"-b:a", "32k"});
    ASSERT_FALSE(first.isEmpty() || part.isEmpty());
    QString track = first;
    for (int i = 0; i < 30; ++i)
        track = media::join(track, part, copy.data + QString("/junta%1.mp3").arg(i));
    ASSERT_FALSE(track.isEmpty());

    Tform_mixer w;
    w.show();
    QApplication::processEvents();
    ASSERT_EQ(w.canal_a->Device, copy.nullDevice);
    w.ListBox1->addItem("JUNTA.MP3");
    w.lista_a << track;
    w.ListBox1->setCurrentRow(0);
    w.ListBox1Click();
    ASSERT_TRUE(w.canal_a->Loaded);
    ASSERT_FALSE(w.canal_a->Playing);

    EXPECT_LT(w.deckA.positionSlider->maximum(), 300000) << "the count finished inside the load";
    ASSERT_EVENTUALLY(w.deckA.positionSlider->maximum() > 600000, 10000);
    EXPECT_EQ(w.deckA.positionSlider->maximum(), w.canal_a->GetLength());
    EXPECT_EQ(w.deckA.durationText->text(), "10:03");
    EXPECT_EQ(copy.dialogs.texts(), QStringList{});
}

// Catches a waiting deck that keeps the header's estimate until it plays: the operator
// sees a track of one minute that lasts ten.
TEST(DeckLengthRealTime, AStoppedDeckShowsTheCountedLength)
{
    QTemporaryDir data;
    test::runOwnCopy("DeckLengthRealTimeCopy.Run", kChildData, data.path());
}
