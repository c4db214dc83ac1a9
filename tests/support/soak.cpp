#include "support/soak.h"

#include "audio/TCorvoBass.h"
#include "audio/media.h"
#include "support/deck_clock.h"
#include "widgets/LedButton.h"
#include "widgets/SpinEdit.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QListWidget>
#include <cmath>
#include <unistd.h>

namespace soak {

namespace {

constexpr int kRate = 44100;
constexpr double kLoud = 0.3, kQuiet = 0.01; // levels 99 and 16 on the deck gauge
constexpr double kSilence = 0.001;           // RMS of a 50 ms window heard as silence
constexpr int kWindowMs = 50;
// A short track that ends while the other deck fades is followed once the end watcher (60 ms)
// notices its end, with only the fading deck heard meanwhile; longer silence is a gap.
constexpr int kLongestQuietMs = 2 * kWindowMs;
constexpr int kMaxFaults = 20;
constexpr int64_t kGiveUpSilentMs = 2000;

struct DeckWatch {
    Deck* deck = nullptr;
    QStringList paths;
    std::vector<bool> playable;
    bool playing = false;
    int lastRow = -1;
    int64_t lastPosition = 0;
};

class Soak
{
public:
    Soak(Tform_mixer& w, const Options& options) : w_(w), options_(options), clock_(w) {}

    Result run(const QString& folder)
    {
        writePlaylists(folder);
        configure();
        QElapsedTimer wall;
        wall.start();
        watchStops(true);
        w_.BitBtn2Click();
        observe();
        const int64_t giveUpAt = std::max<int64_t>(options_.minimumMs, 1) * 4 + 3600 * 1000;
        std::vector<float> heard;
        while (!done() && clock_.nowMs() < giveUpAt && !stopped_) {
            heard.clear();
            clock_.advance(kWindowMs, &heard, [this] { observe(); });
            listen(heard);
        }
        watchStops(false);
        result_.simulatedMs = clock_.nowMs();
        result_.wallSeconds = wall.nsecsElapsed() / 1e9;
        result_.wraps[0] = wraps_[0];
        result_.wraps[1] = wraps_[1];
        if (!done())
            fault(QString("the run ended after %1 s with %2 hand-overs")
                      .arg(clock_.nowMs() / 1000)
                      .arg(result_.handOvers));
        return result_;
    }

private:
    // One content file per length and ending, shared by the entries through links: a day of
    // distinct audio would not fit a test machine's disk.
    void writePlaylists(const QString& folder)
    {
        QStringList contents;
        for (const Options::Track& track : options_.tracks) {
            const int64_t frames = int64_t(track.seconds * kRate);
            const int64_t quietFrom = frames - int64_t(track.quietSeconds * kRate);
            const QString name = QString("content-%1-%2.wav").arg(track.seconds).arg(track.quietSeconds);
            contents << media::writeWav(QDir(folder).filePath(name), kRate, 1, 16, frames, [quietFrom](int64_t i, int) {
                const double amplitude = i < quietFrom ? kLoud : kQuiet;
                return amplitude * std::sin(2 * M_PI * 440 * double(i) / kRate);
            });
        }
        const int n = options_.tracksPerDeck;
        // Deck A misses one file; deck B misses its last one and holds one that is no audio.
        const int missingA = n / 3, unreadableB = n / 2, missingB = n - 1;
        const QString unreadable = QDir(folder).filePath("not-audio.wav");
        QFile text(unreadable);
        text.open(QIODevice::WriteOnly);
        text.write("not audio at all");
        for (int i = 0; i < 2; ++i) {
            DeckWatch& watch = decks_[i];
            watch.deck = i == 0 ? &w_.deckA : &w_.deckB;
            for (int row = 0; row < n; ++row) {
                const QString path = QDir(folder).filePath(QString("%1-%2.wav").arg(i == 0 ? "a" : "b").arg(row, 3, 10, QChar('0')));
                const bool missing = (i == 0 && row == missingA) || (i == 1 && row == missingB);
                const bool noAudio = i == 1 && row == unreadableB;
                if (noAudio)
                    QFile::link(unreadable, path);
                else if (!missing)
                    QFile::link(contents[(row * 5 + i * 3) % contents.size()], path);
                watch.paths << path;
                watch.playable.push_back(!missing && !noAudio);
                watch.deck->listBox->addItem(QFileInfo(path).fileName().toUpper());
                watch.deck->paths << path;
            }
        }
    }

    void configure()
    {
        w_.LEDButton1->setOn(true);
        w_.LEDButton2->setOn(true);
        w_.RxSpinEdit7->setValue(3500);
        w_.RxSpinEdit1->setValue(40);
        w_.tempo_fade = 5000;
        for (DeckWatch& watch : decks_) {
            watch.deck->listBox->setCurrentRow(0);
            (w_.*watch.deck->listClick)();
        }
    }

