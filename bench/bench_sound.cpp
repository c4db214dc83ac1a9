// Figures through a real sound server (the tests' private one, started here): the control latency
// from a volume change to the change in the output's monitor recording, and the program's CPU
// while two decks play on a server output. Each runs in a fresh process of this program, so the
// engine meets the server's outputs rather than a backend chosen by benchmarks run before.
#include "bench.h"

#include "audio/TCorvoBass.h"
#include "audio/engine.h"
#include "audio/media.h"
#include "support/sound_server.h"

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <unistd.h>

namespace {

const char* const kInChild = "VOLTARIA_SOUND_BENCH_CHILD";
constexpr int kRate = audio::kDeviceRate;

// Runs `name` in a fresh process of this program and passes its lines on; true in that process.
bool inFreshProcess(const char* name)
{
    if (qEnvironmentVariableIsSet(kInChild))
        return true;
    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(kInChild, "1");
    child.setProcessEnvironment(env);
    child.setProcessChannelMode(QProcess::ForwardedChannels);
    child.start(QCoreApplication::applicationFilePath(), {name});
    if (!child.waitForFinished(600000))
        child.kill();
    return false;
}

test::SoundServer* server()
{
    test::SoundServer& s = test::SoundServer::shared();
    if (!s.running())
        std::fprintf(stderr, "no test sound server: %s\n", qPrintable(s.error()));
    return s.running() ? &s : nullptr;
}

double processCpuSeconds()
{
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) * 1e-9;
}

// utime + stime of another process, in seconds.
double cpuSecondsOf(int pid)
{
    QFile stat(QString("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return 0;
    const QList<QByteArray> fields = stat.readAll().split(')').value(1).trimmed().split(' ');
    return (fields.value(11).toDouble() + fields.value(12).toDouble()) / double(sysconf(_SC_CLK_TCK));
}

// When frame `frame` of a recording passed the monitor: the time its block arrived, less the
// frames of the block that came after it.
double heardAtMs(const std::vector<test::Recording::Arrival>& arrivals, int64_t frame,
                 test::Recording::Clock::time_point origin)
{
    for (const auto& a : arrivals)
        if (a.frames > frame)
            return std::chrono::duration<double, std::milli>(a.at - origin).count()
                   - double(a.frames - frame) * 1000.0 / kRate;
    return -1;
}

// Volume 0 to 100 on a channel playing a tone on "Radio", twenty times: how long until the tone
// shows in the monitor recording.
void controlLatency()
{
    if (!inFreshProcess("sound-latency"))
        return;
    test::SoundServer* s = server();
    QTemporaryDir dir;
    if (!s || !dir.isValid())
        return;
    const QString tone =
        media::writeWav(dir.filePath("tone.wav"), kRate, 2, 16, int64_t(60) * kRate, media::sine(1000, kRate, 0.5));
    TCorvoBass canal;
    canal.OpenDevice(canal.DeviceNumber("Radio"));
    canal.LoadFile(tone);
    canal.Play();
    canal.setVolume(0);
    test::Recording radio("radio", 2);
    radio.waitFor(500);
    const double serverUs = s->streamLatencyUs("radio");

    const auto origin = test::Recording::Clock::now();
    std::vector<double> changedAtMs;
    for (int i = 0; i < 20; ++i) {
        changedAtMs.push_back(std::chrono::duration<double, std::milli>(test::Recording::Clock::now() - origin).count());
        canal.setVolume(100);
        QThread::msleep(250);
        canal.setVolume(0);
        QThread::msleep(250);
    }
    QThread::msleep(200);
    std::vector<test::Recording::Arrival> arrivals;
    const std::vector<float> heard = radio.samples(&arrivals);
    radio.stop();
    canal.Stop();

    std::vector<double> latencies;
    for (double changed : changedAtMs) {
        // The first frame at least 50 ms before the change, then the first that carries the tone.
        int64_t frame = 0;
        while (frame < int64_t(heard.size() / 2) && heardAtMs(arrivals, frame, origin) < changed - 50)
            frame += 64;
        while (frame < int64_t(heard.size() / 2) && std::fabs(heard[size_t(2 * frame)]) < 0.02)
            ++frame;
        if (frame < int64_t(heard.size() / 2))
            latencies.push_back(heardAtMs(arrivals, frame, origin) - changed);
    }
    if (latencies.empty() || serverUs < 0) {
        std::fprintf(stderr, "sound-latency: nothing measured\n");
        return;
    }
    std::sort(latencies.begin(), latencies.end());
    const double median = latencies[latencies.size() / 2], worst = latencies.back();
    const double bufferMs = audio::deviceBufferFrames() * 1000.0 / kRate, serverMs = serverUs / 1000;
    bench::report("sound-control-latency", median, "ms", bufferMs + serverMs,
                  QString("device buffer asked for %1 frames = %2 ms + the server's latency for the stream %3 ms; "
                          "worst of %4 changes %5 ms; recorded with a 2 ms fragment")
                      .arg(audio::deviceBufferFrames())
                      .arg(bufferMs, 0, 'f', 1)
                      .arg(serverMs, 0, 'f', 1)
                      .arg(latencies.size())
                      .arg(worst, 0, 'f', 1)
                      .toStdString(),
                  median / (bufferMs + serverMs), "ratio <= 1");
}

// Two decks playing MP3s for ten seconds on "Radio", against the same two decks on the null
// device in the same process: the share of one core the program takes.
void twoDecksCpu()
{
    if (!inFreshProcess("sound-cpu"))
        return;
    test::SoundServer* s = server();
    QTemporaryDir dir;
    if (!s || !dir.isValid())
        return;
    QStringList tracks;
    for (double hz : {220.0, 330.0}) {
        const QString wav = media::writeWav(dir.filePath(QString("%1.wav").arg(hz)), kRate, 2, 16, int64_t(60) * kRate,
                                            media::sine(hz, kRate, 0.4));
        tracks << media::lame(wav, dir.filePath(QString("%1.mp3").arg(hz)));
    }
    TCorvoBass probe;
    const int radio = probe.DeviceNumber("Radio"), null = probe.DeviceNumber("Sem saída de som");
    auto play = [&](int device) {
        TCorvoBass deckA, deckB;
        deckA.OpenDevice(device);
        deckB.OpenDevice(device);
        int i = 0;
        for (TCorvoBass* deck : {&deckA, &deckB}) {
            deck->LoadFile(tracks.value(i++));
            deck->Play();
        }
        QThread::msleep(1000); // the decoders' first second ahead is not counted
        const double cpu0 = processCpuSeconds(), server0 = cpuSecondsOf(s->pid());
        const auto wall0 = std::chrono::steady_clock::now();
        QThread::msleep(10000);
        const double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - wall0).count();
        const std::pair<double, double> shares{(processCpuSeconds() - cpu0) / wall * 100,
                                               (cpuSecondsOf(s->pid()) - server0) / wall * 100};
        deckA.Stop();
        deckB.Stop();
        return shares;
    };
    const auto [onServer, serverShare] = play(radio);
    const double onNull = play(null).first;
    bench::report("sound-two-decks-cpu", onServer, "% of one core", onNull,
                  QString("the same two MP3 decks on the null device; the sound server itself took %1 % meanwhile")
                      .arg(serverShare, 0, 'f', 2)
                      .toStdString(),
                  onServer / onNull, "a few percent of one core");
}

const bench::Register registerLatency("sound-latency",
                                      "a volume change reaching the test sound server's monitor", controlLatency);
const bench::Register registerCpu("sound-cpu", "two MP3 decks playing on the test sound server against the null device",
                                  twoDecksCpu);

} // namespace
