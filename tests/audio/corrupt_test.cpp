// A generated corpus of damaged files: header fields set to 0, 1, 0x7FFFFFFF and 0xFFFFFFFF,
// truncations, flipped bytes, joined files and float files holding NaN, infinity, 1e38 and
// denormals; then a seeded mutation pass over the same media. Each file is loaded, played and
// sought on the null device; it must be refused or played as far as it decodes, never crash,
// hang, take huge memory or send a value past full scale. Runs in a child process with a deadline.
#include "null_device.h"

#include "audio/engine.h"

#include <QFile>
#include <QFileInfo>
#include <cmath>
#include <cstdio>
#include <limits>
#include <random>

namespace {

struct Mutant {
    QString name;
    QByteArray bytes;
    bool refused = false; // a header no real file has: the load must refuse it
};

QByteArray readAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QByteArray withField(QByteArray bytes, qsizetype at, uint64_t value, int size, bool bigEndian = false)
{
    for (int i = 0; i < size && at + i < bytes.size(); ++i) {
        const int shift = 8 * (bigEndian ? size - 1 - i : i);
        bytes[at + i] = char((value >> shift) & 0xFF);
    }
    return bytes;
}

const uint64_t kFieldValues[] = {0, 1, 0x7FFFFFFF, 0xFFFFFFFF};

// Header fields of each format, found by their markers: {name, offset from the marker, size, big endian}.
struct Field {
    const char* name;
    qsizetype offset;
    int size;
    bool bigEndian;
    bool rateOrChannels; // a WAV's own rate or channel count: out of bounds is refused
};

void addFields(std::vector<Mutant>& out, const QString& format, const QByteArray& bytes, const QByteArray& marker,
               std::initializer_list<Field> fields)
{
    const qsizetype base = bytes.indexOf(marker);
    if (base < 0)
        return;
    for (const Field& f : fields)
        for (uint64_t v : kFieldValues)
            out.push_back({QString("%1 %2=%3").arg(format, f.name).arg(v, 0, 16), withField(bytes, base + f.offset, v, f.size, f.bigEndian),
                           f.rateOrChannels && (v == 0 || v >= 0x7FFFFFFF || (v == 1 && QString(f.name) == "rate"))});
}

// A float file's 0.5 tone with 20 ms of `bad` at 0.5 s.
media::Signal floatBurst(double bad)
{
    return [=](int64_t i, int) {
        if (i >= 22050 && i < 22050 + 882)
            return i % 2 ? bad : -bad;
        return 0.5 * std::sin(2 * M_PI * 440.0 * double(i) / 44100);
    };
}

} // namespace

class Corpus : public OnNullDevice
{
protected:
    // One second of each format: "wavf" is the float WAV.
    std::map<QString, QByteArray> baseMedia()
    {
        const QString source = wav("s.wav", 1.0, 44100);
        std::map<QString, QByteArray> base = {
            {"wav", readAll(source)},
            {"wavf", readAll(media::writeWav(path("f.wav"), 44100, 2, 32, 44100, media::sine(440, 44100)))},
            {"mp3", readAll(media::lame(source, path("s.mp3")))},
            {"ogg", readAll(media::transcode(source, path("s.ogg"), {"-c:a", "libvorbis"}))},
            {"wma", readAll(media::transcode(source, path("s.wma"), {"-c:a", "wmav2"}))},
        };
        for (const auto& [format, bytes] : base)
            EXPECT_GT(bytes.size(), 1000) << format.toStdString();
        return base;
    }

    // Loads `bytes` as a file; a loaded one is played at half volume from the start for `ms`,
    // then from its middle. Half volume leaves the decoded samples' few dB over full scale below
    // the output's own clamp, so a sample the decoder let through shows as a full-scale peak.
    // Returns false when the load refused it.
    bool loadAndPlay(const QByteArray& bytes, const QString& name, int ms)
    {
        const QString file = path(name);
        QFile out(file);
        EXPECT_TRUE(out.open(QIODevice::WriteOnly));
        out.write(bytes);
        out.close();
        QElapsedTimer t;
        t.start();
        canal.LoadFile(file);
        if (canal.Stream == 0)
            return false;
        // No more time than a file of this size can hold at the lowest real bit rate.
        EXPECT_LE(canal.GetLength(), QFileInfo(file).size() * 1000 / 250 + 1);
        std::vector<float> rms, peaks;
        audio::takeOutputLevels(canal.Device, rms, &peaks);
        canal.VolumeCache = 50;
        canal.SetPosition(0);
        canal.Play();
        waitFor([&] { return t.elapsed() > ms; });
        canal.SetPosition(int32_t(canal.GetLength() / 2));
        waitFor([&] { return t.elapsed() > 2 * ms; });
        canal.Stop();
        EXPECT_LT(t.elapsed(), 5000) << "load, play and seek took " << t.elapsed() << " ms";
        waitFor([&] { return t.elapsed() > 2 * ms + 20; }); // the last period reaches the meter
        audio::takeOutputLevels(canal.Device, rms, &peaks);
        float loudest = 0;
        for (float peak : peaks)
            if (!(peak <= loudest)) // NaN too
                loudest = peak;
        EXPECT_LT(loudest, 1.0f) << "peak at the output";
        loudest_ = std::max(loudest_, loudest);
        return true;
    }

    // The campaign's figures, for the log.
    void report(int files, int played) const
    {
        std::printf("%d files: %d refused, %d played; loudest output peak %.1f dBFS at half volume\n", files,
                    files - played, played, 20 * std::log10(std::max(loudest_, 1e-6f)));
    }

