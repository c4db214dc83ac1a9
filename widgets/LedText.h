// LED text (the status line): the text drawn as a dot-matrix of LEDs on black; the status line
// scrolls it by moving the widget inside its panel. Main thread only.
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
    void setLedColor(const QColor& c);
    // The drawn text's width in pixels (the widget may be wider or narrower).
    int textWidth() const;

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent*) override;
    void resizeEvent(QResizeEvent*) override;
    void changeEvent(QEvent* e) override;

private:
    int rows() const;
    void renderGlyphs();

    QString text_;
    QColor ledColor_;
    QImage glyphs_; // one pixel per LED dot: the text at dot resolution
};
