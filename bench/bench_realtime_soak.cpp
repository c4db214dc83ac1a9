// The auto-mix on the real path: ten real minutes on the clock-paced null device (in a fresh
// process of this program, so the real engine runs, not the manual one), two playlists of
// generated tracks without silence, Auto Mix on, the engine's output measured in 10 ms blocks
// (tests/support/realtime_soak.h). Beside it, the simulated soak over the same track lengths
// for as long: the hand-overs per minute of the two, and the silence each heard.
#include "bench.h"
#include "bench_window.h"

#include "app/UMIXER.h"
#include "support/realtime_soak.h"
#include "support/recording_dialogs.h"
#include "support/soak.h"

#include <QApplication>
#include <QProcess>
#include <cstdio>

namespace {

const char* const kChild = "VOLTARIA_REALTIME_SOAK_BENCH_CHILD";
constexpr int kSeconds = 600;
// From a jingle shorter than the mix time to long tracks.
const std::vector<double> kTrackSeconds = {2.5, 8, 12, 20, 30, 45};

soak::RealTimeResult inFreshProcess(bool& ok)
{
    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(kChild, "1");
    child.setProcessEnvironment(env);
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    child.start(QCoreApplication::applicationFilePath(), {"auto-mix-realtime"});
    ok = child.waitForFinished((kSeconds + 300) * 1000) && child.exitStatus() == QProcess::NormalExit;
    if (!ok)
        child.kill();
    for (const QByteArray& line : child.readAllStandardOutput().split('\n'))
        if (line.startsWith("child "))
            return soak::RealTimeResult::fromLine(QString::fromUtf8(line.mid(6)));
    ok = false;
    return {};
}

void realTimeSoak()
{
    soak::RealTimeOptions options;
    options.seconds = kSeconds;
    options.trackSeconds = kTrackSeconds;
    options.tracksPerDeck = 6;
    if (qEnvironmentVariableIsSet(kChild)) {
        std::printf("child %s\n", qPrintable(soak::runRealTime(options).line()));
        return;
    }
    bool ok = false;
    const soak::RealTimeResult real = inFreshProcess(ok);
    if (!ok) {
        std::printf("auto-mix-realtime: the real-time run failed or did not finish\n");
        return;
    }

    test::RecordingDialogs dialogs;
    const bench::WindowSurroundings surroundings(&dialogs);
    soak::Result simulated;
    {
        Tform_mixer window;
        window.show();
        QApplication::processEvents();
        soak::Options same;
        same.tracksPerDeck = options.tracksPerDeck;
        same.minimumMs = int64_t(kSeconds) * 1000;
        same.tracks.clear();
        for (double seconds : kTrackSeconds)
            same.tracks.push_back({seconds, 0});
        simulated = soak::run(window, surroundings.folder(), same);
    }
    const qsizetype simulatedSilences =
        std::count_if(simulated.faults.begin(), simulated.faults.end(), [](const QString& f) { return f.startsWith("silence"); });

    std::printf("auto-mix-realtime: %.1f real minutes on the null device, %d hand-overs, %lld of %lld 10 ms blocks "
                "silent (longest %lld ms), %lld blocks lost, %lld boxes shown\n",
                real.seconds / 60, real.handOvers, (long long)real.silentBlocks, (long long)real.blocks,
                (long long)real.longestSilentMs, (long long)real.lostBlocks, (long long)real.messages.size());
    std::printf("auto-mix-soak (same track lengths): %.1f simulated minutes, %d hand-overs, %lld silences of 100 ms "
                "and more, %lld faults\n",
                double(simulated.simulatedMs) / 60000, simulated.handOvers, (long long)simulatedSilences,
                (long long)simulated.faults.size());
    const double realPerMinute = real.handOvers / (real.seconds / 60);
    const double simulatedPerMinute = simulated.handOvers / (double(simulated.simulatedMs) / 60000);
    bench::report("auto-mix-realtime-handovers", realPerMinute, "hand-overs/min", simulatedPerMinute,
                  "simulated soak, same lengths in its own order", realPerMinute / simulatedPerMinute,
                  "near 1: the order of lengths differs");
    bench::report("auto-mix-realtime-silence", double(real.silentBlocks), "silent 10 ms blocks", double(simulatedSilences),
                  "simulated soak's silences", double(real.silentBlocks) / std::max(1.0, double(simulatedSilences)), "0 blocks");
}

bench::Register registerRealTime("auto-mix-realtime",
                                 "auto-mix for ten real minutes on the null device, silent 10 ms blocks between tracks",
                                 realTimeSoak);

} // namespace
