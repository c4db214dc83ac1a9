// The oscilloscope with the deck's settings (252 × 59, scale 45, centre line at row 29): where
// samples land, the three draw modes, the stride, and the copy onto the paint box.
#include "vis/osc_vis.h"
#include "vis_fixtures.h"

#include <QPainter>
#include <gtest/gtest.h>

namespace {

constexpr int kCentre = kBoxHeight / 2;

struct DeckScope : ::testing::Test {
    DeckScope() { scope.Scale = 45; }
    const QImage& frame(const TSampleBlock& samples, int X = 0)
    {
        scope.Render(samples, X, kCentre);
        return scope.BackBuffer();
    }
    TOcilloScope scope{kBoxWidth, kBoxHeight};
};

} // namespace

// Catches a wrong sign, a wrong sample split or rounding away from zero: full scale on both
// channels lies 22 rows from the centre, positive sums below it.
TEST_F(DeckScope, OffsetOfSampleSums)
{
    struct Case {
        int16_t left, right;
        int offset;
    };
    const Case cases[] = {
        {0, 0, 0},
        {32767, 32767, 22},
        {-32768, -32768, -22},
        {32767, 0, 11},
        {0, -32768, -11},
        {32767, -32768, 0},
        {2913, 0, 1},   // 2913 × 45 / 131070 = 1.0001
        {2912, 0, 0},   // 0.9998
        {-2912, 0, 0},  // truncated toward zero
    };
    for (const Case& c : cases) {
        const QImage& image = frame(samplesOf(frameWord(c.left, c.right)));
        EXPECT_EQ(litRows(image, 100), std::vector<int>{kCentre + c.offset})
            << c.left << " + " << c.right;
    }
}

// Mode 0 joins the points, mode 1 draws from the centre line toward each point (the point left
// out), mode 2 sets one pixel per point; frame 0 is only the starting point of the trace.
TEST_F(DeckScope, DrawModes)
{
    struct Case {
        int mode;
        std::vector<int> column0, column10;
    };
    const std::vector<int> none;
    const Case cases[] = {
        {0, {51}, {51}},
        {1, none, rowSpan(29, 50)},
        {2, none, {51}},
    };
    for (const Case& c : cases) {
        scope.DrawType = c.mode;
        const QImage& image = frame(samplesOf(frameWord(32767, 32767)));
        EXPECT_EQ(litRows(image, 0), c.column0) << "mode " << c.mode;
        EXPECT_EQ(litRows(image, 10), c.column10) << "mode " << c.mode;
    }
    scope.DrawType = 1;
    EXPECT_EQ(litRows(frame(samplesOf(frameWord(-32768, -32768))), 10), rowSpan(8, 29))
        << "negative sums draw upward from the centre line";
}

TEST_F(DeckScope, ConnectedLineJoinsNeighbouringPoints)
{
    TSampleBlock samples = samplesOf(0);
    samples[20] = frameWord(32767, 32767);
    const QImage& image = frame(samples);
    EXPECT_EQ(image.pixelColor(20, 51), QColor(Qt::white));
    for (int y = kCentre; y <= 51; ++y) {
        const bool lit = image.pixelColor(19, y) != QColor(Qt::black) ||
                         image.pixelColor(20, y) != QColor(Qt::black);
        EXPECT_TRUE(lit) << "the rise to row 51 is a line without gaps; row " << y;
    }
}

// Column i shows frame i × stride; a frame past the 2049-word block is silence.
TEST_F(DeckScope, StrideAndPlacement)
{
    scope.DrawType = 2;
    TSampleBlock samples = samplesOf(0);
    samples[40] = frameWord(32767, 32767);
    struct Case {
        int stride, X, column;
    };
    for (const Case& c : {Case{1, 0, 40}, Case{2, 0, 20}, Case{8, 0, 5}, Case{2, 7, 27}}) {
        scope.Stride = c.stride;
        const QImage& image = frame(samples, c.X);
        EXPECT_EQ(litRows(image, c.column), std::vector<int>{51}) << "stride " << c.stride << " X " << c.X;
        EXPECT_EQ(litRows(image, c.column + 1), std::vector<int>{29});
    }

    scope.Stride = 9;
    const QImage& image = frame(samplesOf(frameWord(32767, 32767)));
    EXPECT_EQ(litRows(image, 227), std::vector<int>{51}) << "frame 2043 is inside the block";
    EXPECT_EQ(litRows(image, 228), std::vector<int>{29}) << "frame 2052 is past it";
}

// Without clearing, the previous frame's trace stays; with the background picture, the picture
// replaces the fill.
TEST_F(DeckScope, BackgroundHandling)
{
    scope.DrawType = 2;
    frame(samplesOf(frameWord(32767, 32767)));
    scope.ClearBackground = false;
    EXPECT_EQ(litRows(frame(samplesOf(0)), 10), std::vector<int>({29, 51}));

    scope.ClearBackground = true;
    scope.UseBackgroundPicture = true;
    scope.BackColor = Qt::blue;
    scope.BackgroundPicture.fill(Qt::red);
    const QImage& image = frame(samplesOf(0));
    EXPECT_EQ(image.pixelColor(10, 5), QColor(Qt::red));
    EXPECT_EQ(image.pixelColor(10, kCentre), QColor(Qt::white));
}

// Draw copies the whole frame to the target's (0, 0), whatever X and Y the trace used, and
// touches nothing outside it.
TEST_F(DeckScope, DrawCopiesTheWholeFrameToTheTarget)
{
    QImage target(300, 80, QImage::Format_RGB32);
    target.fill(Qt::green);
    {
        QPainter painter(&target);
        scope.DrawType = 2;
        scope.Draw(painter, samplesOf(frameWord(32767, 32767)), 20, kCentre);
    }
    EXPECT_EQ(target.pixelColor(0, 0), QColor(Qt::black));
    EXPECT_EQ(target.pixelColor(251, 58), QColor(Qt::black));
    EXPECT_EQ(target.pixelColor(30, 51), QColor(Qt::white));
    EXPECT_EQ(target.pixelColor(252, 10), QColor(Qt::green));
    EXPECT_EQ(target.pixelColor(10, 59), QColor(Qt::green));
}

// The connected line keeps its pen between frames: a new trace colour must still reach it.
TEST_F(DeckScope, ANewTraceColourReachesEveryMode)
{
    frame(samplesOf(frameWord(32767, 32767)));
    scope.Pen = Qt::green;
    for (int mode = 0; mode <= 2; ++mode) {
        scope.DrawType = mode;
        EXPECT_EQ(frame(samplesOf(frameWord(32767, 32767))).pixelColor(10, mode == 1 ? 40 : 51), QColor(Qt::green))
            << "mode " << mode;
    }
}
