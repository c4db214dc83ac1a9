// The device list, a channel routed to the output it names, and an output that goes away while
// it plays, against the test sound server, in real time.
#include "sound_fixture.h"

#include "audio/engine.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QThread>
#include <functional>

using namespace soundtest;

namespace {

// voltaria-probe --devices run with `environment` changes: its standard output and error.
std::pair<QStringList, QString> probeDevices(const QStringList& set, const QStringList& unset = {})
{
    QProcess probe;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const QString& pair : set)
        env.insert(pair.section('=', 0, 0), pair.section('=', 1));
    for (const QString& name : unset)
        env.remove(name);
    probe.setProcessEnvironment(env);
    probe.start(qEnvironmentVariable("VOLTARIA_TEST_BINARY_DIR") + "/../bench/voltaria-probe", {"--devices"});
    if (!probe.waitForFinished(20000)) {
        probe.kill();
        probe.waitForFinished();
        return {{}, "voltaria-probe did not end"};
    }
    return {QString::fromUtf8(probe.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts),
            QString::fromUtf8(probe.readAllStandardError())};
}

} // namespace

// What the operator is offered: the default output, the server's outputs by their descriptions in
// the server's order, the null device last; the probe shows the same list and nothing else.
TEST_F(SoundTest, DeviceListShowsTheServersOutputsByName)
{
    TCorvoBass canal;
    const QStringList expected{"Saída padrão do sistema", "Radio", "Cue", "Sem saída de som"};
    QStringList names;
    for (int number = 1; number <= 4; ++number)
        names << canal.DeviceName(number);
    EXPECT_EQ(names, expected);
    EXPECT_EQ(canal.DeviceName(0), "");
    EXPECT_EQ(canal.DeviceNumber("Cue"), 3);

    const auto [lines, errors] = probeDevices({});
    QStringList json;
    for (int number = 1; number <= 4; ++number)
        json << QString(R"({"name":"%1","number":%2})").arg(expected[number - 1]).arg(number);
    EXPECT_EQ(lines, json);
    EXPECT_EQ(errors, "");
}

// Without a sound server SDL falls back to ALSA, which complains about every card it cannot
// find; none of that reaches the terminal, and the null device is still offered.
TEST_F(SoundTest, NothingIsPrintedWithoutASoundServer)
{
    const auto [lines, errors] =
        probeDevices({"PULSE_SERVER=unix:/nonexistent/native", "XDG_RUNTIME_DIR=" + dir.path()}, {"SDL_AUDIODRIVER"});
    ASSERT_FALSE(lines.isEmpty());
    EXPECT_EQ(lines.last(), QString(R"({"name":"Sem saída de som","number":%1})").arg(lines.size()));
    EXPECT_EQ(errors, "");
}

// A channel on "Cue" is heard on "Cue" exactly as the file holds it while "Radio" stays silent,
// and the other way round.
TEST_F(SoundTest, ChannelIsHeardOnItsOutputOnly)
{
    const QString file = tuneFile(3.0);
    const struct {
        QString output, sink, other;
    } cases[] = {{"Cue", "cue", "radio"}, {"Radio", "radio", "cue"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.output.toStdString());
        TCorvoBass canal;
        canal.OpenDevice(canal.DeviceNumber(c.output));
        ASSERT_TRUE(audio::deviceOnline(canal.Device));
        test::Recording heard(c.sink), elsewhere(c.other);
        ASSERT_TRUE(heard.waitFor(50) && elsewhere.waitFor(50)) << "parec records nothing";
        canal.LoadFile(file);
        canal.Play();
        EXPECT_TRUE(waitForSound(heard, 1500));
        canal.Stop();
        const std::vector<float> there = heard.stop(), notThere = elsewhere.stop();
        EXPECT_GE(matchingMs(there), 200); // the file itself, not only some sound
        EXPECT_GT(notThere.size(), size_t(kRate)); // it was recorded, and heard nothing
        EXPECT_LT(peak(notThere), 1e-4);
    }
    EXPECT_EQ(messages, QStringList{});
}

// An output that goes away while a deck plays (its module unloaded, as a USB card pulled out, or
// the whole server restarted): the deck's time goes on over the silent clock, and the sound comes
// back on that output, found again by its name, when it returns.
TEST_F(SoundTest, OutputThatGoesAwayKeepsTimeAndComesBackByName)
{
    const QString file = tuneFile(30.0);
    const struct {
        const char* what;
        std::function<bool()> away, back;
    } cases[] = {
        {"module unloaded", [this] { return server.unloadOutput("cue"); },
         [this] { return server.loadOutput("cue", "Cue"); }},
        {"server restarted", [this] { return server.stop(); }, [this] { return server.start(); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        TCorvoBass canal;
        canal.OpenDevice(canal.DeviceNumber("Cue"));
        canal.LoadFile(file);
        canal.Play();
        QElapsedTimer clock;
        clock.start();
        QThread::msleep(300);

        ASSERT_TRUE(c.away());
        const int64_t position = canal.GetPosition();
        const qint64 since = clock.elapsed();
        EXPECT_TRUE(waitUntil([&] { return !audio::deviceOnline(canal.Device); }, 3000));
        QThread::msleep(1500);
        // A stalled deck would have kept its position; a slow machine may lag the clock a little.
        EXPECT_GT(canal.GetPosition() - position, (clock.elapsed() - since) * 7 / 10);

        ASSERT_TRUE(c.back());
        const int64_t beforeBack = canal.GetPosition();
        test::Recording heard("cue");
        EXPECT_TRUE(waitUntil([&] { return audio::deviceOnline(canal.Device); }, 5000));
        EXPECT_TRUE(waitForSound(heard, 500));
        EXPECT_GE(matchingMs(heard.stop()), 100);
        EXPECT_GT(canal.GetPosition(), beforeBack); // it goes on from where it was
        EXPECT_TRUE(canal.Playing);
        canal.Stop();
    }
    EXPECT_EQ(messages, QStringList{});
}
