#include "widgets/LedText.h"

#include "widgets/Palette.h"

#include <QEvent>
#include <QPainter>

namespace {
constexpr int dotPitch = 2; // pixels from one LED dot to the next
} // namespace

LedText::LedText(QWidget* parent) : QWidget(parent), ledColor_(skin::statusText)
{
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
    return {301, 17};
}

int LedText::rows() const
{
    return qMax(5, (height() - 1) / dotPitch);
}

void LedText::renderGlyphs()
{
    // The font is drawn without smoothing at one pixel per dot, so each set pixel is one lit LED;
    // its capitals fill all rows but the last, which is left to the descenders.
    QFont f = font();
    f.setStyleStrategy(QFont::NoAntialias);
    f.setHintingPreference(QFont::PreferFullHinting);
    int pixelSize = rows();
    for (f.setPixelSize(pixelSize + 1); QFontMetrics(f).capHeight() <= rows() - 1; f.setPixelSize(pixelSize + 1))
        ++pixelSize;
    f.setPixelSize(pixelSize);
    const QFontMetrics fm(f);
    glyphs_ = QImage(qMax(1, fm.horizontalAdvance(text_)), rows(), QImage::Format_Grayscale8);
    glyphs_.fill(0);
    QPainter p(&glyphs_);
    p.setFont(f);
    p.setPen(Qt::white);
    p.drawText(0, qMin(rows() - 1, fm.capHeight()), text_);
}

void LedText::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), Qt::black);
    const QColor on = isEnabled() ? ledColor_ : skin::dimmed(ledColor_);
    const QColor off = skin::ledOff(ledColor_);
    const int top = (height() - rows() * dotPitch) / 2;
    for (int y = 0; y < glyphs_.height(); ++y) {
        const uchar* line = glyphs_.constScanLine(y);
        for (int x = 0; x * dotPitch < width(); ++x) {
            const bool lit = x < glyphs_.width() && line[x] > 127;
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
    renderGlyphs();
}

void LedText::changeEvent(QEvent* e)
{
    if (e->type() == QEvent::FontChange)
        renderGlyphs();
    QWidget::changeEvent(e);
}
