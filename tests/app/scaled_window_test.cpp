// The window scaled to 125 % (a 1280-pixel screen): nothing the operator reads is cut off.
#include "app/PaintBox.h"
#include "audio/TCorvoBass.h"
#include "audio/media.h"
#include "support/harness.h"
#include "widgets/LedGauge.h"
#include "widgets/StringGrid.h"

#include <QLabel>
#include <QPushButton>
#include <gtest/gtest.h>

namespace {

int luminance(QRgb c) { return qGray(c); }

} // namespace

class ScaledWindow : public ::testing::Test
{
public:
    ScaledWindow() : h(QSize(1280, 1024))
    {
        w = &h.create();
        h.show();
    }

    test::Harness h;
    Tform_mixer* w = nullptr;
};

// Catches rows lower than their scaled font: "AÇÃO" lost its tilde and "MUSIC004_FULL" its
// underscore, in the library grid and the deck lists alike.
TEST_F(ScaledWindow, RowsAreAsHighAsTheirFontNeeds)
{
    for (StringGrid* grid : {w->StringGrid1, w->StringGrid2}) {
        SCOPED_TRACE(grid->objectName().toStdString());
        EXPECT_GE(grid->rowHeight(grid->FixedRows()), grid->fontMetrics().height());
    }
    for (QListWidget* list : {w->ListBox1, w->ListBox2}) {
        SCOPED_TRACE(list->objectName().toStdString());
        list->addItem("AÇÃO");
        list->addItem("MUSIC004_FULL");
        for (int row : {0, 1})
            EXPECT_GE(list->visualItemRect(list->item(row)).height(), list->fontMetrics().height());
    }
}

// Catches the capture's status cut to "AGUARD": the gauge beside "Status" is hidden while a
// capture runs, and the text has the whole row.
TEST_F(ScaledWindow, TheCapturesStatusTextFitsItsLabel)
{
    const QString running = "AGUARDE LOCALIZANDO MÍDIA...";
    w->Label33->setText(running);
    EXPECT_LE(w->Label33->fontMetrics().horizontalAdvance(running), w->Label33->contentsRect().width());
    // At rest the gauge covers the rest of the row, not the word "Status".
    EXPECT_LE(w->Label33->x() + w->Label33->fontMetrics().horizontalAdvance("Status"), w->CoolGauge1->x());
}

// Catches the oscilloscope's trace of 256 columns stopping at 80 % of the scaled view.
TEST_F(ScaledWindow, TheOscilloscopeTraceSpansTheWholeView)
{
    const QString path = media::writeWav(h.dataFile("tone.wav"), 44100, 2, 16, 44100, media::sine(440, 44100, 0.5));
    Deck& d = w->deckA;
    if (!d.channel->EndTimer)
        d.channel->OpenDevice(1);
    d.paths << path;
    d.listBox->addItem("TONE.WAV");
    d.listBox->setCurrentRow(0);
    w->ListBox1Click();
    d.visualMode = 1;
    w->BitBtn2Click();
    h.render(300);
    h.tick("Timer1");
    ASSERT_GT(d.paintBox->width(), PaintBox::kDesignSize.width());

    const QImage shown = d.paintBox->grab().toImage();
    int rightmost = -1, lit = 0;
    double rowSum = 0;
    for (int x = 0; x < shown.width(); ++x)
        for (int y = 0; y < shown.height(); ++y)
            if (luminance(shown.pixel(x, y)) > 100) {
                rightmost = x;
                ++lit;
                rowSum += y;
            }
    EXPECT_GE(rightmost, shown.width() * 95 / 100) << "of " << shown.width();
    // Many periods of the tone: the trace is centred on the view's middle row.
    ASSERT_GT(lit, 0);
    EXPECT_NEAR(rowSum / lit, shown.height() / 2.0, shown.height() / 8.0);
}
