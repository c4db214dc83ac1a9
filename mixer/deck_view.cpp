// A deck's picture and level gauge on each monitor tick, and the click that switches the picture
// between the oscilloscope and the spectrum. Main thread only.
#include "app/PaintBox.h"
#include "app/UMIXER.h"
#include "audio/TCorvoBass.h"
#include "vis/meter_vis.h"
#include "vis/osc_vis.h"
#include "vis/spectrum_vis.h"
#include "widgets/LedGauge.h"

namespace {
constexpr int kSampleBytes = 2048; // 512 stereo frames of two 16-bit samples
constexpr int kSpectrumTop = 5;
} // namespace

void Tform_mixer::PPClick() { switchView(deckA); }
void Tform_mixer::PP2Click() { switchView(deckB); }

// The new mode shows from the next monitor tick; the picture on screen stays until then.
void Tform_mixer::switchView(Deck& d) { d.visualMode = d.visualMode == 1 ? 0 : 1; }

void Tform_mixer::drawDeckView(Deck& d)
{
    // Both blocks live on the stack: twenty ticks a second per deck touch no heap.
    TFFTBlock fft{};
    d.channel->GetFFT(fft.data());
    if (d.visualMode == 1) {
        TSampleBlock samples{};
        d.channel->GetData(samples.data(), kSampleBytes);
        // Half the height the view has in the layout: the box stretches the frame to its own.
        d.scope->Render(samples, 0, PaintBox::kDesignSize.height() / 2);
        d.paintBox->setFrame(&d.scope->BackBuffer());
    } else {
        d.spectrum->Render(fft, 0, kSpectrumTop);
        d.paintBox->setFrame(&d.spectrum->BackBuffer());
    }
    // The gauge clamps the meter's 0..114 to its own 0..100.
    d.levelGauge->setValue(d.meter->Level(fft, 0, 5));
}
