// Switching LED button with a caption ("Auto Mix", "Loop"): a push button whose lamp shows
// its on state; main thread only.
#pragma once

#include <QColor>
#include <QWidget>

class LedButton : public QWidget
{
    Q_OBJECT

public:
    explicit LedButton(QWidget* parent = nullptr);
    explicit LedButton(const QString& caption, QWidget* parent = nullptr);

    void setCaption(const QString& text);
    QString caption() const { return caption_; }
    void setOn(bool on); // silent: raises no signal
    bool isOn() const { return on_; }
    void setLedColor(const QColor& c);

    // What an operator's click does: raise clicked() while the old state still shows, then flip.
    // Does nothing while disabled.
    void click();

    QSize sizeHint() const override;

signals:
    void clicked();

protected:
    void paintEvent(QPaintEvent*) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;

private:
    QString caption_;
    bool on_ = false;
    bool pressed_ = false;
    QColor ledColor_;
};
