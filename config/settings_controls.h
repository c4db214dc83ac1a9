// The main window's equaliser band sliders in band order (32 Hz first), as the settings file
// numbers them. Main thread.
#pragma once

#include "app/UMIXER.h"

#include <array>

inline std::array<TrackBar*, 10> bandSliders(const Tform_mixer& w)
{
    return {w.TrackBar20, w.Trackbar19, w.TrackBar7,  w.TrackBar8,       w.TrackBar9,
            w.TrackBar10, w.TrackBar11, w.TrackBar12, w.bsSkinTrackBar1, w.bsSkinTrackBar2};
}
