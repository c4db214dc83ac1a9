// The data blocks a deck's monitor fetches from its channel and hands to the renderers and meters,
// with bounds-checked readers so that a large stride never reads past a block.
// Used on the main thread only.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

// Raw samples: GetData with 2048 bytes fills the first 512 words. Each word is one stereo frame,
// low 16 bits the left sample and high 16 bits the right one, both signed.
using TSampleBlock = std::array<uint32_t, 2049>;

// Spectrum: GetFFT fills the first 512 magnitudes.
using TFFTBlock = std::array<float, 513>;

// Left plus right sample of the frame at index (range -65536..65534); a frame past the block is silence.
inline int32_t FrameSum(const TSampleBlock& block, int64_t index)
{
    if (index < 0 || index >= int64_t(block.size()))
        return 0;
    const uint32_t word = block[std::size_t(index)];
    return int32_t(int16_t(word & 0xFFFFu)) + int32_t(int16_t(word >> 16));
}

// The FFT value at index; a value past the block is silence.
inline float FFTValue(const TFFTBlock& block, int64_t index)
{
    if (index < 0 || index >= int64_t(block.size()))
        return 0.0f;
    return block[std::size_t(index)];
}
