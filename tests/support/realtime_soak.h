// The auto-mix on the real path: the main window plays on the clock-paced null device in real
// time, both playlists of generated tracks without any silence in them, Auto Mix on with the
// settings' defaults, and the engine's output is measured in 10 ms blocks. Shared by the mixer
// tests (a minute, in a child process) and voltaria-bench (ten minutes and more). Builds its
// own window and data folder; must run in a process that never selected the manual backend.
// Main thread only.
#pragma once

#include <QStringList>
#include <cstdint>
#include <vector>

namespace soak {

struct RealTimeOptions {
    int seconds = 60;
    // Track lengths in seconds, cycled through both playlists.
    std::vector<double> trackSeconds = {2.5, 5, 6.5, 8};
    int tracksPerDeck = 4;
};

struct RealTimeResult {
    int handOvers = 0;          // deck starts after the first
    int64_t blocks = 0;         // 10 ms blocks measured from the first sound on
    int64_t silentBlocks = 0;   // among them, blocks below -60 dBFS
    int64_t longestSilentMs = 0;
    int64_t lostBlocks = 0;     // blocks the measurement missed (should be 0)
    double seconds = 0;         // real time the run took
    QStringList messages;       // boxes the window showed (should be none)

    // One line of key=value pairs, and back.
    QString line() const;
    static RealTimeResult fromLine(const QString& line);
};

RealTimeResult runRealTime(const RealTimeOptions& options);

} // namespace soak
