// The enabled states of a deck's Play, "Stop (seco)" and Fade buttons while it plays and while
// it waits. Main thread only.
#pragma once
#include "app/deck.h"

#include <QPushButton>

inline void enableTransport(Deck& d, bool playing)
{
    d.playButton->setEnabled(!playing);
    d.stopButton->setEnabled(playing);
    d.fadeButton->setEnabled(playing);
}
