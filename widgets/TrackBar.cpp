#include "widgets/TrackBar.h"

#include "widgets/Palette.h"

TrackBar::TrackBar(Qt::Orientation o, QWidget* parent) : QSlider(o, parent)
{
    setStyleSheet(skin::styleSheet());
}
