// A label or picture that answers a click, as the logo and the web address labels do.
// Main thread only.
#pragma once
#include <QLabel>

class LinkLabel : public QLabel
{
    Q_OBJECT

public:
    using QLabel::QLabel;

signals:
    // A left button pressed and released over the label.
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
};
