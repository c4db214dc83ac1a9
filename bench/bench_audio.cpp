// Audio engine figures: offline mixing speed (as the sources come, and with every stream
// resampled), full decode against ffmpeg's own decoding time, a track's first load up to its
// true length with its memory, peak memory with four channels loaded, and the running cost:
// the real window's CPU with two decks playing on the null device, and the wake-ups of a
// loaded, stopped deck.
// The media is made with the ffmpeg command line in a temporary folder at the first benchmark.
// Figures about memory or about the real backend are measured in a fresh process of this
// program (the same benchmark name, told by VOLTARIA_BENCH_CHILD what to do), so neither the
// engine's backend nor the process's memory depend on benchmarks run before.
#include "bench.h"

#include "bench_window.h"

#include "app/UMIXER.h"
#include "app/deck.h"
#include "app/paths.h"
#include "app/time_format.h"
#include "audio/TCorvoBass.h"
#include "audio/engine.h"
#include "audio/media_reader.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <sched.h>
#include <unistd.h>

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

// Pink noise, a different one on each side, encoded as a 192 kbit/s MP3 with a LAME header,
// or as a VBR MP3 without one (its length is then only an estimate until it is scanned).
QString makeMp3(const QString& path, int seconds, int rate = 44100, bool header = true)
{
    const QString d = QString::number(seconds);
    const QString graph = QString("anoisesrc=d=%1:c=pink:r=%2:a=0.25:s=1[l];"
                                  "anoisesrc=d=%1:c=pink:r=%2:a=0.25:s=2[r];[l][r]amerge=inputs=2")
                              .arg(d)
                              .arg(rate);
    QStringList args = {"-nostdin", "-hide_banner", "-loglevel", "error", "-y", "-filter_complex", graph, "-c:a", "libmp3lame"};
    args << (header ? QStringList{"-b:a", "192k"} : QStringList{"-q:a", "4", "-write_xing", "0"}) << path;
    QProcess p;
    p.start("ffmpeg", args);
    if (!p.waitForFinished(300000) || p.exitCode() != 0) {
        std::fprintf(stderr, "bench_audio: ffmpeg could not make %s\n", qPrintable(path));
        return {};
    }
    return path;
}

QTemporaryDir& mediaFolder()
{
    static QTemporaryDir dir;
    return dir;
}

const Media& media()
{
    static const Media made{makeMp3(mediaFolder().filePath("ten-minutes.mp3"), 600),
                            makeMp3(mediaFolder().filePath("one-minute.mp3"), 60)};
    return made;
}

