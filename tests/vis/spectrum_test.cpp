// The spectrum view with the deck's settings (252 × 59, bars 5 wide, cap 45, drawn at Y = 5):
// which bands are visible, which rows a bar covers, and how bars and peaks fall across frames.
#include "vis/spectrum_vis.h"
#include "vis_fixtures.h"

#include <gtest/gtest.h>

namespace {

constexpr int kDeckY = 5;

// The settings the main window gives each deck's spectrum.
void useDeckSettings(TSpectrum& spectrum)
{
    spectrum.BarWidth = 5;
    spectrum.DrawType = 1;
    spectrum.HeightCap = 45;
}

struct DeckSpectrum : ::testing::Test {
    DeckSpectrum() { useDeckSettings(spectrum); }
    const QImage& frame(const TFFTBlock& fft)
    {
        spectrum.Render(fft, 0, kDeckY);
        return spectrum.BackBuffer();
    }
    TSpectrum spectrum{kBoxWidth, kBoxHeight};
};

TFFTBlock loudEverywhere()
{
    TFFTBlock block;
    block.fill(1.0f);
    return block;
}

} // namespace

// Catches a wrong bar pitch, gap or count: bands 0..41 fit, band 41 ending at column 250.
TEST_F(DeckSpectrum, FortyTwoBandsFitWithAOnePixelGap)
{
    const QImage& image = frame(loudEverywhere());
    for (int x = 0; x < kBoxWidth; ++x) {
        const bool gap = x % 6 == 5;
        EXPECT_EQ(litRows(image, x), gap ? std::vector<int>{} : rowSpan(19, 58)) << "column " << x;
    }
    EXPECT_EQ(image.pixelColor(246, 30), QColor(Qt::white));
    EXPECT_EQ(image.pixelColor(251, 30), QColor(Qt::black));
}

// A bar's foot lies five rows below the picture: a value v shows v - 5 rows, 45 reaches row 19.
TEST_F(DeckSpectrum, BarRowsForBandValues)
{
    struct Case {
        float magnitude;
        std::vector<int> rows;
    };
    const Case cases[] = {
        {0.0f, {}},
        {0.0119f, {}},                   // value 5: wholly below the bottom edge
        {magnitudeFor(6), {58}},
        {magnitudeFor(10), rowSpan(54, 58)},
        {0.09f, rowSpan(19, 58)},        // the smallest full bar
        {-0.5f, rowSpan(19, 58)},        // magnitudes are taken as absolute values, then capped
    };
    for (const Case& c : cases) {
        TSpectrum fresh(kBoxWidth, kBoxHeight);
        useDeckSettings(fresh);
        fresh.Render(fftWith(5, c.magnitude), 0, kDeckY);
        EXPECT_EQ(litRows(fresh.BackBuffer(), 2), c.rows) << "magnitude " << c.magnitude;
    }
}

// Bars fall 3 pixels and peaks 1 pixel per frame and stop at 0; the yellow marker shows once
// the bar has dropped below it.
TEST_F(DeckSpectrum, SilenceLowersBarsAndPeaksEachFrame)
{
    frame(loudEverywhere());
    const QImage& image = frame(silentFFT());
    EXPECT_EQ(spectrum.Bars[0], 42);
    EXPECT_EQ(spectrum.Peaks[0], 44);
    EXPECT_EQ(image.pixelColor(0, 20), QColor(Qt::yellow)) << "peak marker at 64 - 44";
    EXPECT_EQ(image.pixelColor(4, 20), QColor(Qt::yellow));
    EXPECT_EQ(image.pixelColor(5, 20), QColor(Qt::black)) << "marker covers the bar's five columns";
    EXPECT_EQ(litRows(image, 0), std::vector<int>({20, 22, 23, 24, 25, 26, 27, 28, 29, 30, 31, 32, 33, 34,
                                                   35, 36, 37, 38, 39, 40, 41, 42, 43, 44, 45, 46, 47, 48,
                                                   49, 50, 51, 52, 53, 54, 55, 56, 57, 58}));
    for (int tick = 2; tick <= 15; ++tick)
        frame(silentFFT());
    EXPECT_EQ(spectrum.Bars[0], 0);
    EXPECT_EQ(spectrum.Peaks[0], 30);
    frame(silentFFT());
    EXPECT_EQ(spectrum.Bars[0], 0);
    EXPECT_EQ(litRows(spectrum.BackBuffer(), 0), std::vector<int>{64 - 29});
}

// A louder value raises a falling bar at once, not by steps.
TEST_F(DeckSpectrum, ALouderValueRaisesTheBarAtOnce)
{
    frame(fftWith(5, magnitudeFor(20)));
    frame(silentFFT());
    frame(fftWith(5, magnitudeFor(40)));
    EXPECT_EQ(spectrum.Bars[0], 40);
    EXPECT_EQ(spectrum.Peaks[0], 40);
}

TEST_F(DeckSpectrum, KeepsTheLevelOfTheLoudestBand)
{
    frame(fftWith(40, magnitudeFor(19)));
    EXPECT_EQ(spectrum.Level, 50);
}

// Line mode draws band i in column X + i; the stride picks FFT values 5, 5 + stride, ..., and
// bands whose value would lie past the block read silence.
TEST(SpectrumLines, StrideChoosesTheValuesAndStaysInsideTheBlock)
{
    TSpectrum spectrum(kBoxWidth, kBoxHeight);
    spectrum.HeightCap = 45;
    spectrum.Stride = 4;
    TFFTBlock loud;
    loud.fill(1.0f);
    spectrum.Render(loud, 0, 0);
    const QImage& image = spectrum.BackBuffer();
    EXPECT_EQ(litRows(image, 126), rowSpan(14, 58)) << "band 126 reads value 509: bar to row 15, peak at 14";
    EXPECT_EQ(litRows(image, 127), std::vector<int>{}) << "band 127 would read value 513";
    EXPECT_EQ(litRows(image, 129), std::vector<int>{}) << "there is no band 129";

    for (int stride : {1, 2}) {
        TSpectrum fresh(kBoxWidth, kBoxHeight);
        fresh.Stride = stride;
        fresh.Render(fftWith(7, magnitudeFor(10)), 0, 0);
        const int band = 2 / stride;
        EXPECT_EQ(litRows(fresh.BackBuffer(), band), rowSpan(49, 58)) << "stride " << stride;
        EXPECT_EQ(litRows(fresh.BackBuffer(), 3 - band), std::vector<int>{}) << "stride " << stride;
    }
}

// The fill comes first and the background picture is copied over it.
TEST(SpectrumBackground, PictureIsCopiedOverTheFill)
{
    TSpectrum spectrum(kBoxWidth, kBoxHeight);
    spectrum.BackColor = Qt::blue;
    spectrum.BackgroundPicture = QImage(10, 10, QImage::Format_RGB32);
    spectrum.BackgroundPicture.fill(Qt::red);
    spectrum.UseBackgroundPicture = true;
    spectrum.DrawPeaks = false;
    spectrum.Render(silentFFT(), 0, 0);
    EXPECT_EQ(spectrum.BackBuffer().pixelColor(3, 3), QColor(Qt::red));
    EXPECT_EQ(spectrum.BackBuffer().pixelColor(200, 30), QColor(Qt::blue));
}
