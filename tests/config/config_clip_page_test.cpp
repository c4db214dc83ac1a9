// The configuration dialog's clip page: the boxes as opened, browse, clear, test, and the boxes
// stored by OK.
#include "audio/media.h"
#include "support/harness.h"

#include "audio/TCorvoBass.h"
#include "config/uform_config.h"

#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <gtest/gtest.h>

namespace {

const QString kFilter = "Arquivos Wav (*.wav);;Arquivos Mp3 (*.mp3);;Todos Arquivos de Áudio (*.mp3 *.wav *.mpg)";

class ClipPageTest : public ::testing::Test
{
public:
    ClipPageTest()
    {
        h.create();
        h.show();
    }

    Tform_mixer& w() { return *h.window; }

    QPointer<Tform_config> open()
    {
        QPointer<Tform_config> dialog = new Tform_config(w());
        dialog->show();
        QApplication::processEvents();
        h.dialogs.clear();
        return dialog;
    }

    // A tone in a folder whose name has letters of both cases, as a chooser returns it.
    QString tone(const QString& name, int ms = 3000)
    {
        QDir(h.dataDir.path()).mkpath("Clips");
        return media::writeWav(h.dataFile("Clips/" + name), 44100, 2, 16, int64_t(ms) * 44100 / 1000,
                               media::sine(660, 44100, 0.3));
    }

    // OK, and the window takes the keys again as it does after the modal dialog.
    void ok(Tform_config& dialog)
    {
        dialog.BitBtn1->click();
        h.show();
    }

    QByteArray clipsFile()
    {
        QFile file(h.dataFile("ATALHOS.INI"));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(none)");
    }

    test::Harness h;
};

} // namespace

// Each box shows its clip as the table holds it, read-only and drawn in upper case; the test
// button is enabled exactly when the text is not empty, blanks counting as text.
TEST_F(ClipPageTest, BoxesShowTheTableWithTheirTestButtons)
{
    w().atalhos = {"/Clips/One.wav", "", "  ", "/clips/ação.mp3"};
    QPointer<Tform_config> dialog = open();
    const bool enabled[10] = {true, false, true, true};
    for (int clip = 0; clip < 10; ++clip) {
        SCOPED_TRACE(clip + 1);
        const Tform_config::ClipRow& row = dialog->rows[size_t(clip)];
        EXPECT_EQ(row.path->text(), w().atalhos[size_t(clip)]);
        EXPECT_TRUE(row.path->isReadOnly());
        EXPECT_EQ(row.path->font().capitalization(), QFont::AllUppercase);
        EXPECT_EQ(row.test->isEnabled(), enabled[clip]);
        EXPECT_EQ(row.test->text(), QStringLiteral("F%1").arg(clip + 2));
    }
    // The names the rows are known by, clip 10's breaking the sequence.
    EXPECT_EQ(dialog->rows[0].test->objectName(), "BitBtn3");
    EXPECT_EQ(dialog->rows[0].browse->objectName(), "BitBtn12");
    EXPECT_EQ(dialog->rows[0].clear->objectName(), "BitBtn21");
    EXPECT_EQ(dialog->rows[9].test->objectName(), "BitBtn30");
    EXPECT_EQ(dialog->rows[9].browse->objectName(), "BitBtn31");
    EXPECT_EQ(dialog->rows[9].clear->objectName(), "BitBtn32");
    EXPECT_EQ(dialog->rows[9].path->objectName(), "Edit10");
}

