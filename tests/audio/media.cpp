#include "media.h"

#include "audio/engine.h"
#include "audio/messages.h"

#include <QDataStream>
#include <QFile>
#include <QProcess>
#include <cmath>

namespace media {

QString writeWav(const QString& path, int rate, int channels, int bits, int64_t frames, const Signal& signal)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly))
        return {};
    const int bytesPerSample = bits / 8;
    const uint32_t dataBytes = uint32_t(frames * channels * bytesPerSample);
    QDataStream out(&f);
    out.setByteOrder(QDataStream::LittleEndian);
    out.writeRawData("RIFF", 4);
    out << uint32_t(36 + dataBytes);
    out.writeRawData("WAVEfmt ", 8);
    const uint16_t format = bits == 32 ? 3 : 1; // IEEE float, or integer PCM
    out << uint32_t(16) << format << uint16_t(channels) << uint32_t(rate)
        << uint32_t(rate * channels * bytesPerSample) << uint16_t(channels * bytesPerSample) << uint16_t(bits);
    out.writeRawData("data", 4);
    out << dataBytes;
    for (int64_t i = 0; i < frames; ++i)
        for (int c = 0; c < channels; ++c) {
            if (bits == 32) { // as the signal gives it: NaN, infinity and 1e38 included
                const float sample = float(signal(i, c));
                out.writeRawData(reinterpret_cast<const char*>(&sample), 4);
                continue;
            }
            const double v = std::clamp(signal(i, c), -1.0, 1.0);
            if (bits == 8)
                out << uint8_t(std::lround(v * 127.0 + 128.0));
            else
                out << int16_t(std::lround(v * 32767.0));
        }
    return path;
}

namespace {
QString run(const QString& program, const QStringList& arguments, const QString& output)
{
    QProcess p;
    p.start(program, arguments);
    if (!p.waitForFinished(60000) || p.exitCode() != 0)
        return {};
    return output;
}
} // namespace

QString transcode(const QString& input, const QString& output, const QStringList& arguments)
{
    return run("ffmpeg", QStringList{"-hide_banner", "-loglevel", "error", "-y", "-i", input} + arguments + QStringList{output},
               output);
}

QString lame(const QString& input, const QString& output)
{
    return run("lame", {"--quiet", input, output}, output);
}

QString join(const QString& first, const QString& second, const QString& output)
{
    QFile a(first), b(second), out(output);
    if (first.isEmpty() || second.isEmpty() || !a.open(QIODevice::ReadOnly) || !b.open(QIODevice::ReadOnly)
        || !out.open(QIODevice::WriteOnly))
        return {};
    out.write(a.readAll());
    out.write(b.readAll());
    return output;
}

Signal sine(double hz, int rate, double amplitude)
{
    return [=](int64_t i, int) { return amplitude * std::sin(2 * M_PI * hz * double(i) / rate); };
}

Signal click(int64_t at, double amplitude)
{
    return [=](int64_t i, int) { return i == at ? amplitude : 0.0; };
}

double rms(const std::vector<float>& stereo, size_t from, size_t to, int channel)
{
    double sum = 0;
    to = std::min(to, stereo.size() / 2);
    if (to <= from)
        return 0;
    for (size_t i = from; i < to; ++i)
        sum += double(stereo[2 * i + size_t(channel)]) * stereo[2 * i + size_t(channel)];
    return std::sqrt(sum / double(to - from));
}

int64_t firstAbove(const std::vector<float>& stereo, double threshold, size_t from)
{
    for (size_t i = from; i < stereo.size() / 2; ++i)
        if (std::fabs(stereo[2 * i]) > threshold)
            return int64_t(i);
    return -1;
}

QStringList& shownMessages()
{
    static QStringList messages;
    return messages;
}

QStringList takeMessages()
{
    QStringList m = shownMessages();
    shownMessages().clear();
    return m;
}

void useTestEngine()
{
    audio::useManualBackend();
    audio::setMessageSink([](const QString& text) { shownMessages() << text; });
}

} // namespace media
