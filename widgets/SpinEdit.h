// Spin edit in the dark look (mix time, sensitivity); values clamp to the range; main thread only.
#pragma once

#include <QSpinBox>

class SpinEdit : public QSpinBox
{
    Q_OBJECT

public:
    explicit SpinEdit(QWidget* parent = nullptr);
};
