// The clips and the configuration dialog against the test sound server's outputs "Radio" and
// "Cue". Runs in a copy of the test program of its own, whose engine plays on real outputs.
#include "own_copy.h"
#include "sound/sound_fixture.h"
#include "support/harness.h"

#include "config/uform_config.h"

#include <QComboBox>
#include <QPointer>
#include <QPushButton>

namespace {

const char* const kCopy = "VOLTARIA_CONFIG_SOUND_COPY";

// The amplitude of the `hz` tone in the left channel of the last `frames` of a recording.
double toneLevel(const std::vector<float>& heard, double hz, int64_t frames)
{
    const int64_t end = int64_t(heard.size() / 2), from = std::max<int64_t>(0, end - frames);
    double re = 0, im = 0;
    for (int64_t i = from; i < end; ++i) {
        const double phase = 2 * M_PI * hz * double(i - from) / soundtest::kRate;
        re += heard[size_t(2 * i)] * std::cos(phase);
        im += heard[size_t(2 * i)] * std::sin(phase);
    }
    return 2 * std::hypot(re, im) / double(end - from);
}

QStringList entries(const QComboBox* list)
{
    QStringList all;
    for (int i = 0; i < list->count(); ++i)
        all << list->itemText(i);
    return all;
}

} // namespace

// Runs only in the copy the test below starts.
TEST(ConfigSoundCopy, Run)
{
    if (qEnvironmentVariable(kCopy).isEmpty())
        GTEST_SKIP() << "started by the sound server test only";
    test::SoundServer& server = test::SoundServer::shared();
    ASSERT_TRUE(server.running()) << server.error().toStdString();
    test::Harness h{test::Harness::RealOutputs{}};
    const QString track = media::writeWav(h.dataFile("deck.wav"), 44100, 2, 16, 8 * 44100, media::sine(440, 44100, 0.3));
    const QString clip = media::writeWav(h.dataFile("clip.wav"), 44100, 2, 16, 8 * 44100, media::sine(1000, 44100, 0.3));
    h.writeDataFile("VOLTARIA4.INI", "PLACA_MUSICAS=Radio\r\nPLACA_CUE=Cue\r\n");
    h.writeDataFile("ATALHOS.INI", (clip + "\r\n").toUtf8());
    Tform_mixer& w = h.create();
    h.show();

    // The dialog lists the server's outputs by name, with the remembered ones selected.
    QPointer<Tform_config> dialog = new Tform_config(w);
    dialog->show();
    QApplication::processEvents();
    for (QComboBox* list : {dialog->ComboBox1, dialog->ComboBox2}) {
        EXPECT_TRUE(entries(list).contains("Radio")) << entries(list).join(", ").toStdString();
        EXPECT_TRUE(entries(list).contains("Cue"));
    }
    EXPECT_EQ(dialog->ComboBox1->currentText(), "Radio");
    EXPECT_EQ(dialog->ComboBox2->currentText(), "Cue");
    dialog->BitBtn2->click();
    h.show();

    // F2 over deck A: both are heard on "Radio", nothing on "Cue".
    test::Recording radio("radio"), cue("cue");
    radio.waitFor(50);
    cue.waitFor(50);
    w.canal_a->LoadFile(track);
    w.canal_a->Play();
    h.key(Qt::Key_F2);
    ASSERT_TRUE(w.canal_atalho->Playing);
    EXPECT_TRUE(soundtest::waitForSound(radio, 1500));
    const std::vector<float> onRadio = radio.stop(), onCue = cue.stop();
    EXPECT_GT(toneLevel(onRadio, 440, soundtest::kRate / 2), 0.05) << "deck A";
    EXPECT_GT(toneLevel(onRadio, 1000, soundtest::kRate / 2), 0.05) << "the clip";
    EXPECT_LT(soundtest::peak(onCue), 1e-4);
    EXPECT_EQ(h.dialogs.texts(), QStringList{});
}

TEST(ConfigSound, ClipHeardOnRadioBesideDeckAAndTheDialogListsTheOutputs)
{
    test::runOwnCopy("ConfigSoundCopy.Run", kCopy, "1");
}
