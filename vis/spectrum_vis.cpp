#include "vis/spectrum_vis.h"

TSpectrum::TSpectrum(int width, int height) : TBackBuffer(width, height) {}

void TSpectrum::Render(const TFFTBlock& fft, int X, int Y)
{
    if (!Canvas.isActive())
        return;
    if (ClearBackground) {
        FillBackground();
        if (UseBackgroundPicture)
            CopyBackgroundPicture();
    }
    const int32_t loudest = FollowBands(fft, Stride, HeightCap, PeakFall, BarFall, Peaks, Bars);
    const int foot = Height() + Y;
    if (DrawType == 0)
        drawLines(X, foot);
    else if (DrawType == 1)
        drawBars(X, foot);
    Level = LevelOf(loudest);
}

void TSpectrum::drawLines(int X, int foot)
{
    // Each band is one column: a line from the foot up to its bar height (the top row left out),
    // and its peak as a single pixel.
    for (int i = 0; i < kBandCount; ++i) {
        const int x = X + i;
        const int32_t bar = Bars[size_t(i)];
        Canvas.fillRect(x, foot - bar + 1, 1, bar, Pen);
        if (DrawPeaks)
            Canvas.fillRect(x, foot - Peaks[size_t(i)], 1, 1, Pen);
    }
}

void TSpectrum::drawBars(int X, int foot)
{
    // Band i covers columns x0 .. x0 + BarWidth - 1 and rows foot - bar .. foot - 1; the peak
    // marker is drawn first, so a bar at its peak hides it.
    for (int i = 0; i < kBandCount; ++i) {
        const int x0 = X + i * (BarWidth + 1);
        if (DrawPeaks)
            Canvas.fillRect(x0, foot - Peaks[size_t(i)], BarWidth, 1, PeakColor);
        const int32_t bar = Bars[size_t(i)];
        Canvas.fillRect(x0, foot - bar, BarWidth, bar, Pen);
    }
}

void TSpectrum::Draw(QPainter& target, const TFFTBlock& fft, int X, int Y)
{
    Render(fft, X, Y);
    CopyTo(target);
}