// The same at 48 kHz, which the 44.1 kHz device resamples.
const Media& media48k()
{
    static const Media made{makeMp3(mediaFolder().filePath("ten-minutes-48k.mp3"), 600, 48000),
                            makeMp3(mediaFolder().filePath("one-minute-48k.mp3"), 60, 48000)};
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
// A child that has not finished within `timeoutMs` is killed and gives no values.
Values inChild(const std::string& benchmark, const QString& task, const QStringList& files, int timeoutMs = 600000)
{
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(kChildTask, task);
    env.insert(kChildFiles, files.join('\n'));
    p.setProcessEnvironment(env);
    p.start(QCoreApplication::applicationFilePath(), {QString::fromStdString(benchmark)});
    Values values;
    if (!p.waitForFinished(timeoutMs) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) {
        std::fprintf(stderr, "bench_audio: child '%s' failed or did not finish in %d s:\n%s\n", qPrintable(task),
                     timeoutMs / 1000, p.readAllStandardError().constData());
        p.kill();
        p.waitForFinished(5000);
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
// the manual backend with every thread of the process on one core. `pitch` moves both decks'
// frequency by that factor (1: left at the track's own rate).
Values mixChild(const QStringList& files, double pitch)
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
        if (pitch != 1.0)
            s.channel->setFrequency(uint32_t(std::lround(s.channel->frequency() * pitch)));
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
    const bool allPlayed = deckA.GetPosition() > kRenderMs * pitch * 0.9 && clip.GetPosition() > kRenderMs;
    return {{"audio_s", kRenderMs / 1000.0}, {"cpu_s", cpu},           {"mix_s", mix},
            {"wall_s", wall},                {"all_played", allPlayed ? 1 : 0}};
}

// The file's length as decoding it to the end gives, in ms.
double decodedLengthMs(const QString& file)
{
    auto reader = audio::MediaReader::open(file.toStdString());
    std::vector<float> out;
    int64_t frames = 0;
    while (reader && reader->decode(out)) {
        frames += int64_t(out.size() / 2);
        out.clear();
    }
    return reader ? double(frames) * 1000.0 / reader->sampleRate() : 0;
}

// CPU time (user and system) of every thread of this process, in seconds.
double processCpuSeconds()
{
    QFile f("/proc/self/stat");
    if (!f.open(QIODevice::ReadOnly))
        return 0;
    const QByteArray stat = f.readAll();
    // The fields after the command's closing parenthesis: state is field 3, utime 14, stime 15.
    const QList<QByteArray> fields = stat.mid(stat.lastIndexOf(')') + 2).split(' ');
    return (fields.value(11).toDouble() + fields.value(12).toDouble()) / double(sysconf(_SC_CLK_TCK));
}

// Runs the main thread's event loop (the window's timers, the channels' ticks) for `ms`.
void runLoop(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

// The first load of a file on the null device, in a fresh process: until LoadFile returns,
// and until the channel reports the file's true (decoded) length; then what it kept, and the
// time of later loads of the same file.
Values loadChild(const QStringList& files)
{
    const double trueMs = decodedLengthMs(files.value(0));
    TCorvoBass canal;
    canal.OpenDevice(nullDevice(canal));
    const double before = statusKb("VmRSS:");
    const double t0 = wallSeconds();
    canal.LoadFile(files.value(0));
    const double returned = wallSeconds() - t0;
    const double lengthAtReturn = double(canal.GetLength());
    // What the deck shows is its channel's GetLength: within 5 ms of the true one counts.
    double known = returned;
    while (std::abs(double(canal.GetLength()) - trueMs) > 5 && wallSeconds() - t0 < 10) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
        QThread::usleep(200);
        known = wallSeconds() - t0;
    }
    const bool reached = std::abs(double(canal.GetLength()) - trueMs) <= 5;
    runEvents(500); // the decoder's ring is full
    const double kept = statusKb("VmRSS:") - before;
    std::vector<double> loads;
    for (int i = 0; i < 5; ++i) {
        const double t = wallSeconds();
        canal.LoadFile(files.value(0));
        loads.push_back(wallSeconds() - t);
        runEvents(100);
    }
    return {{"returned_ms", returned * 1000},     {"true_length_ms", reached ? known * 1000 : -1},
            {"length_at_return", lengthAtReturn}, {"decoded_length", trueMs},
            {"again_ms", median(loads) * 1000},   {"rss_delta_kb", kept}};
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

// The real main window, shown offscreen as the program shows it, its two decks moved to the
// null device, each playing one of the files with the equaliser on; the process's CPU over
// five seconds of its own event loop, after a second to settle.
Values runningChild(const QStringList& files)
{
    // The program's own surroundings, but its data in a temporary folder and no box waiting.
    QTemporaryDir data;
    app::setDataFolder(data.path());
    app::setScreenSize(QSize(1024, 768));
    timefmt::setStorePath(data.filePath("user-locale.ini"));
    bench::SilentDialogs silent;
    setDialogs(&silent);
    Tform_mixer w;
    w.show();
    QCoreApplication::processEvents();
    const int null = nullDevice(*w.canal_a);
    for (Deck* d : {&w.deckA, &w.deckB}) {
        d->channel->OpenDevice(null, &w);
        const QString file = d == &w.deckA ? files.value(0) : files.value(1);
        d->listBox->addItem(QFileInfo(file).fileName().toUpper());
        d->paths << file;
        d->listBox->setCurrentRow(0);
        (w.*d->listClick)();
        d->playButton->click();
    }
    w.bsSkinCheckRadioBox1->click();
    runLoop(1000);
    const double cpu0 = processCpuSeconds(), wall0 = wallSeconds();
    const int64_t position0 = w.canal_a->GetPosition();
    runLoop(5000);
    const double cpu = processCpuSeconds() - cpu0, wall = wallSeconds() - wall0;
    const double advanced = double(w.canal_a->GetPosition() - position0) / 1000;
    return {{"cpu_s", cpu}, {"wall_s", wall}, {"advanced_s", advanced}};
}

// Voluntary context switches of every thread of this process but the main one: each is a
// wake-up after a wait.
double threadWakeups()
{
    double sum = 0;
    const QString self = QString::number(getpid());
    for (const QString& task : QDir("/proc/self/task").entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        if (task == self)
            continue;
        QFile f("/proc/self/task/" + task + "/status");
        if (!f.open(QIODevice::ReadOnly))
            continue;
        for (const QByteArray& line : f.readAll().split('\n'))
            if (line.startsWith("voluntary_ctxt_switches:"))
                sum += line.mid(24).trimmed().toDouble();
    }
    return sum;
}

// One channel on the null device: the wake-ups per second of its threads with nothing loaded,
// then with the file loaded and stopped (its ring full), the main thread asleep meanwhile.
Values wakeupsChild(const QStringList& files)
{
    constexpr int kWindowMs = 5000;
    TCorvoBass canal;
    canal.OpenDevice(nullDevice(canal));
    auto perSecond = [] {
        const double before = threadWakeups();
        QThread::msleep(kWindowMs);
        return (threadWakeups() - before) * 1000 / kWindowMs;
    };
    QThread::msleep(500);
    const double idle = perSecond();
    canal.LoadFile(files.value(0));
    runEvents(1500); // the ring fills
    const double loaded = perSecond();
    return {{"idle_per_s", idle}, {"loaded_per_s", loaded}};
}

// True when this process is a child: does its task and prints the result.
bool runAsChild()
{
    const QString task = qEnvironmentVariable(kChildTask);
    if (task.isEmpty())
        return false;
    const QStringList files = qEnvironmentVariable(kChildFiles).split('\n');
    if (task == "mix")
        printValues(mixChild(files, 1.0));
    else if (task == "mix-resampled")
        printValues(mixChild(files, 1.04));
    else if (task == "running")
        printValues(runningChild(files));
    else if (task == "wakeups")
        printValues(wakeupsChild(files));
    else if (task == "load")
        printValues(loadChild(files));
    else if (task == "peak")
        printValues(peakChild(files));
    return true;
}

// ---- the benchmarks ----

// One line for a mixing child's figure: seconds of audio per second of CPU.
void reportMixing(const std::string& name, const Values& v, const QString& sources, double cpuSeconds,
                  const QString& whose, const std::string& goal)
{
    const QString played = v.at("all_played") ? "" : ", NOT ALL CHANNELS PLAYED";
    const double ratio = v.at("audio_s") / cpuSeconds;
    bench::report(name, ratio, "x real time", 1.0,
                  QString("real time; %1: %2 s mixed in %3 s CPU of %4, one core%5")
                      .arg(sources)
                      .arg(v.at("audio_s"))
                      .arg(cpuSeconds, 0, 'f', 3)
                      .arg(whose)
                      .arg(played)
                      .toStdString(),
                  ratio, goal);
}

void mixing()
{
    if (runAsChild())
        return;
    const Media& m = media();
    const Values v = inChild("audio-mixing", "mix", {m.tenMinutes, m.oneMinute});
    if (!v.empty() && v.at("cpu_s") > 0 && v.at("mix_s") > 0) {
        const QString sources = "44.1 kHz sources";
        reportMixing("audio-mixing", v, sources, v.at("mix_s"), "the output callback", ">= 200");
        reportMixing("audio-mixing-with-decoding", v, sources, v.at("cpu_s"), "the whole process (four MP3 decoders too)",
                     "(for reference)");
    }
    // Every stream resampled: 48 kHz sources on the 44.1 kHz device, both decks' pitch moved
    // by 4 %. A child that hangs (a resampler that never returns) is reported as such.
    const Media& r = media48k();
    const Values w = inChild("audio-mixing", "mix-resampled", {r.tenMinutes, r.oneMinute}, 180000);
    if (w.empty() || w.at("mix_s") <= 0) {
        bench::report("audio-mixing-resampled", 0, "x real time", 1.0,
                      "real time; THE CHILD FAILED OR HUNG (see above)", 0, ">= 200");
        return;
    }
    const QString sources = "48 kHz sources, decks' pitch +4 %";
    reportMixing("audio-mixing-resampled", w, sources, w.at("mix_s"), "the output callback", ">= 200");
    reportMixing("audio-mixing-resampled-with-decoding", w, sources, w.at("cpu_s"), "the whole process",
                 "(for reference)");
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

// FFmpeg's own decoding of the same file, as its command line's -benchmark line reports it:
// real and user time from after the file was opened to the end, without the process's start-up.
Timing decodeFfmpeg(const QString& file)
{
    QProcess p;
    p.start("ffmpeg", {"-nostdin", "-hide_banner", "-benchmark", "-i", file, "-f", "null", "-"});
    p.waitForFinished(120000);
    const QByteArray out = p.readAllStandardError() + p.readAllStandardOutput();
    auto field = [&](const char* name) {
        const int at = out.lastIndexOf(name);
        return at >= 0 ? out.mid(at + int(qstrlen(name))).split('s').value(0).toDouble() : 0.0;
    };
    if (p.exitCode() != 0)
        return {};
    return {field("rtime="), field("utime=")};
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
    bench::report("audio-decode-cpu", us.cpu * 1000, "ms", them.cpu * 1000,
                  QString("ffmpeg -benchmark -f null utime on the same 10-minute MP3, decoding alone, best of 5; "
                          "ours: the decoder thread's CPU, %1 frames")
                      .arg(frames)
                      .toStdString(),
                  us.cpu / them.cpu, "ratio <= 1.2");
    bench::report("audio-decode", us.wall * 1000, "ms", them.wall * 1000,
                  "the same command's -benchmark rtime (wall, without its start-up), best of 5",
                  us.wall / them.wall, "ratio <= 1.2");
}

void loading()
{
    if (runAsChild())
        return;
    const Media& m = media();
    const QString headerless = makeMp3(mediaFolder().filePath("ten-minutes-vbr-no-header.mp3"), 600, 44100, false);
    const Values one = inChild("audio-load", "load", {m.oneMinute});
    if (one.empty())
        return;
    const double anchor = one.at("true_length_ms");
    const struct {
        const char* name;
        QString file;
        const char* what;
    } files[] = {{"audio-load", m.tenMinutes, "10-minute MP3 with a LAME header"},
                 {"audio-load-no-header", headerless, "10-minute VBR MP3 without a Xing header"}};
    for (const auto& f : files) {
        const Values v = inChild("audio-load", "load", {f.file});
        if (v.empty())
            continue;
        const bool reached = v.at("true_length_ms") >= 0;
        bench::report(f.name, reached ? v.at("true_length_ms") : v.at("returned_ms"), "ms", anchor,
                      QString("the same for a 1-minute MP3; %1, first load on the null device until GetLength is "
                              "the decoded %2 ms%3; LoadFile returned after %4 ms with %5 ms; a reload takes %6 ms")
                          .arg(f.what)
                          .arg(v.at("decoded_length"), 0, 'f', 0)
                          .arg(reached ? "" : ": NEVER WITHIN 10 S, figure is LoadFile alone")
                          .arg(v.at("returned_ms"), 0, 'f', 2)
                          .arg(v.at("length_at_return"), 0, 'f', 0)
                          .arg(v.at("again_ms"), 0, 'f', 2)
                          .toStdString(),
                      (reached ? v.at("true_length_ms") : v.at("returned_ms")) / anchor, "under 20 ms");
        if (f.file == m.tenMinutes)
            bench::report("audio-load-memory", v.at("rss_delta_kb"), "kB", one.at("rss_delta_kb"),
                          "RSS kept by loading a 1-minute MP3",
                          v.at("rss_delta_kb") / std::max(1.0, one.at("rss_delta_kb")),
                          "ratio about 1: no growth with length");
    }
}

// Two decks playing in the real window on the null device, and a loaded, stopped deck.
void runningCost()
{
    if (runAsChild())
        return;
    const Media& m = media();
    const Values v = inChild("audio-running-cost", "running", {m.tenMinutes, m.oneMinute}, 120000);
    if (!v.empty() && v.at("wall_s") > 0) {
        const double percent = 100 * v.at("cpu_s") / v.at("wall_s");
        bench::report("audio-running-two-decks", percent, "% of one core", 100.0,
                      QString("one core; the real window offscreen, two MP3 decks with EQ on the null device: "
                              "%1 s CPU (utime+stime) over %2 s, deck A advanced %3 s")
                          .arg(v.at("cpu_s"), 0, 'f', 3)
                          .arg(v.at("wall_s"), 0, 'f', 2)
                          .arg(v.at("advanced_s"), 0, 'f', 2)
                          .toStdString(),
                      percent / 100, "a few percent of one core");
    }
    const Values w = inChild("audio-running-cost", "wakeups", {m.tenMinutes}, 120000);
    if (!w.empty())
        bench::report("audio-stopped-deck-wakeups", w.at("loaded_per_s") - w.at("idle_per_s"), "wake-ups/s",
                      w.at("idle_per_s"),
                      QString("the same process's threads with the channel opened, nothing loaded; loaded and "
                              "stopped: %1/s in all (voluntary context switches, /proc/self/task)")
                          .arg(w.at("loaded_per_s"), 0, 'f', 1)
                          .toStdString(),
                      (w.at("loaded_per_s") - w.at("idle_per_s")) / std::max(1.0, w.at("idle_per_s")),
                      "about 0: a stopped deck costs nothing measurable");
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

const bench::Register registerMixing("audio-mixing",
                                     "offline mixing of 2 decks with effects, preview and clip; again with every stream resampled",
                                     mixing);
const bench::Register registerDecoding("audio-decode", "our full decode of a 10-minute MP3 against ffmpeg's own decoding time",
                                       decoding);
const bench::Register registerLoading("audio-load", "first load of a track until its true length is shown, and its memory",
                                      loading);
const bench::Register registerPeak("audio-peak-memory", "peak memory with four channels playing 10-minute tracks", peakMemory);
const bench::Register registerRunning("audio-running-cost",
                                      "CPU of the real window with two decks playing; wake-ups of a loaded, stopped deck",
                                      runningCost);

} // namespace
