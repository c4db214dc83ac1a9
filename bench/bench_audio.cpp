// Audio engine figures: offline mixing speed, full decode against the ffmpeg command line,
// track load time with its memory, and peak memory with four channels loaded.
// The media is made with the ffmpeg command line in a temporary folder at the first benchmark.
// Figures about memory or about the real backend are measured in a fresh process of this
// program (the same benchmark name, told by VOLTARIA_BENCH_CHILD what to do), so neither the
// engine's backend nor the process's memory depend on benchmarks run before.
#include "bench.h"

#include "audio/TCorvoBass.h"
#include "audio/engine.h"
#include "audio/media_reader.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <sched.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <map>
#include <memory>
#include <vector>

namespace {

using Values = std::map<QString, double>;

const char* const kChildTask = "VOLTARIA_BENCH_CHILD";
const char* const kChildFiles = "VOLTARIA_BENCH_FILES";

// ---- media ----

struct Media {
    QString tenMinutes, oneMinute;
};

// Pink noise, a different one on each side, encoded as a 192 kbit/s MP3 with a LAME header.
QString makeMp3(const QString& path, int seconds)
{
    const QString d = QString::number(seconds);
    const QString graph = QString("anoisesrc=d=%1:c=pink:r=44100:a=0.25:s=1[l];"
                                  "anoisesrc=d=%1:c=pink:r=44100:a=0.25:s=2[r];[l][r]amerge=inputs=2")
                              .arg(d);
    QProcess p;
    p.start("ffmpeg", {"-nostdin", "-hide_banner", "-loglevel", "error", "-y", "-filter_complex", graph, "-c:a",
                       "libmp3lame", "-b:a", "192k", path});
    if (!p.waitForFinished(300000) || p.exitCode() != 0) {
        std::fprintf(stderr, "bench_audio: ffmpeg could not make %s\n", qPrintable(path));
        return {};
    }
    return path;
}

const Media& media()
{
    static QTemporaryDir dir;
    static const Media made{makeMp3(dir.filePath("ten-minutes.mp3"), 600), makeMp3(dir.filePath("one-minute.mp3"), 60)};
    return made;
}

// ---- measuring ----

// CPU time of the whole process (every thread), or of the calling thread only.
double cpuSeconds(clockid_t clock = CLOCK_PROCESS_CPUTIME_ID)
{
    timespec t{};
    clock_gettime(clock, &t);
    return double(t.tv_sec) + double(t.tv_nsec) * 1e-9;
}

double wallSeconds()
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

// A field of /proc/self/status in kB (VmRSS: resident now, VmHWM: the peak).
double statusKb(const char* field)
{
    QFile f("/proc/self/status");
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : f.readAll().split('\n'))
        if (line.startsWith(field))
            return line.mid(int(qstrlen(field)) + 1).trimmed().split(' ').value(0).toDouble();
    return -1;
}

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

// Keeps the main thread's events running (the channel's timer ticks) for `ms` of real time.
void runEvents(int ms)
{
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < ms) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        QThread::msleep(1);
    }
}

// The null device: the last one in the list, silent and paced by the clock.
int nullDevice(TCorvoBass& any)
{
    int last = 1;
    while (!any.DeviceName(last + 1).isEmpty())
        ++last;
    return last;
}

void printValues(const Values& values)
{
    std::printf("child");
    for (const auto& [key, value] : values)
        std::printf(" %s=%.6f", qPrintable(key), value);
    std::printf("\n");
    std::fflush(stdout);
}

