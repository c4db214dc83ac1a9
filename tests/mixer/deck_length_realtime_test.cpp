// A deck shows the track's true length once the engine has counted it, waiting or playing. The
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
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>
#include <optional>

namespace {

const char* const kChildData = "VOLTARIA_DECK_LENGTH_CHILD_DATA";

// MP3s joined: the estimate from the first one's header is about a minute for a file that holds
// ten, long enough that the count is still running when the load returns.
QString joinedMp3(const QString& folder)
{
    const QString wav2 = media::writeWav(folder + "/a.wav", 44100, 2, 16, 2 * 44100, media::sine(440, 44100, 0.3));
    const QString wav20 = media::writeWav(folder + "/b.wav", 44100, 2, 16, 20 * 44100, media::sine(660, 44100, 0.3));
    const QString first = media::transcode(wav2, folder + "/a.mp3", {"-b:a", "320k"});
    const QString part = media::transcode(wav20, folder + "/b.mp3", {"-b:a", "32k"});
    if (first.isEmpty() || part.isEmpty())
        return QString();
    QString track = first;
    for (int i = 0; i < 30; ++i)
        track = media::join(track, part, folder + QString("/junta%1.mp3").arg(i));
    return track;
}

// Where the slider's knob stands, as the style draws it.
QPoint knobCentre(QSlider& slider)
{
    QStyleOptionSlider option;
    option.initFrom(&slider);
    option.subControls = QStyle::SC_All;
    option.orientation = slider.orientation();
    if (slider.orientation() == Qt::Horizontal)
        option.state |= QStyle::State_Horizontal;
    option.minimum = slider.minimum();
    option.maximum = slider.maximum();
    option.sliderPosition = slider.sliderPosition();
    option.sliderValue = slider.value();
    option.singleStep = slider.singleStep();
    option.pageStep = slider.pageStep();
    option.upsideDown = slider.invertedAppearance();
    return slider.style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderHandle, &slider).center();
}

} // namespace

// Runs only in the copy that the tests below start: deck A of a shown window on the null device
// with the joined track loaded and waiting.
class DeckLengthRealTimeCopy : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (copy.data.isEmpty())
            GTEST_SKIP() << "started by the deck length tests only";
        copy.writeSettings();
        const QString track = joinedMp3(copy.data);
        ASSERT_FALSE(track.isEmpty());
        window.emplace();
        Tform_mixer& w = *window;
        w.show();
        QApplication::processEvents();
        ASSERT_EQ(w.canal_a->Device, copy.nullDevice);
        w.ListBox1->addItem("JUNTA.MP3");
        w.lista_a << track;
        w.ListBox1->setCurrentRow(0);
        w.ListBox1Click();
        ASSERT_TRUE(w.canal_a->Loaded);
        ASSERT_FALSE(w.canal_a->Playing);
    }

    test::CopyEnvironment copy{kChildData};
    std::optional<Tform_mixer> window;
};

TEST_F(DeckLengthRealTimeCopy, Run)
{
    Tform_mixer& w = *window;
    EXPECT_LT(w.deckA.positionSlider->maximum(), 300000) << "the count finished inside the load";
    ASSERT_EVENTUALLY(w.deckA.positionSlider->maximum() > 600000, 10000);
    EXPECT_EQ(w.deckA.positionSlider->maximum(), w.canal_a->GetLength());
    EXPECT_EQ(w.deckA.durationText->text(), "10:03");
    EXPECT_EQ(copy.dialogs.texts(), QStringList{});
}

TEST_F(DeckLengthRealTimeCopy, PlayingRun)
{
    Tform_mixer& w = *window;
    TrackBar& slider = *w.deckA.positionSlider;
    w.bitbtn2->click();
    ASSERT_TRUE(w.canal_a->Playing);

    // The operator holds the knob while the count ends: the range stays as the drag began.
    QTest::mousePress(&slider, Qt::LeftButton, {}, knobCentre(slider));
    ASSERT_TRUE(slider.isSliderDown());
    const int estimate = slider.maximum();
    EXPECT_LT(estimate, 300000) << "the count finished inside the load";
    ASSERT_EVENTUALLY(w.deckA.durationText->text() == "10:03", 10000);
    EXPECT_EQ(slider.maximum(), estimate);
    QTest::mouseRelease(&slider, Qt::LeftButton, {}, knobCentre(slider));

    // Released, the range takes the counted length, and a drag reaches the last minutes.
    ASSERT_EVENTUALLY(slider.maximum() == w.canal_a->GetLength(), 5000);
    const QPoint from = knobCentre(slider);
    QTest::mousePress(&slider, Qt::LeftButton, {}, from);
    QTest::mouseMove(&slider, QPoint(slider.width() * 9 / 10, from.y()));
    QTest::mouseRelease(&slider, Qt::LeftButton, {}, QPoint(slider.width() * 9 / 10, from.y()));
    EXPECT_GT(w.canal_a->GetPosition(), 450000);
    EXPECT_EVENTUALLY(slider.value() > 450000, 5000);
    EXPECT_EQ(copy.dialogs.texts(), QStringList{});
}

// Catches a waiting deck that keeps the header's estimate until it plays: the operator
// sees a track of one minute that lasts ten.
TEST(DeckLengthRealTime, AStoppedDeckShowsTheCountedLength)
{
    QTemporaryDir data;
    test::runOwnCopy("DeckLengthRealTimeCopy.Run", kChildData, data.path());
}

// Catches a playing deck whose slider keeps the header's estimate (it sits at its end after a
// minute and a drag reaches only that minute), and a range changed under the operator's drag.
TEST(DeckLengthRealTime, APlayingDecksSliderFollowsTheCountedLength)
{
    QTemporaryDir data;
    test::runOwnCopy("DeckLengthRealTimeCopy.PlayingRun", kChildData, data.path());
}