    // Sees each stop at the moment the channel raises it, before and after the deck's handler.
    void watchStops(bool on)
    {
        for (int i = 0; i < 2; ++i) {
            TCorvoBass* channel = decks_[i].deck->channel;
            if (on) {
                handlers_[i] = channel->OnStop;
                channel->OnStop = [this, i](QObject* sender) {
                    observe();
                    handlers_[i](sender);
                    observe();
                };
            } else {
                channel->OnStop = handlers_[i];
            }
        }
    }

    void observe()
    {
        for (int i = 0; i < 2; ++i) {
            DeckWatch& watch = decks_[i];
            TCorvoBass* channel = watch.deck->channel;
            const bool playing = channel->Playing;
            const int64_t position = channel->GetPosition();
            if (playing && !watch.playing)
                started(i);
            else if (!playing && watch.playing)
                ended(i);
            else if (playing && position < watch.lastPosition)
                fault(QString("deck %1 went back to %2 ms without stopping").arg(name(i)).arg(position));
            watch.playing = playing;
            watch.lastPosition = playing ? position : 0;
        }
    }

    void started(int i)
    {
        DeckWatch& watch = decks_[i];
        const int row = int(watch.paths.indexOf(watch.deck->channel->FilePath));
        int expected = 0;
        if (watch.lastRow >= 0) {
            expected = watch.lastRow;
            do {
                expected = (expected + 1) % int(watch.paths.size());
                if (!watch.playable[size_t(expected)])
                    ++result_.passedOver;
            } while (!watch.playable[size_t(expected)] && expected != watch.lastRow);
            if (expected <= watch.lastRow)
                ++wraps_[i];
        }
        if (row != expected)
            fault(QString("deck %1 played entry %2 after %3, not %4").arg(name(i)).arg(row).arg(watch.lastRow).arg(expected));
        watch.lastRow = row;
        if (!anyStarted_) {
            anyStarted_ = true;
            return;
        }
        const Deck& other = w_.otherDeck(*watch.deck);
        if (!other.channel->Playing || !other.mixing)
            fault(QString("deck %1 started at %2 s with no fading deck to take over from").arg(name(i)).arg(seconds()));
        if (++result_.handOvers % 20 == 0)
            result_.rssKb.push_back(residentKb());
    }

    void ended(int i)
    {
        if (!w_.otherDeck(*decks_[i].deck).channel->Playing)
            fault(QString("deck %1 stopped at %2 s with the other deck silent").arg(name(i)).arg(seconds()));
    }

    // Every 50 ms window of what the device played must be heard.
    void listen(const std::vector<float>& heard)
    {
        double sum = 0;
        for (float sample : heard)
            sum += double(sample) * sample;
        const double rms = heard.empty() ? 0 : std::sqrt(sum / double(heard.size()));
        if (rms < kSilence) {
            silentMs_ += kWindowMs;
            if (silentMs_ == kLongestQuietMs)
                fault(QString("silence at %1 s").arg(seconds()));
            if (silentMs_ >= kGiveUpSilentMs)
                stopped_ = true;
        } else {
            silentMs_ = 0;
        }
    }

    bool done() const
    {
        return clock_.nowMs() >= options_.minimumMs && wraps_[0] >= options_.wraps && wraps_[1] >= options_.wraps;
    }

    void fault(const QString& what)
    {
        if (result_.faults.size() < kMaxFaults)
            result_.faults << what;
    }

    static QString name(int i) { return i == 0 ? "A" : "B"; }
    double seconds() const { return double(clock_.nowMs()) / 1000; }

    Tform_mixer& w_;
    const Options options_;
    test::DeckClock clock_;
    DeckWatch decks_[2];
    TCorvoBass::StopEvent handlers_[2];
    Result result_;
    int wraps_[2] = {0, 0};
    bool anyStarted_ = false;
    bool stopped_ = false;
    int64_t silentMs_ = 0;
};

} // namespace

Result run(Tform_mixer& window, const QString& folder, const Options& options)
{
    Soak soak(window, options);
    return soak.run(folder);
}

#if defined(__SANITIZE_ADDRESS__)
extern "C" size_t __sanitizer_get_current_allocated_bytes();
#endif

long residentKb()
{
#if defined(__SANITIZE_ADDRESS__)
    // The address sanitizer holds freed blocks in a quarantine of up to 256 MB, which the
    // resident size counts: the bytes its allocator has handed out and not had back stand in.
    return long(__sanitizer_get_current_allocated_bytes() / 1024);
#else
    long pages = 0, resident = 0;
    if (FILE* statm = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(statm, "%ld %ld", &pages, &resident) != 2)
            resident = 0;
        std::fclose(statm);
    }
    return resident * (sysconf(_SC_PAGESIZE) / 1024);
#endif
}

} // namespace soak
