// Slide switch with N labelled positions (the capture depth); main thread only.
#pragma once

#include <QStringList>
#include <QWidget>

class MultiSwitch : public QWidget
{
    Q_OBJECT

public:
    explicit MultiSwitch(QWidget* parent = nullptr);

    void setLabels(const QStringList& labels); // one position per label
    QStringList labels() const { return labels_; }
    // Hints of the labels, in their order: shown over a label instead of the switch's own hint.
    void setLabelHints(const QStringList& hints) { labelHints_ = hints; }
    // The hint shown at `p`: the hint of the label there, or the switch's own one.
    QString hintAt(const QPoint& p) const;
    void setPosition(int index); // 0-based, clamped; raises positionChanged only on a change
    int position() const { return position_; }
    int count() const { return static_cast<int>(labels_.size()); }
    void setOrientation(Qt::Orientation o); // vertical: position 0 at the top
    Qt::Orientation orientation() const { return orientation_; }

    // The position whose slot holds `p`, or -1 outside every slot.
    int positionAt(const QPoint& p) const;

    QSize sizeHint() const override;

signals:
    void positionChanged(int index);

protected:
    bool event(QEvent* e) override;
    void paintEvent(QPaintEvent*) override;
    void mousePressEvent(QMouseEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;

private:
    QRect slotRect(int index) const;
    QRect trackRect() const;
    QRect labelRect(int index) const;

    QStringList labels_;
    QStringList labelHints_;
    int position_ = 0;
    Qt::Orientation orientation_ = Qt::Vertical;
};
