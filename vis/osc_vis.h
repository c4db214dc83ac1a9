// TOcilloScope: draws one deck's oscilloscope trace of a sample block into its back buffer and
// copies the frame onto the deck's paint box. Used on the main thread by the deck monitor.
#pragma once

#include "vis/CommonTypes.h"
#include "vis/back_buffer.h"

#include <QPen>
#include <QPointF>
#include <array>
#include <cstdint>

class TOcilloScope : public TBackBuffer
{
public:
    // Frames drawn per call: frame 0 is the starting point, frames 1..256 one pixel column each.
    static constexpr int kColumns = 256;

    TOcilloScope(int width, int height);

    int32_t Scale = 50;                 // vertical scale in pixels: a full-scale sum swings ±Scale/2
    QColor Pen = Qt::white;             // colour of the trace
    int32_t DrawType = 0;               // 0 connected line, 1 vertical line from the centre line to each point, 2 one dot per point
    int32_t Stride = 1;                 // step between the frames read
    bool ClearBackground = true;        // clear the back buffer before drawing
    bool UseBackgroundPicture = false;  // clear by copying BackgroundPicture instead of filling

    // Rows below (positive) or above (negative) the centre line for a frame's left + right sum.
    int32_t Offset(int32_t frameSum) const;

    // Draws frames 0, Stride, 2 × Stride, ... with frame i at column X + i around the centre line Y.
    void Render(const TSampleBlock& data, int X, int Y);
    // Render, then copy the whole frame to the target at (0, 0).
    void Draw(QPainter& target, const TSampleBlock& data, int X, int Y);

private:
    void drawColumn(int x, int Y, int y);

    QPen tracePen_;
    std::array<QPointF, kColumns + 1> trace_;  // in floating point: the painter draws these without a conversion buffer
};