// Browse offers the audio filters at the row's file; an accepted file takes the box with its
// letter case kept, a cancelled choice keeps the box and its test button as they were.
TEST_F(ClipPageTest, BrowseTakesTheChosenFileAndCancelKeepsTheRow)
{
    const QString chosen = tone("Vinheta Rádio.wav");
    w().atalhos[1] = "/clips/earlier.wav";
    const struct {
        const char* name;
        int clip;
        QString answer; // empty: the chooser is cancelled
        QString box;
        bool testEnabled;
    } cases[] = {
        {"empty row, cancelled", 1, "", "", false},
        {"filled row, cancelled", 2, "", "/clips/earlier.wav", true},
        {"empty row, chosen", 1, chosen, chosen, true},
        {"filled row, chosen", 2, chosen, chosen, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        QPointer<Tform_config> dialog = open();
        const QString before = dialog->rows[size_t(c.clip - 1)].path->text();
        if (!c.answer.isEmpty())
            h.dialogs.fileAnswers = {c.answer};
        dialog->rows[size_t(c.clip - 1)].browse->click();
        ASSERT_EQ(h.dialogs.shown.size(), 1);
        EXPECT_EQ(h.dialogs.shown[0].kind, "open");
        EXPECT_EQ(h.dialogs.shown[0].text, kFilter);
        EXPECT_EQ(h.dialogs.shown[0].folder, before);
        EXPECT_EQ(dialog->rows[size_t(c.clip - 1)].path->text(), c.box);
        EXPECT_EQ(dialog->arquivo_escolhido, c.box);
        EXPECT_EQ(dialog->rows[size_t(c.clip - 1)].test->isEnabled(), c.testEnabled);
        dialog->BitBtn2->click();
    }
}

// Clear empties the box and disables its test button; a cleared row stays silent.
TEST_F(ClipPageTest, ClearedRowHasNoTest)
{
    const QString four = tone("four.wav");
    w().atalhos[3] = four;
    QPointer<Tform_config> dialog = open();
    dialog->rows[3].clear->click();
    EXPECT_EQ(dialog->rows[3].path->text(), "");
    EXPECT_FALSE(dialog->rows[3].test->isEnabled());
    QTest::mouseClick(dialog->rows[3].test, Qt::LeftButton);
    EXPECT_FALSE(w().canal_atalho->Playing);
    EXPECT_EQ(w().atalhos[3], four) << "nothing is stored before OK";
}

// The test button plays the box's file on the clip channel while the dialog stays open, with the
// keys' play/stop rule and messages, before anything is stored.
TEST_F(ClipPageTest, TestButtonPlaysTheBoxWhileTheDialogStaysOpen)
{
    const QString chosen = tone("Chamada.wav");
    QPointer<Tform_config> dialog = open();
    h.dialogs.fileAnswers = {chosen};
    dialog->rows[4].browse->click();
    h.dialogs.clear();
    dialog->rows[4].test->click();
    EXPECT_TRUE(w().canal_atalho->Playing);
    EXPECT_EQ(w().canal_atalho->FilePath, chosen);
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(w().atalhos[4], "");
    h.render(300);
    dialog->rows[4].test->click();
    EXPECT_FALSE(w().canal_atalho->Playing);

    dialog->rows[6].path->setText(h.dataFile("gone.wav"));
    dialog->rows[6].test->setEnabled(true);
    dialog->rows[6].test->click();
    EXPECT_EQ(h.dialogs.texts(), QStringList{"Arquivo ->" + h.dataFile("gone.wav") + " - Não Localizado !!"});
    EXPECT_TRUE(dialog->isVisible());
}

// OK stores the ten boxes: only clip 10 chosen writes ten lines with the path as the file system
// spells it, and F11 plays it at once; every row cleared deletes the file and silences the keys.
TEST_F(ClipPageTest, OkStoresTheBoxes)
{
    const QString ten = tone("Dez.WAV");
    w().atalhos[0] = "/clips/earlier.wav";
    h.writeDataFile("ATALHOS.INI", "/clips/earlier.wav\r\n");

    QPointer<Tform_config> dialog = open();
    dialog->rows[0].clear->click();
    h.dialogs.fileAnswers = {ten};
    dialog->rows[9].browse->click();
    ok(*dialog);
    EXPECT_EQ(clipsFile(), QByteArray("\r\n").repeated(9) + ten.toUtf8() + "\r\n");
    h.dialogs.clear();
    h.key(Qt::Key_F11);
    EXPECT_TRUE(w().canal_atalho->Playing);
    EXPECT_EQ(h.dialogs.texts(), QStringList{});
    h.key(Qt::Key_F11);

    dialog = open();
    dialog->rows[9].clear->click();
    ok(*dialog);
    EXPECT_FALSE(QFileInfo::exists(h.dataFile("ATALHOS.INI")));
    for (int key = Qt::Key_F2; key <= Qt::Key_F11; ++key)
        h.key(key);
    EXPECT_FALSE(w().canal_atalho->Playing);
    EXPECT_EQ(h.dialogs.texts(), QStringList{});
}

// A clips file that cannot be written is reported; the dialog still closes and the keys use the
// new paths.
TEST_F(ClipPageTest, UnwritableClipsFileIsReportedAndTheDialogCloses)
{
    const QString one = tone("one.wav");
    ASSERT_TRUE(QDir(h.dataDir.path()).mkdir("ATALHOS.INI"));
    QPointer<Tform_config> dialog = open();
    h.dialogs.fileAnswers = {one};
    dialog->rows[0].browse->click();
    h.dialogs.clear();
    ok(*dialog);
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(dialog.isNull());
    EXPECT_EQ(h.dialogs.texts(), QStringList{"Erro ao gravar arquivo de atalhos"});
    EXPECT_EQ(w().atalhos[0], one);
}
