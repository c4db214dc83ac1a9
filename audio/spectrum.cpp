#include "audio/spectrum.h"

#include "audio/sample_tap.h"

extern "C" {
#include <libavutil/tx.h>
}

#include <algorithm>
#include <cmath>

namespace audio {

Spectrum::Spectrum()
{
    const float scale = 1.0f;
    av_tx_init(&tx_, &transform_, AV_TX_FLOAT_RDFT, 0, kPoints, &scale, 0);
    for (int i = 0; i < kPoints; ++i)
        window_[i] = 0.5f - 0.5f * std::cos(2.0f * float(M_PI) * float(i) / float(kPoints));
}

Spectrum::~Spectrum() { av_tx_uninit(&tx_); }

void Spectrum::compute(const SampleTap& tap, float* magnitudes)
{
    if (!tx_) {
        std::fill(magnitudes, magnitudes + kBins, 0.0f);
        return;
    }
    tap.readLatest(kPoints, [this](int i, float l, float r) { input_[i] = 0.5f * (l + r) * window_[i]; });
    transform_(tx_, output_, input_, sizeof(AVComplexFloat));
    for (int k = 0; k < kBins; ++k)
        magnitudes[k] = 2.0f * std::hypot(output_[2 * k], output_[2 * k + 1]) / float(kPoints);
}

} // namespace audio
