#include "support/realtime_soak.h"

#include "app/UMIXER.h"
#include "app/dialogs.h"
#include "app/paths.h"
#include "base/textfile.h"
#include "app/time_format.h"
#include "audio/TCorvoBass.h"
#include "audio/engine.h"
#include "audio/media.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QListWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <cmath>

namespace soak {

namespace {

constexpr int kRate = 44100;
constexpr float kSilence = 0.001f; // RMS of a block heard as silence: -60 dBFS
constexpr int kBlockMs = 10;
constexpr int kLookEveryMs = 20;

// Answers every question with OK and keeps every text, which the run reports.
class KeepingDialogs final : public Dialogs
{
public:
    QStringList texts;
    void beep() override {}
    void message(const QString& text, const QString&) override { texts << text; }
    void notice(const QString& text) override { texts << text; }
    bool confirm(const QString& text, const QString&) override
    {
        texts << text;
        return true;
    }
    QString openFileName(const QString&, const QString&, const QString&) override { return {}; }
    QString saveFileName(const QString&, const QString&, const QString&) override { return {}; }
};

// Tones from the first sample to the last, each track its own pitch.
void fillPlaylists(Tform_mixer& w, const QString& folder, const RealTimeOptions& options)
{
    for (int deck = 0; deck < 2; ++deck) {
        Deck& d = w.deck(deck + 1);
        QStringList names, paths;
        for (int i = 0; i < options.tracksPerDeck; ++i) {
            const double seconds = options.trackSeconds[size_t(deck + 2 * i) % options.trackSeconds.size()];
            const QString name = QString("%1%2.wav").arg(deck == 0 ? "a" : "b").arg(i);
            const double hz = 220.0 * std::pow(2.0, (deck * options.tracksPerDeck + i) / 12.0);
            paths << media::writeWav(folder + u'/' + name, kRate, 2, 16, int64_t(seconds * kRate), media::sine(hz, kRate, 0.3));
            names << name.toUpper();
        }
        d.paths = paths;
        d.listBox->addItems(names);
        d.listBox->setCurrentRow(0);
        (w.*d.listClick)();
    }
}

class Listener
{
public:
    Listener(Tform_mixer& w, RealTimeResult& r) : w_(w), r_(r) {}

    void look()
    {
        for (int deck = 0; deck < 2; ++deck) {
            const bool playing = w_.deck(deck + 1).channel->Playing;
            if (playing && !playing_[deck] && started_++ > 0)
                ++r_.handOvers;
            playing_[deck] = playing;
        }
        levels_.clear();
        r_.lostBlocks += audio::takeOutputLevels(w_.device_transmissao, levels_);
        for (float rms : levels_) {
            heard_ = heard_ || rms >= kSilence;
            if (!heard_)
                continue;
            ++r_.blocks;
            silentRun_ = rms < kSilence ? silentRun_ + 1 : 0;
            r_.silentBlocks += silentRun_ > 0;
            r_.longestSilentMs = std::max(r_.longestSilentMs, silentRun_ * kBlockMs);
        }
    }

private:
    Tform_mixer& w_;
    RealTimeResult& r_;
    bool playing_[2] = {false, false};
    int started_ = 0;
    bool heard_ = false;
    int64_t silentRun_ = 0;
    std::vector<float> levels_;
};

} // namespace

QString RealTimeResult::line() const
{
    return QString("handovers=%1 blocks=%2 silent=%3 longest_ms=%4 lost=%5 seconds=%6 messages=%7")
        .arg(handOvers)
        .arg(blocks)
        .arg(silentBlocks)
        .arg(longestSilentMs)
        .arg(lostBlocks)
        .arg(seconds, 0, 'f', 1)
        .arg(messages.size());
}

RealTimeResult RealTimeResult::fromLine(const QString& line)
{
    RealTimeResult r;
    for (const QString& pair : line.split(' ')) {
        const QString key = pair.section('=', 0, 0), value = pair.section('=', 1);
        if (key == "handovers")
            r.handOvers = value.toInt();
        else if (key == "blocks")
            r.blocks = value.toLongLong();
        else if (key == "silent")
            r.silentBlocks = value.toLongLong();
        else if (key == "longest_ms")
            r.longestSilentMs = value.toLongLong();
        else if (key == "lost")
            r.lostBlocks = value.toLongLong();
        else if (key == "seconds")
            r.seconds = value.toDouble();
        else if (key == "messages")
            for (int i = 0; i < value.toInt(); ++i)
                r.messages << QString();
    }
    return r;
}

RealTimeResult runRealTime(const RealTimeOptions& options)
{
    QTemporaryDir data;
    KeepingDialogs dialogs;
    app::setDataFolder(data.path());
    app::setScreenSize(QSize(1024, 768));
    timefmt::setStorePath(data.filePath("user-locale.ini"));
    setDialogs(&dialogs);
    // Every other setting at its default: Auto Mix and Sensibilidade on, the defaults' mix and fade times.
    textfile::writeFileLines(data.filePath("VOLTARIA4.INI"), {"PLACA_MUSICAS=Sem saída de som", "PLACA_CUE=Sem saída de som"});
    textfile::writeFileLines(data.filePath("lista.upd"), {});

    RealTimeResult r;
    {
        Tform_mixer w;
        w.show();
        QApplication::processEvents();
        fillPlaylists(w, data.path(), options);
        Listener listener(w, r);
        listener.look(); // starts the measurement before the first sound

        QElapsedTimer wall;
        wall.start();
        w.BitBtn2Click();
        QEventLoop loop;
        QTimer look;
        QObject::connect(&look, &QTimer::timeout, [&] {
            listener.look();
            if (wall.elapsed() >= int64_t(options.seconds) * 1000)
                loop.quit();
        });
        look.start(kLookEveryMs);
        loop.exec();
        r.seconds = double(wall.elapsed()) / 1000;
        r.messages = dialogs.texts;
    }
    setDialogs(nullptr);
    app::setDataFolder(QString());
    app::setScreenSize(QSize());
    timefmt::setStorePath(QString());
    return r;
}

} // namespace soak
