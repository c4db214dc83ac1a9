// Small builders and pixel readers shared by the renderer and meter tests.
#pragma once

#include "vis/CommonTypes.h"

#include <QColor>
#include <QImage>
#include <vector>

// The size of each deck's paint box.
constexpr int kBoxWidth = 252;
constexpr int kBoxHeight = 59;

inline TFFTBlock silentFFT()
{
    TFFTBlock block{};
    return block;
}

inline TFFTBlock fftWith(int index, float value)
{
    TFFTBlock block{};
    block[size_t(index)] = value;
    return block;
}

// An FFT magnitude that reads as band value v (Trunc(|F| × 500) = v).
inline float magnitudeFor(int v)
{
    return (float(v) + 0.5f) / 500.0f;
}

inline TSampleBlock samplesOf(uint32_t word)
{
    TSampleBlock block;
    block.fill(word);
    return block;
}

inline uint32_t frameWord(int16_t left, int16_t right)
{
    return uint32_t(uint16_t(left)) | (uint32_t(uint16_t(right)) << 16);
}

// Rows of column x that are not black, top to bottom.
inline std::vector<int> litRows(const QImage& image, int x)
{
    std::vector<int> rows;
    for (int y = 0; y < image.height(); ++y)
        if (image.pixelColor(x, y) != QColor(Qt::black))
            rows.push_back(y);
    return rows;
}

// The rows first..last, both included.
inline std::vector<int> rowSpan(int first, int last)
{
    std::vector<int> rows;
    for (int y = first; y <= last; ++y)
        rows.push_back(y);
    return rows;
}
