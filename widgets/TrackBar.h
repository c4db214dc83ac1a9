// Dark skinned slider (pan, pitch, crossfader, volume, equaliser bands, deck position); setting
// a value from code raises valueChanged and clamps to the range, as QSlider does; main thread only.
#pragma once

#include <QSlider>

class TrackBar : public QSlider
{
    Q_OBJECT

public:
    explicit TrackBar(Qt::Orientation o, QWidget* parent = nullptr);
};
