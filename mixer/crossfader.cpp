// The crossfader's volume law between the two decks, under the master volume. Main thread only.
#include "app/UMIXER.h"
#include "audio/TCorvoBass.h"
#include "widgets/TrackBar.h"

void Tform_mixer::TrackBar18Change()
{
    const int v = Trackbar18->value();
    const uint32_t master = uint32_t(Trackbar6->value());
    if (v == 100) {
        canal_a->setVolume(master);
        canal_b->setVolume(master);
        return;
    }
    // Away from the centre the far deck takes the crossfader's own distance, not scaled by
    // the master volume, and a deck without a track is left alone.
    const uint32_t volumeA = v < 100 ? master : uint32_t(200 - v);
    const uint32_t volumeB = v < 100 ? uint32_t(v) : master;
    if (!canal_a->FileName.isEmpty())
        canal_a->setVolume(volumeA);
    if (!canal_b->FileName.isEmpty())
        canal_b->setVolume(volumeB);
}

void Tform_mixer::FadePadro1Click()
{
    Trackbar18->setValue(100);
    TrackBar18Change();
}
