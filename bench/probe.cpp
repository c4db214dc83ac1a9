// voltaria-probe FILE...: one JSON object per line and file, as the channel sees the file.
// voltaria-probe --render OUT.wav FILE [--ms N] [--eq BANDS] [--flanger N] [--echo] [--cut]
//                [--frequency HZ] [--fade MS]
// plays FILE through a channel on the manual backend into a 16-bit stereo WAV, so a person can
// listen to what the channel plays, and prints the levels of the result.
// voltaria-probe --devices: the program's device list, one object per line with its number and
// name, as the configuration dialog will offer it.
#include "audio/TCorvoBass.h"
#include "audio/TThreadedTimer.h"
#include "audio/engine.h"
#include "audio/messages.h"

#include <QCoreApplication>
#include <QDataStream>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <cmath>
#include <cstdio>

namespace {

QString lastMessage;

void printJson(const QJsonObject& o)
{
    std::printf("%s\n", QJsonDocument(o).toJson(QJsonDocument::Compact).constData());
    std::fflush(stdout);
}

QJsonObject probe(TCorvoBass& canal, const QString& file)
{
    lastMessage.clear();
    canal.LoadFile(file);
    audio::StreamInfo info;
    const bool opened = audio::streamInfo(canal.Stream, info);
    QString error;
    if (!QFileInfo::exists(file))
        error = "no such file";
    else if (!lastMessage.isEmpty())
        error = lastMessage;
    else if (!opened)
        error = "not a media file FFmpeg can decode";
    return QJsonObject{{"file", file},
                       {"ok", error.isEmpty()},
                       {"length_ms", qint64(canal.GetLength())},
                       {"frequency", qint64(info.frequency)},
                       {"channels", info.channels},
                       {"eight_bit", info.eightBit || lastMessage.startsWith("16-bit")},
                       {"error", error.isEmpty() ? QJsonValue() : QJsonValue(error)}};
}

bool writeWav(const QString& path, const std::vector<float>& stereo)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly))
        return false;
    QDataStream out(&f);
    out.setByteOrder(QDataStream::LittleEndian);
    const uint32_t bytes = uint32_t(stereo.size() * 2);
    out.writeRawData("RIFF", 4);
    out << uint32_t(36 + bytes);
    out.writeRawData("WAVEfmt ", 8);
    out << uint32_t(16) << uint16_t(1) << uint16_t(2) << uint32_t(audio::kDeviceRate)
        << uint32_t(audio::kDeviceRate * 4) << uint16_t(4) << uint16_t(16);
    out.writeRawData("data", 4);
    out << bytes;
    for (float v : stereo)
        out << int16_t(std::lround(std::clamp(v, -1.0f, 1.0f) * 32767.0f));
    return f.error() == QFile::NoError;
}

double dbfs(double v) { return v > 0 ? 20 * std::log10(v) : -200.0; }

// Levels of the render in 500 ms windows, so the effect of a fade or a gate can be read.
QJsonObject levels(const std::vector<float>& stereo)
{
    double peak = 0, sum = 0;
    QJsonArray windows;
    const size_t window = audio::kDeviceRate / 2;
    double windowSum = 0;
    for (size_t i = 0; i < stereo.size() / 2; ++i) {
        const double l = stereo[2 * i], r = stereo[2 * i + 1];
        peak = std::max({peak, std::fabs(l), std::fabs(r)});
        sum += l * l + r * r;
        windowSum += l * l + r * r;
        if ((i + 1) % window == 0) {
            windows.append(std::round(dbfs(std::sqrt(windowSum / double(2 * window))) * 10) / 10);
            windowSum = 0;
        }
    }
    const double frames = std::max<double>(1, double(stereo.size() / 2));
    return QJsonObject{{"peak_dbfs", std::round(dbfs(peak) * 10) / 10},
                       {"rms_dbfs", std::round(dbfs(std::sqrt(sum / (2 * frames))) * 10) / 10},
                       {"rms_dbfs_per_500ms", windows}};
}

