// LED text (the status line): the text drawn as a dot-matrix of LEDs on black; the status line
// scrolls it by moving the widget inside its panel. The letters are as large as the widget's
// rows allow with every accent, cedilla and descender whole. Main thread only.
#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QWidget>

class LedText : public QWidget
{
    Q_OBJECT

public:
    explicit LedText(QWidget* parent = nullptr);

    void setText(const QString& text);
    QString text() const { return text_; }
    void setLedColor(const QColor& c);
    // The drawn text's width in pixels (the widget may be wider or narrower).
    int textWidth() const;
    // The font the LEDs are lit from, one pixel to an LED, drawn without smoothing.
    QFont ledFont() const { return ledFont_; }

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent*) override;
    void resizeEvent(QResizeEvent*) override;
    void changeEvent(QEvent* e) override;

private:
    int rows() const;
    void fitFont();
    void renderGlyphs();

    QString text_;
    QColor ledColor_;
    QFont ledFont_;
    int rowsAbove_ = 0; // LED rows above the baseline that the highest marks need
    int rowsBelow_ = 0; // and below it, for the lowest descenders
    QImage glyphs_;     // one pixel per LED dot: the text at dot resolution
};
