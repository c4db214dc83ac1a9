// TSpectrum: draws one deck's bar spectrum of an FFT block, with falling bars and peak markers,
// into its back buffer and copies the frame onto the deck's paint box. Used on the main thread
// by the deck monitor.
#pragma once

#include "vis/CommonTypes.h"
#include "vis/back_buffer.h"
#include "vis/band_levels.h"

#include <cstdint>

class TSpectrum : public TBackBuffer
{
public:
    TSpectrum(int width, int height);

    int32_t HeightCap = 100;            // largest band value, in pixels
    QColor Pen = Qt::white;             // colour of the bars
    QColor PeakColor = Qt::yellow;      // colour of the peak markers in bar mode
    int32_t DrawType = 0;               // 0 one-pixel line per band, 1 bars of BarWidth
    int32_t Stride = 1;                 // step between the FFT values read
    bool ClearBackground = true;        // clear the back buffer before drawing
    bool UseBackgroundPicture = false;  // after the fill, copy BackgroundPicture over the back buffer
    int32_t PeakFall = 1;               // pixels a peak marker drops per frame
    int32_t BarFall = 3;                // pixels a bar drops per frame
    int32_t BarWidth = 5;               // bar width in pixels; bars stand BarWidth + 1 apart
    bool DrawPeaks = true;              // draw the peak markers
    TBandHeights Peaks{};               // peak marker heights, kept from frame to frame
    TBandHeights Bars{};                // bar heights, kept from frame to frame
    int32_t Level = 0;                  // loudness of the last frame, as the level meter computes it

    // Updates the bands from the block and draws them standing on row Height() + Y, from column X.
    void Render(const TFFTBlock& fft, int X, int Y);
    // Render, then copy the whole frame to the target at (0, 0).
    void Draw(QPainter& target, const TFFTBlock& fft, int X, int Y);

private:
    void drawLines(int X, int foot);
    void drawBars(int X, int foot);
};
