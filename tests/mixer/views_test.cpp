// Each deck's picture and level gauge on the monitor tick, and the click that switches the
// picture between the spectrum and the oscilloscope.
#include "deck_fixture.h"

#include "app/PaintBox.h"
#include "vis/meter_vis.h"
#include "vis/osc_vis.h"
#include "vis/spectrum_vis.h"
#include "vis/vis_fixtures.h"
#include "widgets/LedGauge.h"

#include <QTimer>

namespace {

// Lit rows over all columns of the frame: the trace's or the bars' vertical extent.
std::pair<int, int> litExtent(const QImage& image)
{
    int top = image.height(), bottom = -1;
    for (int x = 0; x < image.width(); ++x)
        for (int y : litRows(image, x)) {
            top = std::min(top, y);
            bottom = std::max(bottom, y);
        }
    return {top, bottom};
}

} // namespace

class Views : public DeckTest
{
public:
    // A new window with a tone at 0.9 of full scale playing on the deck for a while.
    Deck& playingTone(int number, double hz = 1000)
    {
        fresh();
        Deck& d = deck(number);
        const QString tone = media::writeWav(h.dataFile("tone.wav"), kRate, 2, 16, int64_t(kTrackMs) * kRate / 1000,
                                             media::sine(hz, kRate, 0.9));
        fill(d, {tone});
        clickRow(d, 0);
        press(d.playButton);
        h.render(300);
        return d;
    }

    void tick(Deck& d) { h.tick(d.monitorTimer->objectName()); }
};

// Catches a view drawn into the wrong deck's box, a spectrum placed off its Y of 5, a trace not
// centred on row 29, and a gauge not fed by the meter.
TEST_F(Views, ATonePaintsTheSelectedViewAndFillsTheGauge)
{
    for (int number : {1, 2}) {
        SCOPED_TRACE(number);
        Deck& d = playingTone(number);
        Deck& other = deck(3 - number);
        tick(d);
        ASSERT_EQ(d.paintBox->frame(), &d.spectrum->BackBuffer());
        // 1 kHz lies in FFT value 23, band 18: a full bar over columns 108..112 from row 19 down.
        const QImage& spectrum = *d.paintBox->frame();
        for (int x = 108; x <= 112; ++x)
            EXPECT_EQ(litRows(spectrum, x), rowSpan(19, 58)) << x;
        EXPECT_EQ(litRows(spectrum, 113), std::vector<int>{}) << "the gap between bars";
        // The loudest band, capped at 100, gives the meter's 114 and the gauge's 100.
        EXPECT_EQ(d.meter->LastLevel, 114);
        EXPECT_EQ(d.levelGauge->value(), 100);
        EXPECT_EQ(other.paintBox->frame(), nullptr);
        EXPECT_EQ(other.levelGauge->value(), 0);

        d.visualMode = 1;
        h.render(50);
        tick(d);
        ASSERT_EQ(d.paintBox->frame(), &d.scope->BackBuffer());
        // The sum of both channels at 0.9 of full scale swings 20 rows about row 29.
        EXPECT_EQ(litExtent(*d.paintBox->frame()), std::pair(9, 49));
        EXPECT_EQ(d.levelGauge->value(), 100) << "the oscilloscope mode feeds the gauge too";
    }
}

// A silent track shows no bars and sets the gauge back to 0 on the next tick.
TEST_F(Views, SilenceLeavesTheFrameBlackAndTheGaugeAtZero)
{
    Deck& d = playingTone(1, 0);
    d.levelGauge->setValue(60);
    tick(d);
    ASSERT_NE(d.paintBox->frame(), nullptr);
    EXPECT_EQ(litExtent(*d.paintBox->frame()).second, -1) << "nothing lit";
    EXPECT_EQ(d.levelGauge->value(), 0);
}

// The click flips only its own deck's mode, and the picture on screen stays until the next tick.
TEST_F(Views, AClickSwitchesItsOwnDeckFromTheNextTick)
{
    for (int number : {1, 2}) {
        SCOPED_TRACE(number);
        Deck& d = playingTone(number);
        Deck& other = deck(3 - number);
        tick(d);
        const QImage shown = d.paintBox->frame()->copy();

        h.click(d.paintBox->objectName());
        EXPECT_EQ(d.visualMode, 1);
        EXPECT_EQ(other.visualMode, 0);
        EXPECT_EQ(d.paintBox->frame(), &d.spectrum->BackBuffer());
        EXPECT_EQ(*d.paintBox->frame(), shown) << "nothing is redrawn at the click";
        tick(d);
        EXPECT_EQ(d.paintBox->frame(), &d.scope->BackBuffer());

        h.click(d.paintBox->objectName());
        EXPECT_EQ(d.visualMode, 0);
        tick(d);
        EXPECT_EQ(d.paintBox->frame(), &d.spectrum->BackBuffer());

        // A mode restored from the settings other than 1 is the spectrum; a click makes it 1.
        d.visualMode = 7;
        h.click(d.paintBox->objectName());
        EXPECT_EQ(d.visualMode, 1);
    }
}

// What the operator sees is the renderer's frame, pixel for pixel, in both views.
TEST_F(Views, ThePaintBoxShowsTheRenderedFrame)
{
    Deck& d = playingTone(2, 660);
    for (int16_t mode : {0, 1}) {
        d.visualMode = mode;
        tick(d);
        const QImage onScreen = d.paintBox->grab().toImage().convertToFormat(QImage::Format_RGB32);
        EXPECT_EQ(onScreen, d.paintBox->frame()->convertToFormat(QImage::Format_RGB32)) << mode;
    }
}
