// An unattended auto-mix run on the manual audio backend: both decks walk generated playlists
// on the simulated deck clock while every hand-over is checked: the next track starts before
// the fading one stops, nothing is heard as silence, each deck plays its entries in order,
// passing over the ones that cannot be played and wrapping to the first, and the process's
// memory is sampled. Shared by the mixer tests (short) and voltaria-bench (a day and more).
// Main thread only.
#pragma once
#include "app/UMIXER.h"

#include <QString>
#include <QStringList>
#include <cstdint>
#include <vector>

namespace soak {

struct Options {
    int tracksPerDeck = 200;
    int64_t minimumMs = 0; // simulated playback to reach at least
    int wraps = 1;         // and times each deck must have wrapped to its first entry
    // The kinds of track, cycled through the playlists: its length and how long its ending
    // is quiet, in seconds.
    struct Track {
        double seconds;
        double quietSeconds;
    };
    std::vector<Track> tracks = {{1.2, 0}, {2.5, 1}, {3.4, 0}, {5, 0}, {6, 4.5}, {8, 0}, {12, 8}, {27, 26}};
};

struct Result {
    int handOvers = 0; // checked, each one deck fading into the other
    int64_t simulatedMs = 0;
    double wallSeconds = 0;
    int wraps[2] = {0, 0};
    int passedOver = 0;     // entries a deck went past because they could not be played
    QStringList faults;     // what went wrong, empty when every check held (at most 20 kept)
    std::vector<long> rssKb; // resident memory, sampled every 20 hand-overs
};

// Writes the tracks into `folder`, fills the playlists of `window` (shown, channels open),
// starts deck A and runs with Auto Mix on until the options are met or the music stops.
Result run(Tform_mixer& window, const QString& folder, const Options& options);

// Resident memory of this process in kB; under the address sanitizer, its live heap instead.
long residentKb();

} // namespace soak
