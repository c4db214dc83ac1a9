// The outputs the settings file remembers by name, against the outputs the server has at start:
// a name that is there wins over its number, a name that is not keeps its channels waiting.
#include "sound_fixture.h"

#include "support/harness.h"

#include "audio/engine.h"

#include <QElapsedTimer>
#include <QFile>
#include <QThread>

using namespace soundtest;

namespace {

struct Heard {
    std::vector<float> radio, cue;
};

// Plays `file` on `channel` while both outputs are recorded, until `expected` has heard most of
// a second of it.
Heard play(TCorvoBass& channel, const QString& file, const QString& expected)
{
    test::Recording radio("radio"), cue("cue");
    radio.waitFor(50);
    cue.waitFor(50);
    channel.LoadFile(file);
    channel.Play();
    EXPECT_TRUE(waitForSound(expected == "radio" ? radio : cue, 1500));
    channel.Stop();
    return {radio.stop(), cue.stop()};
}

// The real window started over a settings file that holds only the devices and their names.
struct Started {
    explicit Started(const QByteArray& settings)
    {
        h.writeDataFile("VOLTARIA4.INI", settings);
        w = &h.create();
        h.show();
    }
    test::Harness h{test::Harness::RealOutputs{}};
    Tform_mixer* w = nullptr;
};

QStringList writtenLines(const test::Harness& h)
{
    QFile file(h.dataFile("VOLTARIA4.INI"));
    file.open(QIODevice::ReadOnly);
    return QString::fromUtf8(file.readAll()).split("\r\n", Qt::SkipEmptyParts);
}

} // namespace

// The headphones were number 2 and the speakers number 3 when the file was written; since then a
// card went away and the numbers moved. The names still send the decks to "Radio" and the cue to
// "Cue", and the file is written back with the numbers they have now.
TEST_F(SoundTest, RememberedNameThatIsPresentWinsOverItsNumber)
{
    const QString file = tuneFile(3.0);
    Started s("DEVICE_TRANSMISSAO=3\r\nDEVICE_CUE=2\r\nPLACA_MUSICAS=Radio\r\nPLACA_CUE=Cue\r\n");
    Tform_mixer& w = *s.w;
    test::Harness& h = s.h;
    EXPECT_EQ(w.device_transmissao, 2);
    EXPECT_EQ(w.device_cue, 3);
    for (TCorvoBass* deck : {w.canal_a, w.canal_b, w.canal_atalho})
        EXPECT_EQ(deck->Device, 2);

    const Heard deck = play(*w.canal_a, file, "radio");
    EXPECT_GE(matchingMs(deck.radio), 200);
    EXPECT_LT(peak(deck.cue), 1e-4);
    const Heard preview = play(*w.canal_00, file, "cue");
    EXPECT_GE(matchingMs(preview.cue), 200);
    EXPECT_LT(peak(preview.radio), 1e-4);

    w.close();
    const QStringList lines = writtenLines(h);
    EXPECT_TRUE(lines.contains("DEVICE_TRANSMISSAO=2"));
    EXPECT_TRUE(lines.contains("DEVICE_CUE=3"));
    EXPECT_EQ(lines.mid(30, 2), (QStringList{"PLACA_MUSICAS=Radio", "PLACA_CUE=Cue"}));
    EXPECT_EQ(h.dialogs.texts(), QStringList{"Deseja Sair do Arvesto Voltaria ??"});
}

// The USB headphones are not plugged in at start and number 3 is now "Cue", a card the operator
// never chose for pre-listening: the preview waits on the silent clock (its time goes on) instead
// of sounding anywhere, and is heard on the headphones as soon as they appear.
TEST_F(SoundTest, RememberedNameThatIsAbsentWaitsForItsOutput)
{
    const QString file = tuneFile(30.0);
    Started s("DEVICE_TRANSMISSAO=2\r\nDEVICE_CUE=3\r\nPLACA_MUSICAS=Radio\r\nPLACA_CUE=Fones USB\r\n");
    Tform_mixer& w = *s.w;
    test::Harness& h = s.h;
    const int awaited = w.device_cue;
    EXPECT_EQ(awaited, 5); // after the null device
    EXPECT_EQ(w.canal_00->DeviceName(w.device_cue), "Fones USB");
    EXPECT_EQ(w.canal_00->Device, w.device_cue);
    EXPECT_FALSE(audio::deviceOnline(awaited));

    test::Recording radio("radio"), cue("cue");
    w.canal_00->LoadFile(file);
    w.canal_00->Play();
    QElapsedTimer clock;
    clock.start();
    QThread::msleep(1000);
    EXPECT_GT(w.canal_00->GetPosition(), clock.elapsed() * 7 / 10);
    EXPECT_LT(peak(radio.stop()), 1e-4);
    EXPECT_LT(peak(cue.stop()), 1e-4);

    ASSERT_TRUE(server.loadOutput("fones", "Fones USB"));
    test::Recording headphones("fones");
    EXPECT_TRUE(waitUntil([&] { return audio::deviceOnline(awaited); }, 5000));
    EXPECT_TRUE(waitForSound(headphones, 500));
    EXPECT_GE(matchingMs(headphones.stop()), 100);
    w.canal_00->Stop();

    w.close();
    EXPECT_EQ(writtenLines(h).mid(30, 2), (QStringList{"PLACA_MUSICAS=Radio", "PLACA_CUE=Fones USB"}));
    EXPECT_TRUE(server.unloadOutput("fones"));
    EXPECT_EQ(h.dialogs.texts(), QStringList{"Deseja Sair do Arvesto Voltaria ??"});
}
