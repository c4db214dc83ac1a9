#include "vis/osc_vis.h"

namespace {

// Twice the largest 16-bit magnitude: the sum of both channels maps onto ±Scale/2.
constexpr int64_t kFullSwing = 131070;

} // namespace

TOcilloScope::TOcilloScope(int width, int height)
    : TBackBuffer(width, height), tracePen_(Pen, 0)
{
}

int32_t TOcilloScope::Offset(int32_t frameSum) const
{
    // Integer division truncates toward zero, as Trunc(sum / 131070 × Scale) does.
    return int32_t(int64_t(frameSum) * Scale / kFullSwing);
}

void TOcilloScope::Render(const TSampleBlock& data, int X, int Y)
{
    if (!Canvas.isActive())
        return;
    if (ClearBackground) {
        if (UseBackgroundPicture)
            CopyBackgroundPicture();
        else
            FillBackground();
    }
    auto rowOf = [&](int i) { return Y + Offset(FrameSum(data, int64_t(i) * Stride)); };

    switch (DrawType) {
    case 0:
        for (int i = 0; i <= kColumns; ++i)
            trace_[size_t(i)] = QPointF(X + i, rowOf(i));
        // The pen is only rebuilt when its colour changes, so a frame allocates nothing.
        if (tracePen_.color() != Pen)
            tracePen_.setColor(Pen);
        Canvas.setPen(tracePen_);
        Canvas.drawPolyline(trace_.data(), int(trace_.size()));
        break;
    case 1:
        for (int i = 1; i <= kColumns; ++i)
            drawColumn(X + i, Y, rowOf(i));
        break;
    case 2:
        for (int i = 1; i <= kColumns; ++i)
            Canvas.fillRect(X + i, rowOf(i), 1, 1, Pen);
        break;
    default:
        break;
    }
}

void TOcilloScope::drawColumn(int x, int Y, int y)
{
    // From the centre line toward the point, the point itself left out.
    if (y > Y)
        Canvas.fillRect(x, Y, 1, y - Y, Pen);
    else if (y < Y)
        Canvas.fillRect(x, y + 1, 1, Y - y, Pen);
}

void TOcilloScope::Draw(QPainter& target, const TSampleBlock& data, int X, int Y)
{
    Render(data, X, Y);
    CopyTo(target);
}
