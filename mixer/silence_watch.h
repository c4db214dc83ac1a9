// The silence watch ("Vigia de Silêncio"): with it and Auto Mix on, when neither deck has
// played for 5 s and the last stop was nobody's choice (a track that ended with nothing to hand
// over to, entries gone missing), the music starts again by itself. Its state, kept by the main
// window's handlers in mixer/silence_watch.cpp. Main thread only.
#pragma once

#include <QDateTime>

struct Deck;

namespace mixer {

struct SilenceWatch {
    static constexpr int kTickMs = 250;
    static constexpr int kSilenceMs = 5000;

    Deck* lastStopped = nullptr;  // the deck whose track stopped last; none before any played
    bool operatorStopped = true;  // the silence was chosen at the desk (a stop, Auto Mix off)
    QDateTime silentSince;        // when the last track stopped
    int silentMs = -1;            // counted by the watch's ticks; -1 until a tick finds silence
    bool restarting = false;      // a restart is under way (deck B's stop handler lets ticks run)
};

} // namespace mixer
