#include "widgets/LedText.h"

#include "widgets/Palette.h"

#include <QEvent>
#include <QPainter>
#include <algorithm>
#include <tuple>
#include <utility>

namespace {

constexpr int dotPitch = 2; // pixels from one LED dot to the next
// The letters whose marks reach highest and lowest: the line leaves room for them.
const QString kTallest = QStringLiteral("ÁÂÃÀÉÊÍÓÔÕÚÜÇÑJQgjpqy");

// The LED rows the font's highest marks and lowest descenders reach, above and below the
// baseline, as the glyphs are drawn.
std::pair<int, int> inkRows(const QFont& font)
{
    const int size = font.pixelSize();
    QImage sample(QFontMetrics(font).horizontalAdvance(kTallest) + 2 * size, 4 * size, QImage::Format_Grayscale8);
    sample.fill(0);
    const int baseline = 3 * size;
    {
        QPainter p(&sample);
        p.setFont(font);
        p.setPen(Qt::white);
        p.drawText(size, baseline, kTallest);
    }
    int top = baseline, bottom = baseline - 1;
    for (int y = 0; y < sample.height(); ++y) {
        const uchar* line = sample.constScanLine(y);
        if (std::any_of(line, line + sample.width(), [](uchar v) { return v > 127; })) {
            top = std::min(top, y);
            bottom = std::max(bottom, y);
        }
    }
    return {baseline - top, bottom - baseline + 1};
}

} // namespace

LedText::LedText(QWidget* parent) : QWidget(parent), ledColor_(skin::statusText)
{
    fitFont();
    renderGlyphs();
}

void LedText::setText(const QString& text)
{
    if (text == text_)
        return;
    text_ = text;
    renderGlyphs();
    update();
}

void LedText::setLedColor(const QColor& c)
{
    if (c == ledColor_)
        return;
    ledColor_ = c;
    update();
}

int LedText::textWidth() const { return text_.isEmpty() ? 0 : glyphs_.width() * dotPitch; }

QSize LedText::sizeHint() const
{
    return {301, (rowsAbove_ + rowsBelow_) * dotPitch + 1};
}

int LedText::rows() const
{
    return qMax(1, (height() - 1) / dotPitch);
}

void LedText::fitFont()
{
    // Drawn without smoothing at one pixel per dot, so each set pixel is one lit LED; the
    // largest size whose marks and descenders all fit the rows.
    QFont f = font();
    f.setStyleStrategy(QFont::NoAntialias);
    f.setHintingPreference(QFont::PreferFullHinting);
    f.setPixelSize(4);
    std::pair<int, int> ink = inkRows(f);
    for (int size = 5;; ++size) {
        QFont larger = f;
        larger.setPixelSize(size);
        const std::pair<int, int> largerInk = inkRows(larger);
        if (largerInk.first + largerInk.second > rows())
            break;
        f = larger;
        ink = largerInk;
    }
    ledFont_ = f;
    std::tie(rowsAbove_, rowsBelow_) = ink;
}

void LedText::renderGlyphs()
{
    const QFontMetrics fm(ledFont_);
    // A first letter reaching left of its origin (the hook of a "J") is not cut either.
    const QRect ink = fm.boundingRect(text_);
    const int left = std::max(0, -ink.left());
    glyphs_ = QImage(std::max({1, left + ink.right() + 1, fm.horizontalAdvance(text_)}), rowsAbove_ + rowsBelow_,
                     QImage::Format_Grayscale8);
    glyphs_.fill(0);
    QPainter p(&glyphs_);
    p.setFont(ledFont_);
    p.setPen(Qt::white);
    p.drawText(left, rowsAbove_, text_);
}

void LedText::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), Qt::black);
    const QColor on = isEnabled() ? ledColor_ : skin::dimmed(ledColor_);
    const QColor off = skin::ledOff(ledColor_);
    const int top = (height() - rows() * dotPitch) / 2;
    // The text's rows centred on the LED rows.
    const int textRow = (rows() - glyphs_.height()) / 2;
    for (int y = 0; y < rows(); ++y) {
        const int row = y - textRow;
        const uchar* line = row >= 0 && row < glyphs_.height() ? glyphs_.constScanLine(row) : nullptr;
        for (int x = 0; x * dotPitch < width(); ++x) {
            const bool lit = line && x < glyphs_.width() && line[x] > 127;
            // A lit LED fills its whole cell so the text stays legible; unlit ones show as a
            // faint grid of points.
            if (lit)
                p.fillRect(x * dotPitch, top + y * dotPitch, dotPitch, dotPitch, on);
            else
                p.fillRect(x * dotPitch, top + y * dotPitch, 1, 1, off);
        }
    }
}

void LedText::resizeEvent(QResizeEvent*)
{
    fitFont();
    renderGlyphs();
}

void LedText::changeEvent(QEvent* e)
{
    if (e->type() == QEvent::FontChange) {
        fitFont();
        renderGlyphs();
    }
    QWidget::changeEvent(e);
}
