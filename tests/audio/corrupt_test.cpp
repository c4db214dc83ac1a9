// A generated corpus of damaged files: header fields set to 0, 1, 0x7FFFFFFF and 0xFFFFFFFF,
// truncations, flipped bytes and joined files. Each is loaded, played and sought on the null
// device; it must be refused or played as far as it decodes, never crash, hang or take huge
// memory. Runs in a child process with a deadline.
#include "null_device.h"

#include <QFile>
#include <QFileInfo>
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

} // namespace

TEST_F(OnNullDevice, CorruptFilesAreRefusedOrPlayed)
{
    const QString source = wav("s.wav", 1.0, 44100);
    std::map<QString, QByteArray> base = {
        {"wav", readAll(source)},
        {"mp3", readAll(media::lame(source, path("s.mp3")))},
        {"ogg", readAll(media::transcode(source, path("s.ogg"), {"-c:a", "libvorbis"}))},
        {"wma", readAll(media::transcode(source, path("s.wma"), {"-c:a", "wmav2"}))},
    };
    for (const auto& [format, bytes] : base)
        ASSERT_GT(bytes.size(), 1000) << format.toStdString();

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
    corpus.push_back({"wav+mp3", base["wav"] + base["mp3"]});
    corpus.push_back({"mp3+wav", base["mp3"] + base["wav"]});
    corpus.push_back({"ogg+mp3", base["ogg"] + base["mp3"]});
    corpus.push_back({"mp3+ogg", base["mp3"] + base["ogg"]});

    int played = 0;
    for (size_t i = 0; i < corpus.size(); ++i) {
        const Mutant& m = corpus[i];
        SCOPED_TRACE(m.name.toStdString());
        const QString file = path(QString("m%1.%2").arg(i).arg(m.name.left(3)));
        QFile out(file);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly));
        out.write(m.bytes);
        out.close();
        QElapsedTimer t;
        t.start();
        canal.LoadFile(file);
        if (m.refused) {
            EXPECT_EQ(canal.Stream, 0u);
        }
        if (canal.Stream == 0)
            continue;
        ++played;
        // No more time than a file of this size can hold at the lowest real bit rate.
        EXPECT_LE(canal.GetLength(), QFileInfo(file).size() * 1000 / 250 + 1);
        canal.SetPosition(0);
        canal.Play();
        waitFor([&] { return t.elapsed() > 150; });
        canal.SetPosition(int32_t(canal.GetLength() / 2));
        waitFor([&] { return t.elapsed() > 300; });
        canal.Stop();
        EXPECT_LT(t.elapsed(), 5000) << "load, play and seek took " << t.elapsed() << " ms";
    }
    EXPECT_GT(played, int(corpus.size()) / 2);
    // Nothing sized a buffer from a corrupt field: the whole corpus stays within ordinary memory.
    QFile status("/proc/self/status");
    ASSERT_TRUE(status.open(QIODevice::ReadOnly));
    const QByteArray text = status.readAll();
    const qsizetype at = text.indexOf("VmHWM:");
    EXPECT_LT(text.mid(at + 6).trimmed().split(' ').value(0).toLongLong(), 1024 * 1024) << "peak kB";
}

TEST(Corpus, CorruptFilesInAChild) { runOnNullDevice("CorruptFilesAreRefusedOrPlayed"); }