int render(TCorvoBass& canal, const QStringList& args)
{
    const QString out = args.value(0), file = args.value(1);
    if (out.isEmpty() || file.isEmpty())
        return 2;
    auto option = [&](const QString& name) {
        const int i = args.indexOf(name);
        return i >= 0 ? args.value(i + 1) : QString();
    };
    lastMessage.clear();
    canal.LoadFile(file);
    audio::StreamInfo info;
    if (!audio::streamInfo(canal.Stream, info) || !lastMessage.isEmpty()) {
        printJson(probe(canal, file));
        return 1;
    }
    canal.Play();
    if (const QString bands = option("--eq"); !bands.isEmpty()) {
        canal.SetEQ(true);
        const QStringList values = bands.split(',');
        for (int b = 0; b < 10; ++b)
            canal.EQBand(b, int(audio::kEqCentres[b]), values.value(b, "10").toInt());
    }
    if (args.contains("--flanger")) {
        canal.SetFlanger(true);
        canal.FlangerParams(130, 120, option("--flanger").toInt());
    }
    if (args.contains("--echo"))
        canal.SetEcho(true);
    if (args.contains("--cut"))
        canal.SetCut(true);
    if (args.contains("--frequency"))
        canal.setFrequency(option("--frequency").toUInt());
    if (args.contains("--fade"))
        canal.FadeOut(option("--fade").toInt());

    const int total = args.contains("--ms") ? option("--ms").toInt() : int(canal.GetLength()) + 100;
    // Time is rendered in the stepper's own periods so the fade steps as it would on a card.
    std::vector<float> heard;
    for (int done = 0; done < total && canal.Playing;) {
        const int step = std::min<int>(total - done, canal.FadeTimer->Enabled() ? int(canal.FadeTimer->Interval()) : 10);
        audio::renderManual(step, 1, &heard);
        done += step;
        if (canal.FadeTimer->Enabled())
            canal.FadeStep();
        canal.CheckEnd();
    }
    if (!writeWav(out, heard))
        return 1;
    QJsonObject result = probe(canal, file);
    result.insert("rendered", out);
    result.insert("rendered_ms", qint64(heard.size() / 2 * 1000 / audio::kDeviceRate));
    const QJsonObject level = levels(heard);
    for (auto it = level.begin(); it != level.end(); ++it)
        result.insert(it.key(), it.value());
    printJson(result);
    return 0;
}

int devices()
{
    TCorvoBass canal;
    for (int number = 1; !canal.DeviceName(number).isEmpty(); ++number)
        printJson(QJsonObject{{"number", number}, {"name", canal.DeviceName(number)}});
    return 0;
}

const char* const kUsage =
    "usage: voltaria-probe FILE...\n"
    "       voltaria-probe --render OUT.wav FILE [--ms N] [--eq BANDS] [--flanger N] [--echo] [--cut]\n"
    "                      [--frequency HZ] [--fade MS]\n"
    "       voltaria-probe --devices\n"
    "FILE...   one JSON object per line and file, as the channel sees the file\n"
    "--render  plays FILE through a channel into a 16-bit stereo WAV and prints its levels\n"
    "--devices the program's device list, one object per line with its number and name\n";

// An option this tool does not know, as opposed to a file name (which may itself start with "-"
// when it exists).
bool unknownOption(const QString& arg)
{
    return arg.startsWith(u'-') && arg != "--render" && !QFileInfo::exists(arg);
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QString first = app.arguments().value(1);
    if (first == "--help" || first == "-h") {
        std::fputs(kUsage, stdout);
        return 0;
    }
    if (first == "--devices")
        return devices(); // the real outputs, never the manual ones
    audio::useManualBackend();
    audio::setMessageSink([](const QString& text) { lastMessage = text; });
    TCorvoBass canal;
    canal.OpenDevice(1);
    const QStringList args = app.arguments().mid(1);
    if (args.isEmpty() || unknownOption(args.first())) {
        std::fputs(kUsage, stderr);
        return 2;
    }
    if (args.first() == "--render")
        return render(canal, args.mid(1));
    for (const QString& file : args)
        printJson(probe(canal, file));
    return 0;
}
