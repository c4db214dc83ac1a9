// Scrolling LED text (the status line): the text drawn as a dot-matrix of LEDs on black,
// moved left one dot column per scroll step; main thread only.
#pragma once

#include <QColor>
#include <QImage>
#include <QWidget>

class LedText : public QWidget
{
    Q_OBJECT

public:
    explicit LedText(QWidget* parent = nullptr);

    void setText(const QString& text);
    QString text() const { return text_; }
    void setScrolling(bool on);
    bool scrolling() const { return scrolling_; }
    // Advances the scroll by one dot column; after the text has left on the left it enters
    // again from the right.
    void scrollStep();
    void setLedColor(const QColor& c);

    // Where the text's first dot column is drawn, in pixels from the left edge.
    int textOffset() const;

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent*) override;
    void resizeEvent(QResizeEvent*) override;
    void changeEvent(QEvent* e) override;

private:
    int rows() const;
    void renderGlyphs();

    QString text_;
    bool scrolling_ = false;
    int scrolled_ = 0; // pixels the text has moved left from the right edge
    QColor ledColor_;
    QImage glyphs_; // one pixel per LED dot: the text at dot resolution
};