    float loudest_ = 0;
};

TEST_F(Corpus, CorruptFilesAreRefusedOrPlayed)
{
    std::map<QString, QByteArray> base = baseMedia();

    std::vector<Mutant> corpus;
    addFields(corpus, "wav", base["wav"], "fmt ",
              {{"channels", 10, 2, false, true}, {"rate", 12, 4, false, true}, {"byte rate", 16, 4, false, false},
               {"block align", 20, 2, false, false}, {"bits", 22, 2, false, false}});
    addFields(corpus, "wav", base["wav"], "data", {{"data size", 4, 4, false, false}});
    addFields(corpus, "mp3", base["mp3"], "Info", {{"frames", 8, 4, true, false}, {"bytes", 12, 4, true, false}});
    addFields(corpus, "ogg", base["ogg"], "\x01vorbis", {{"channels", 11, 1, false, false}, {"rate", 12, 4, false, false}});
    // The ASF file properties object: play and send duration, preroll (100 ns and ms units).
    addFields(corpus, "wma", base["wma"], QByteArray::fromHex("a1dcab8c47a9cf118ee400c00c205365"),
              {{"play duration", 64, 8, false, false}, {"send duration", 72, 8, false, false}, {"preroll", 80, 8, false, false}});
    std::mt19937 random(11);
    for (const auto& [format, bytes] : base) {
        for (double part : {0.02, 0.35, 0.7})
            corpus.push_back({QString("%1 cut at %2").arg(format).arg(part), bytes.left(qsizetype(bytes.size() * part))});
        for (int n = 0; n < 3; ++n) {
            QByteArray flipped = bytes;
            for (int i = 0; i < 12; ++i)
                flipped[qsizetype(random() % uint32_t(flipped.size()))] ^= char(1 << (random() % 8));
            corpus.push_back({QString("%1 flipped %2").arg(format).arg(n), flipped});
        }
    }
    for (double bad : {std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity(), 1e38, 1e-40})
        corpus.push_back({QString("wav float %1").arg(bad),
                          readAll(media::writeWav(path("burst.wav"), 44100, 2, 32, 44100, floatBurst(bad)))});
    corpus.push_back({"wav+mp3", base["wav"] + base["mp3"]});
    corpus.push_back({"mp3+wav", base["mp3"] + base["wav"]});
    corpus.push_back({"ogg+mp3", base["ogg"] + base["mp3"]});
    corpus.push_back({"mp3+ogg", base["mp3"] + base["ogg"]});

    int played = 0;
    for (size_t i = 0; i < corpus.size(); ++i) {
        const Mutant& m = corpus[i];
        SCOPED_TRACE(m.name.toStdString());
        const bool loaded = loadAndPlay(m.bytes, QString("m%1.%2").arg(i).arg(m.name.left(3)), 150);
        if (m.refused) {
            EXPECT_FALSE(loaded);
        }
        played += loaded;
    }
    EXPECT_GT(played, int(corpus.size()) / 2);
    report(int(corpus.size()), played);
    // Nothing sized a buffer from a corrupt field: the whole corpus stays within ordinary memory.
    QFile status("/proc/self/status");
    ASSERT_TRUE(status.open(QIODevice::ReadOnly));
    const QByteArray text = status.readAll();
    const qsizetype at = text.indexOf("VmHWM:");
    EXPECT_LT(text.mid(at + 6).trimmed().split(' ').value(0).toLongLong(), 1024 * 1024) << "peak kB";
}

// Random damage from a fixed seed, a few hundred files: bits flipped, runs of bytes overwritten,
// ranges cut out or repeated, files cut short. Every file must be refused or play and seek
// without a value at full scale.
TEST_F(Corpus, MutatedFilesAreRefusedOrPlayed)
{
    const std::map<QString, QByteArray> base = baseMedia();
    std::mt19937 random(20261211);
    auto below = [&](qsizetype n) { return qsizetype(random() % uint32_t(std::max<qsizetype>(1, n))); };
    constexpr int kPerFormat = 50;
    int played = 0, files = 0;
    for (const auto& [format, bytes] : base) {
        for (int n = 0; n < kPerFormat; ++n, ++files) {
            QByteArray m = bytes;
            const int kind = int(random() % 5);
            const int times = 1 + int(random() % 24);
            for (int k = 0; k < times && kind < 2 && !m.isEmpty(); ++k) {
                if (kind == 0)
                    m[below(m.size())] ^= char(1 << (random() % 8));
                else
                    m[below(m.size())] = char(random());
            }
            const qsizetype at = below(m.size()), span = below(std::min<qsizetype>(4096, m.size() - at));
            if (kind == 2)
                m.remove(at, span);
            else if (kind == 3)
                m.insert(at, m.mid(at, span));
            else if (kind == 4)
                m.truncate(at);
            SCOPED_TRACE(QString("%1 mutant %2, kind %3").arg(format).arg(n).arg(kind).toStdString());
            played += loadAndPlay(m, QString("r%1.%2").arg(files).arg(format.left(3)), 60);
        }
    }
    EXPECT_GT(played, files / 2);
    report(files, played);
}

TEST(CorpusInAChild, CorruptFiles) { runOnNullDevice("CorruptFilesAreRefusedOrPlayed", "Corpus"); }
TEST(CorpusInAChild, MutatedFiles) { runOnNullDevice("MutatedFilesAreRefusedOrPlayed", "Corpus"); }