// Runs this benchmark again in a fresh process with `task`; its "child k=v ..." line.
Values inChild(const std::string& benchmark, const QString& task, const QStringList& files)
{
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(kChildTask, task);
    env.insert(kChildFiles, files.join('\n'));
    p.setProcessEnvironment(env);
    p.start(QCoreApplication::applicationFilePath(), {QString::fromStdString(benchmark)});
    Values values;
    if (!p.waitForFinished(600000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) {
        std::fprintf(stderr, "bench_audio: child '%s' failed:\n%s\n", qPrintable(task),
                     p.readAllStandardError().constData());
        return values;
    }
    for (const QByteArray& line : p.readAllStandardOutput().split('\n')) {
        if (!line.startsWith("child "))
            continue;
        for (const QByteArray& pair : line.mid(6).split(' ')) {
            const int eq = pair.indexOf('=');
            if (eq > 0)
                values[QString::fromUtf8(pair.left(eq))] = pair.mid(eq + 1).toDouble();
        }
    }
    return values;
}

// ---- the work done in child processes ----

// Two decks with EQ, flanger and echo, plus the preview and clip channels, rendered offline on
// the manual backend with every thread of the process on one core.
Values mixChild(const QStringList& files)
{
    cpu_set_t one;
    CPU_ZERO(&one);
    CPU_SET(sched_getcpu(), &one);
    sched_setaffinity(0, sizeof(one), &one); // threads made from now on inherit it
    audio::useManualBackend();
    TCorvoBass deckA, deckB, preview, clip;
    const struct {
        TCorvoBass* channel;
        QString file;
        int startMs;
        bool effects;
    } setup[] = {{&deckA, files.value(0), 0, true},
                 {&deckB, files.value(0), 300000, true},
                 {&preview, files.value(0), 120000, false},
                 {&clip, files.value(1), 0, false}};
    // A DJ's curve: lows and highs up, mids down, no band flat.
    const int eq[audio::kEqBands] = {14, 13, 12, 11, 9, 8, 9, 11, 12, 13};
    for (const auto& s : setup) {
        s.channel->OpenDevice(1);
        s.channel->LoadFile(s.file);
        s.channel->SetPosition(s.startMs);
        s.channel->Play();
        if (!s.effects)
            continue;
        s.channel->SetEQ(true);
        for (int b = 0; b < audio::kEqBands; ++b)
            s.channel->EQBand(b, int(audio::kEqCentres[b]), eq[b]);
        s.channel->SetFlanger(true);
        s.channel->FlangerParams(130, 120, 8);
        s.channel->SetEcho(true);
    }
    audio::renderManual(1000); // the decoders' first second ahead is not counted
    constexpr int kRenderMs = 50000;
    // The rendering thread runs the device's mix as its output callback would; the decoder
    // threads' share is the rest of the process.
    const double cpu0 = cpuSeconds(), mix0 = cpuSeconds(CLOCK_THREAD_CPUTIME_ID), wall0 = wallSeconds();
    audio::renderManual(kRenderMs);
    const double cpu = cpuSeconds() - cpu0, mix = cpuSeconds(CLOCK_THREAD_CPUTIME_ID) - mix0;
    const double wall = wallSeconds() - wall0;
    const bool allPlayed = deckA.GetPosition() > kRenderMs && clip.GetPosition() > kRenderMs;
    return {{"audio_s", kRenderMs / 1000.0}, {"cpu_s", cpu},           {"mix_s", mix},
            {"wall_s", wall},                {"all_played", allPlayed ? 1 : 0}};
}

// One file loaded on the null device: the time of each load and what the first one kept.
Values loadChild(const QStringList& files)
{
    TCorvoBass canal;
    canal.OpenDevice(nullDevice(canal));
    const double before = statusKb("VmRSS:");
    const double t0 = wallSeconds();
    canal.LoadFile(files.value(0));
    const double first = wallSeconds() - t0;
    runEvents(500); // the decoder's ring is full and the length scan done
    const double kept = statusKb("VmRSS:") - before;
    std::vector<double> loads;
    for (int i = 0; i < 9; ++i) {
        const double t = wallSeconds();
        canal.LoadFile(files.value(0));
        loads.push_back(wallSeconds() - t);
        runEvents(100);
    }
    return {{"first_ms", first * 1000},
            {"median_ms", median(loads) * 1000},
            {"worst_ms", *std::max_element(loads.begin(), loads.end()) * 1000},
            {"rss_delta_kb", kept},
            {"length_ms", double(canal.GetLength())}};
}

// Four channels on the null device, loaded with the file and playing for two seconds.
Values peakChild(const QStringList& files)
{
    std::vector<std::unique_ptr<TCorvoBass>> channels;
    for (int i = 0; i < 4; ++i) {
        channels.push_back(std::make_unique<TCorvoBass>());
        channels.back()->OpenDevice(nullDevice(*channels.back()));
    }
    runEvents(200);
    const double base = statusKb("VmHWM:");
    for (auto& c : channels) {
        c->LoadFile(files.value(0));
        c->Play();
    }
    runEvents(2000);
    return {{"base_kb", base}, {"peak_kb", statusKb("VmHWM:")}, {"length_ms", double(channels[0]->GetLength())}};
}

// True when this process is a child: does its task and prints the result.
bool runAsChild()
{
    const QString task = qEnvironmentVariable(kChildTask);
    if (task.isEmpty())
        return false;
    const QStringList files = qEnvironmentVariable(kChildFiles).split('\n');
    if (task == "mix")
        printValues(mixChild(files));
    else if (task == "load")
        printValues(loadChild(files));
    else if (task == "peak")
        printValues(peakChild(files));
    return true;
}

// ---- the benchmarks ----

void mixing()
{
    if (runAsChild())
        return;
    const Media& m = media();
    const Values v = inChild("audio-mixing", "mix", {m.tenMinutes, m.oneMinute});
    if (v.empty() || v.at("cpu_s") <= 0 || v.at("mix_s") <= 0)
        return;
    const QString played = v.at("all_played") ? "" : ", NOT ALL CHANNELS PLAYED";
    const double mix = v.at("audio_s") / v.at("mix_s");
    bench::report("audio-mixing", mix, "x real time", 1.0,
                  QString("real time; %1 s mixed in %2 s CPU of the output callback, one core%3")
                      .arg(v.at("audio_s"))
                      .arg(v.at("mix_s"), 0, 'f', 3)
                      .arg(played)
                      .toStdString(),
                  mix, ">= 200");
    const double whole = v.at("audio_s") / v.at("cpu_s");
    bench::report("audio-mixing-with-decoding", whole, "x real time", 1.0,
                  QString("real time; the same with the four MP3 decoders: %1 s CPU, %2 s wall, one core%3")
                      .arg(v.at("cpu_s"), 0, 'f', 3)
                      .arg(v.at("wall_s"), 0, 'f', 3)
                      .arg(played)
                      .toStdString(),
                  whole, "(for reference)");
}

struct Timing {
    double wall = 0, cpu = 0;
};

Timing best(const std::vector<Timing>& runs)
{
    Timing b{1e9, 1e9};
    for (const Timing& t : runs) {
        b.wall = std::min(b.wall, t.wall);
        b.cpu = std::min(b.cpu, t.cpu);
    }
    return b;
}

// Our full decode of the file, as a stream's decoder thread does it: open, decode, convert to
// float stereo, to the end.
Timing decodeOurs(const QString& file, int64_t& frames)
{
    const double wall0 = wallSeconds(), cpu0 = cpuSeconds(CLOCK_THREAD_CPUTIME_ID);
    auto reader = audio::MediaReader::open(file.toStdString());
    std::vector<float> out;
    frames = 0;
    while (reader && reader->decode(out)) {
        frames += int64_t(out.size() / 2);
        out.clear();
    }
    return {wallSeconds() - wall0, cpuSeconds(CLOCK_THREAD_CPUTIME_ID) - cpu0};
}

// The ffmpeg command line decoding the same file: its wall time, and the CPU time its own
// -benchmark line reports (user plus system, without its start-up).
Timing decodeFfmpeg(const QString& file)
{
    QProcess p;
    const double wall0 = wallSeconds();
    p.start("ffmpeg", {"-nostdin", "-hide_banner", "-benchmark", "-i", file, "-f", "null", "-"});
    p.waitForFinished(120000);
    const double wall = wallSeconds() - wall0;
    const QByteArray out = p.readAllStandardError() + p.readAllStandardOutput();
    auto field = [&](const char* name) {
        const int at = out.lastIndexOf(name);
        return at >= 0 ? out.mid(at + int(qstrlen(name))).split('s').value(0).toDouble() : 0.0;
    };
    if (p.exitCode() != 0)
        return {};
    return {wall, field("utime=") + field("stime=")};
}

void decoding()
{
    if (runAsChild())
        return;
    const QString file = media().tenMinutes;
    std::vector<Timing> ours, theirs;
    int64_t frames = 0;
    for (int i = 0; i < 5; ++i) {
        ours.push_back(decodeOurs(file, frames));
        theirs.push_back(decodeFfmpeg(file));
    }
    const Timing us = best(ours), them = best(theirs);
    if (them.wall <= 0 || them.cpu <= 0)
        return;
    const std::string what =
        QString("ffmpeg -f null - on the same 10-minute MP3, wall, best of 5; %1 frames").arg(frames).toStdString();
    bench::report("audio-decode", us.wall * 1000, "ms", them.wall * 1000, what, us.wall / them.wall, "ratio <= 1.2");
    bench::report("audio-decode-cpu", us.cpu * 1000, "ms", them.cpu * 1000,
                  "the same command's -benchmark utime+stime, without its start-up", us.cpu / them.cpu,
                  "ratio <= 1.2");
}

void loading()
{
    if (runAsChild())
        return;
    const Media& m = media();
    const Values ten = inChild("audio-load", "load", {m.tenMinutes});
    const Values one = inChild("audio-load", "load", {m.oneMinute});
    if (ten.empty() || one.empty())
        return;
    bench::report("audio-load", ten.at("median_ms"), "ms", one.at("median_ms"),
                  QString("1-minute MP3; 10-minute first load %1 ms, worst %2 ms, null device")
                      .arg(ten.at("first_ms"), 0, 'f', 2)
                      .arg(ten.at("worst_ms"), 0, 'f', 2)
                      .toStdString(),
                  ten.at("median_ms") / one.at("median_ms"), "10-minute MP3 under 20 ms");
    bench::report("audio-load-memory", ten.at("rss_delta_kb"), "kB", one.at("rss_delta_kb"),
                  "RSS kept by loading a 1-minute MP3", ten.at("rss_delta_kb") / std::max(1.0, one.at("rss_delta_kb")),
                  "ratio about 1: no growth with length");
}

void peakMemory()
{
    if (runAsChild())
        return;
    const Values v = inChild("audio-peak-memory", "peak", {media().tenMinutes});
    if (v.empty())
        return;
    // What the four tracks would take held whole as 16-bit stereo.
    const double wholeKb = 4 * v.at("length_ms") / 1000 * audio::kDeviceRate * 4 / 1024;
    bench::report("audio-peak-memory", v.at("peak_kb"), "kB", v.at("base_kb"),
                  QString("peak RSS of the same process with the 4 channels opened, none loaded; 4 whole tracks "
                          "would be %1 kB")
                      .arg(wholeKb, 0, 'f', 0)
                      .toStdString(),
                  v.at("peak_kb") / v.at("base_kb"), "streams hold a 1 s ring, never the track");
}

const bench::Register registerMixing("audio-mixing", mixing);
const bench::Register registerDecoding("audio-decode", decoding);
const bench::Register registerLoading("audio-load", loading);
const bench::Register registerPeak("audio-peak-memory", peakMemory);

} // namespace
