// Where the library preview is heard: on the cue output while the cue button is on or while the
// search results are shown, beside the decks on the music output otherwise. Each output is
// recorded while the real window plays, so a preview that leaks onto the other output, or a
// deck that follows the preview's device, spoils the tune heard there.
#include "sound_fixture.h"

#include "support/harness.h"

#include "config/uform_config.h"
#include "library/library_file.h"
#include "widgets/StringGrid.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

using namespace soundtest;

namespace {

struct Heard {
    std::vector<float> radio, cue;
};

// The real window with the decks on "Radio" and the cue on "Cue", and the tune in its library.
struct PreviewWindow {
    explicit PreviewWindow(const QString& tune)
    {
        h.writeDataFile("VOLTARIA4.INI", "DEVICE_TRANSMISSAO=2\r\nDEVICE_CUE=3\r\nPLACA_MUSICAS=Radio\r\nPLACA_CUE=Cue\r\n");
        const QFileInfo file(tune);
        h.writeDataFile("lista.upd", library::captureLine(file.path() + "/", file.fileName()).toUtf8());
        w = &h.create();
        h.show();
    }

    // Starts the preview with the grid's play button, as the operator does, and records both
    // outputs until `expected` has heard a second of it.
    Heard preview(const QString& expected)
    {
        test::Recording radio("radio"), cue("cue");
        radio.waitFor(50);
        cue.waitFor(50);
        w->bitbtn21->click();
        EXPECT_TRUE(w->canal_00->Playing) << h.dialogs.texts().join(" / ").toStdString();
        EXPECT_TRUE(waitForSound(expected == "radio" ? radio : cue, 1000));
        w->bitbtn23->click();
        return {radio.stop(), cue.stop()};
    }

    test::Harness h{test::Harness::RealOutputs{}};
    Tform_mixer* w = nullptr;
};

} // namespace

TEST_F(SoundTest, PreviewWithCueOnIsHeardOnTheCueOutputOnlyWhileTheDeckPlaysOnTheMusicOutput)
{
    const QString file = tuneFile(20.0);
    PreviewWindow p(file);
    Tform_mixer& w = *p.w;
    ASSERT_EQ(w.device_transmissao, 2);
    ASSERT_EQ(w.device_cue, 3);

    w.SRColorButton1->click();
    ASSERT_TRUE(w.cue_ligado);
    w.canal_a->LoadFile(file);
    w.canal_a->Play();
    const Heard heard = p.preview("cue");
    w.canal_a->Stop();
    // The deck alone on the music output, the preview alone on the cue output: either one heard
    // on the other's output would add to the tune there and spoil every block.
    EXPECT_GE(matchingMs(heard.radio), 500);
    EXPECT_GE(matchingMs(heard.cue), 500);
    EXPECT_TRUE(p.h.dialogs.texts().isEmpty()) << p.h.dialogs.texts().join(" / ").toStdString();
}

// The outputs swapped in the configuration dialog and the exit refused: the new numbers wait for
// the next start, so the deck plays on on "Radio" and the preview with the cue on is still heard
// on "Cue" alone. Following the new numbers put the pre-listening on air.
TEST_F(SoundTest, AfterASwapOfOutputsWithTheExitRefusedThePreviewStaysOnTheCueOutput)
{
    const QString file = tuneFile(20.0);
    PreviewWindow p(file);
    Tform_mixer& w = *p.w;
    w.SRColorButton1->click();
    w.canal_a->LoadFile(file);
    w.canal_a->Play();
    auto* dialog = new Tform_config(w);
    dialog->show();
    QApplication::processEvents();
    dialog->ComboBox1->setCurrentIndex(2); // "Cue", device 3
    dialog->ComboBox2->setCurrentIndex(1); // "Radio", device 2
    dialog->ComboBox1Click();
    p.h.dialogs.confirmAnswers = {false};
    dialog->BitBtn1->click();
    ASSERT_EQ(w.device_transmissao, 3);
    ASSERT_EQ(w.device_cue, 2);
    ASSERT_TRUE(w.canal_a->Playing);

    const Heard heard = p.preview("cue");
    w.canal_a->Stop();
    EXPECT_GE(matchingMs(heard.radio), 500);
    EXPECT_GE(matchingMs(heard.cue), 500);
    EXPECT_EQ(p.h.dialogs.texts(), (QStringList{"O Voltaria precisa ser Fechado para ser Atualizado",
                                                "Deseja Sair do Arvesto Voltaria ??"}));
}

TEST_F(SoundTest, PreviewWithCueOffIsHeardBesideTheDecksAndSearchResultsOnTheCueOutput)
{
    const QString file = tuneFile(20.0);
    PreviewWindow p(file);
    Tform_mixer& w = *p.w;
    ASSERT_FALSE(w.cue_ligado);

    const Heard library = p.preview("radio");
    EXPECT_GE(matchingMs(library.radio), 500);
    EXPECT_LT(peak(library.cue), 1e-4);

    // The operator searches for the tune: its result is previewed on the cue output even with
    // the cue button off.
    w.StringGrid1->setFocus(Qt::MouseFocusReason);
    w.edit1->setFocus(Qt::MouseFocusReason);
    QTest::keyClicks(w.edit1, "tune");
    QTest::keyClick(w.edit1, Qt::Key_Return);
    ASSERT_TRUE(w.StringGrid2->isVisible());
    ASSERT_EQ(w.StringGrid2->Cells(2, w.StringGrid2->Row()), file);
    const Heard search = p.preview("cue");
    EXPECT_GE(matchingMs(search.cue), 500);
    EXPECT_LT(peak(search.radio), 1e-4);
    EXPECT_TRUE(p.h.dialogs.texts().isEmpty()) << p.h.dialogs.texts().join(" / ").toStdString();
}
