// The splash shown while the main window is being built. Main thread only.
#pragma once
#include <QWidget>

class QLabel;

class Tform_abertura : public QWidget
{
    Q_OBJECT

public:
    explicit Tform_abertura(QWidget* parent = nullptr);

    QLabel* ControlBar1;
};
