// The auto-mix left alone for more than a day of simulated playback: two playlists of 200
// tracks each on the real main window and the manual audio engine, every hand-over checked
// (tests/support/soak.h). Figures: simulated hours per wall-clock second, against real time,
// and the resident memory's growth after the first quarter of the run.
#include "bench.h"
#include "bench_window.h"

#include "app/UMIXER.h"
#include "support/recording_dialogs.h"
#include "support/soak.h"

#include <QApplication>
#include <cstdio>

namespace {

void soakADay()
{
    test::RecordingDialogs dialogs; // the missing entries' messages are answered at once
    const bench::WindowSurroundings surroundings(&dialogs);
    {
        Tform_mixer window;
        window.show();
        QApplication::processEvents();

        soak::Options options;
        options.tracksPerDeck = 200;
        options.minimumMs = 24LL * 3600 * 1000;
        options.wraps = 1;
        // From jingles to long tracks; some end with a quiet part longer than 25 seconds.
        options.tracks = {{1.5, 0}, {3, 0}, {20, 0}, {45, 8}, {60, 27}, {90, 0}, {150, 30}, {200, 12}};
        const soak::Result r = soak::run(window, surroundings.folder(), options);

        const double hours = double(r.simulatedMs) / 3600e3;
        const double perSecond = hours / r.wallSeconds;
        std::printf("auto-mix-soak: %d hand-overs checked, %.1f h simulated in %.1f s (%.3f simulated h per "
                    "wall-clock s), wraps A %d B %d, %d entries passed over, %lld faults\n",
                    r.handOvers, hours, r.wallSeconds, perSecond, r.wraps[0], r.wraps[1], r.passedOver,
                    (long long)r.faults.size());
        for (const QString& fault : r.faults)
            std::printf("  fault: %s\n", qPrintable(fault));
        bench::report("auto-mix-soak", perSecond * 3600, "x real time", 1.0, "real time", perSecond * 3600,
                      "no fault over 24 h");
        if (r.rssKb.size() >= 4) {
            const long settled = r.rssKb[r.rssKb.size() / 4];
            long peak = settled;
            for (size_t i = r.rssKb.size() / 4; i < r.rssKb.size(); ++i)
                peak = std::max(peak, r.rssKb[i]);
            bench::report("auto-mix-soak-memory", double(peak - settled), "kB", double(settled),
                          "resident after the first quarter", double(peak) / double(settled), "ratio ~1.0");
        }
    }
}

bench::Register registerSoak("auto-mix-soak", "auto-mix left alone for a simulated day, every hand-over checked", soakADay);

} // namespace
