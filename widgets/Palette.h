// Colours and drawing helpers of the dark LED look shared by every display widget; main thread only.
#pragma once

#include <QColor>
#include <QRect>
#include <QRectF>
#include <QString>

class QPainter;

namespace skin {

inline const QColor panel{18, 18, 18};         // background of every LED display
inline const QColor face{46, 46, 48};          // raised surfaces: buttons, knobs, header cells
inline const QColor bevelLight{92, 92, 96};    // upper-left edge of a frame
inline const QColor bevelDark{6, 6, 6};        // lower-right edge of a frame
inline const QColor text{214, 214, 214};
inline const QColor textDisabled{112, 112, 112};
inline const QColor highlight{30, 96, 48};     // selected grid row
inline const QColor ledGreen{48, 232, 72};
inline const QColor ledYellow{250, 222, 44};
inline const QColor ledRed{255, 48, 40};
inline const QColor statusText{255, 236, 98};  // the status line's LED colour

// An unlit LED still shows faintly, as a real LED panel does.
inline QColor ledOff(const QColor& on)
{
    return QColor(18 + on.red() / 7, 18 + on.green() / 7, 18 + on.blue() / 7);
}

// A disabled widget keeps its colours but at reduced brightness.
inline QColor dimmed(const QColor& c)
{
    return QColor(c.red() * 2 / 5, c.green() * 2 / 5, c.blue() * 2 / 5);
}

// Fills `r` with the panel colour inside a sunken (or raised) one-pixel bevel.
void paintPanel(QPainter& p, const QRect& r, bool sunken = true, const QColor& fill = panel);

// Draws a round LED in `r`, lit or unlit, dimmer when `enabled` is false.
void paintLamp(QPainter& p, const QRectF& r, const QColor& color, bool lit, bool enabled);

// The widgets built on Qt's own controls (spin edit, track bar, grid) take the same colours
// through a style sheet.
QString styleSheet();

} // namespace skin
