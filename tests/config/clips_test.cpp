// The shortcut clips on F2..F11: the table loaded from "ATALHOS.INI" at start-up, the play/stop
// key, its messages, and the table stored by the configuration dialog's OK.
#include "audio/media.h"
#include "support/harness.h"

#include "audio/TCorvoBass.h"
#include "audio/engine.h"
#include "widgets/TrackBar.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <functional>
#include <gtest/gtest.h>

namespace {

using Table = std::array<QString, 10>;

QByteArray readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Ten lines with CR LF ends, as the program writes them.
QByteArray fileOf(const QStringList& lines)
{
    QByteArray bytes;
    for (const QString& line : lines)
        bytes += line.toUtf8() + "\r\n";
    return bytes;
}

class ClipTest : public ::testing::Test
{
public:
    // A tone of the given length in the data folder.
    QString clip(const QString& name, int ms = 2000)
    {
        return media::writeWav(h.dataFile(name), 44100, 2, 16, int64_t(ms) * 44100 / 1000, media::sine(660, 44100, 0.3));
    }

    // A new window over the data folder as it stands; `before` runs between creation and show.
    Tform_mixer& start(const std::function<void(Tform_mixer&)>& before = {})
    {
        h.window.reset();
        Tform_mixer& w = h.create();
        if (before)
            before(w);
        h.show();
        h.dialogs.clear();
        return w;
    }

    // F2 for clip 1 .. F11 for clip 10.
    void press(int clip) { h.key(Qt::Key_F2 + clip - 1); }

    test::Harness h;
};

// Every press of a clip key does nothing: no sound and no box.
void expectKeysSilent(ClipTest& t, Tform_mixer& w)
{
    for (int clip = 1; clip <= 10; ++clip) {
        t.press(clip);
        EXPECT_FALSE(w.canal_atalho->Playing) << "clip " << clip;
    }
    EXPECT_EQ(t.h.dialogs.texts(), QStringList{});
    EXPECT_EQ(t.h.dialogs.beeps, 0);
}

} // namespace

// Line n is clip n as it stands; a shorter file leaves the later clips as they were, and lines
// past the tenth have no clip to go to.
TEST_F(ClipTest, FileLinesFillTheTable)
{
    const Table earlier{"e1", "e2", "e3", "e4", "e5", "e6", "e7", "e8", "e9", "e10"};
    const struct {
        const char* name;
        QByteArray file;
        Table expected;
    } cases[] = {
        {"short file", "  /a b.wav \r\n\r\n/c.mp3\r\n", {"  /a b.wav ", "", "/c.mp3", "e4", "e5", "e6", "e7", "e8", "e9", "e10"}},
        {"twelve lines", fileOf({"1", "2", "3", "4", "5", "6", "7", "8", "9", "10", "11", "12"}),
         {"1", "2", "3", "4", "5", "6", "7", "8", "9", "10"}},
        {"LF ends", "x\n\ny\n", {"x", "", "y", "e4", "e5", "e6", "e7", "e8", "e9", "e10"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        h.writeDataFile("ATALHOS.INI", c.file);
        Tform_mixer& w = start([&](Tform_mixer& w) { w.atalhos = earlier; });
        EXPECT_EQ(w.atalhos, c.expected);
    }
    QFile::remove(h.dataFile("ATALHOS.INI"));
    EXPECT_EQ(start([&](Tform_mixer& w) { w.atalhos = earlier; }).atalhos, earlier) << "no file";
    EXPECT_EQ(start().atalhos, Table{}) << "a fresh window starts empty";
}

// The key is play/stop: a third press plays the clip again from its start.
TEST_F(ClipTest, SameKeyPlaysStopsAndPlaysAgainFromTheStart)
{
    const QString path = clip("four.wav");
    h.writeDataFile("ATALHOS.INI", fileOf({"", "", "", path}));
    Tform_mixer& w = start();
    press(4); // F5
    ASSERT_TRUE(w.canal_atalho->Playing);
    EXPECT_EQ(w.canal_atalho->FilePath, path);
    h.render(500);
    EXPECT_GE(w.canal_atalho->GetPosition(), 400);
    press(4);
    EXPECT_FALSE(w.canal_atalho->Playing);
    press(4);
    EXPECT_TRUE(w.canal_atalho->Playing);
    EXPECT_LT(w.canal_atalho->GetPosition(), 100);
    EXPECT_EQ(h.dialogs.texts(), QStringList{});
}

// While clip 1 sounds, F3 stops it and starts nothing when clip 2 is there; it is ignored when
// clip 2 is unassigned; a missing clip 2 is reported and clip 1 goes on.
TEST_F(ClipTest, AnotherKeyWhileAClipSoundsOnlyStopsIt)
{
    const QString one = clip("one.wav"), two = clip("two.wav");
    const struct {
        const char* name;
        QString clip2;
        bool stillPlaying;
        QStringList texts;
    } cases[] = {
        {"clip 2 assigned", two, false, {}},
        {"clip 2 unassigned", "", true, {}},
        {"clip 2 missing", "/nowhere/two.wav", true, {"Arquivo ->/nowhere/two.wav - Não Localizado !!"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        h.writeDataFile("ATALHOS.INI", fileOf({one, c.clip2}));
        Tform_mixer& w = start();
        press(1);
        h.render(200);
        press(2);
        EXPECT_EQ(w.canal_atalho->Playing, c.stillPlaying);
        EXPECT_EQ(w.canal_atalho->FilePath, one);
        EXPECT_EQ(h.dialogs.texts(), c.texts);
    }
}

// A missing file gets a beep and its path; a file that cannot be played gets the load message
// without a beep; either way the channel stays idle and the table keeps the path.
TEST_F(ClipTest, FilesThatCannotPlayAreReported)
{
    h.writeDataFile("text.mp3", "not audio at all");
    h.writeDataFile("empty.wav", "");
    const struct {
        const char* name;
        QString path;
        QString text;
        int beeps;
    } cases[] = {
        {"missing", h.dataFile("gone.wav"), "Arquivo ->" + h.dataFile("gone.wav") + " - Não Localizado !!", 1},
        {"text named .mp3", h.dataFile("text.mp3"), "Erro ao Carregar Mídia - Verifique !!", 0},
        {"empty file", h.dataFile("empty.wav"), "Erro ao Carregar Mídia - Verifique !!", 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        h.writeDataFile("ATALHOS.INI", fileOf({"", "", c.path}));
        Tform_mixer& w = start();
        press(3);
        EXPECT_FALSE(w.canal_atalho->Playing);
        EXPECT_EQ(h.dialogs.texts(), QStringList{c.text});
        EXPECT_EQ(h.dialogs.shown.value(0).kind, "message");
        EXPECT_EQ(h.dialogs.beeps, c.beeps);
        EXPECT_EQ(w.atalhos[2], c.path);
    }
}

// The clip sounds on the music device beside the playing deck, at its own volume: the
// crossfader and the equaliser act on the decks only.
TEST_F(ClipTest, ClipSoundsBesideTheDecksOutsideTheirControls)
{
    const QString path = clip("clip.wav");
    h.writeDataFile("ATALHOS.INI", fileOf({path}));
    Tform_mixer& w = start();
    w.canal_a->LoadFile(clip("deck.wav", 4000));
    w.canal_a->Play();
    press(1);
    w.Trackbar18->setValue(w.Trackbar18->maximum());
    w.bsSkinCheckRadioBox1->click();
    h.render(300);
    audio::StreamInfo clipInfo, deckInfo;
    ASSERT_TRUE(audio::streamInfo(w.canal_atalho->Stream, clipInfo));
    ASSERT_TRUE(audio::streamInfo(w.canal_a->Stream, deckInfo));
    EXPECT_EQ(clipInfo.device, deckInfo.device);
    EXPECT_EQ(w.canal_atalho->Device, w.device_transmissao);
    EXPECT_EQ(w.canal_atalho->volume(), 100u);
    EXPECT_FALSE(w.canal_atalho->EQActive);
    EXPECT_TRUE(w.canal_a->EQActive);
    EXPECT_TRUE(w.canal_atalho->Playing);
    EXPECT_TRUE(w.canal_a->Playing);
}

// Storing only clip 10 writes ten lines, nine of them empty, and F11 plays it at once.
TEST_F(ClipTest, StoringOnlyClipTenWritesTenLines)
{
    const QString path = clip("ten.wav");
    Tform_mixer& w = start();
    Table table;
    table[9] = path;
    w.grava_atalhos(table);
    EXPECT_EQ(readAll(h.dataFile("ATALHOS.INI")), fileOf({"", "", "", "", "", "", "", "", "", path}));
    EXPECT_EQ(QDir(h.dataDir.path()).entryList({"ATALHOS.INI*"}, QDir::Files), QStringList{"ATALHOS.INI"});
    press(10);
    EXPECT_TRUE(w.canal_atalho->Playing);
    EXPECT_EQ(h.dialogs.texts(), QStringList{});
    // Texts are written as they stand, blanks included, and come back the same at the next start.
    table[0] = "  ";
    w.grava_atalhos(table);
    EXPECT_EQ(start().atalhos, table);
}

// Ten paths that are empty after trimming delete the file; with the rows cleared the keys do
// nothing from then on and after the next start.
TEST_F(ClipTest, StoringNoClipDeletesTheFile)
{
    const QString path = clip("one.wav");
    Tform_mixer* w = nullptr;
    for (const Table& cleared : {Table{"", " ", "", "\t", "", "", "", "", "", "   "}, Table{}}) {
        h.writeDataFile("ATALHOS.INI", fileOf({path, path, path, path, path, path, path, path, path, path}));
        w = &start();
        w->grava_atalhos(cleared);
        EXPECT_FALSE(QFileInfo::exists(h.dataFile("ATALHOS.INI")));
        EXPECT_EQ(w->atalhos, cleared);
        EXPECT_EQ(h.dialogs.texts(), QStringList{});
    }
    expectKeysSilent(*this, *w);
    expectKeysSilent(*this, start());
    w = &start();
    w->grava_atalhos(Table{}); // no file to delete is no error
    EXPECT_EQ(h.dialogs.texts(), QStringList{});
}

// A file that cannot be stored is reported; the keys still use the new paths.
TEST_F(ClipTest, UnstorableTableIsReportedAndStaysInForce)
{
    const QString path = clip("one.wav");
    const struct {
        const char* name;
        Table table;
    } cases[] = {{"writing", Table{path}}, {"deleting", Table{}}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Tform_mixer& w = start();
        QFile::remove(h.dataFile("ATALHOS.INI"));
        ASSERT_TRUE(QDir(h.dataDir.path()).mkdir("ATALHOS.INI"));
        w.grava_atalhos(c.table);
        EXPECT_EQ(h.dialogs.texts(), QStringList{"Erro ao gravar arquivo de atalhos"});
        EXPECT_EQ(h.dialogs.beeps, 0);
        EXPECT_EQ(w.atalhos, c.table);
        QDir(h.dataFile("ATALHOS.INI")).removeRecursively();
    }
}

// Runs only in the copy the full-disk test starts, over a data folder that is already full
// and holds the clips file of an earlier run.
TEST(ClipFullDiskCopy, Run)
{
    const QString full = qEnvironmentVariable("VOLTARIA_CLIP_FULL_DATA");
    if (full.isEmpty())
        GTEST_SKIP() << "started by the full-disk test only";
    test::Harness h;
    Tform_mixer& w = h.create();
    h.show();
    app::setDataFolder(full);
    const QByteArray before = readAll(full + "/ATALHOS.INI");
    Table table;
    table.fill(QString(200, 'x'));
    w.grava_atalhos(table);
    EXPECT_EQ(h.dialogs.texts(), QStringList{"Erro ao gravar arquivo de atalhos"});
    EXPECT_EQ(w.atalhos, table);
    EXPECT_EQ(readAll(full + "/ATALHOS.INI"), before) << "the earlier file stays whole";
    EXPECT_EQ(QDir(full).entryList({"ATALHOS.INI*"}, QDir::Files), QStringList{"ATALHOS.INI"});
}

// On a full disk the earlier file is kept whole and the failure is reported. The disk is a
// small memory file system in a mount namespace of the copy's own.
TEST(ClipFullDisk, FullDiskKeepsTheEarlierFileAndIsReported)
{
    QTemporaryDir mountPoint;
    QProcess copy;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("VOLTARIA_CLIP_FULL_DATA", mountPoint.path());
    copy.setProcessEnvironment(env);
    copy.setProcessChannelMode(QProcess::MergedChannels);
    const QString script = QStringLiteral("mount -t tmpfs -o size=64k tmpfs \"$1\" || exit 77; "
                                          "printf '/earlier.wav\\r\\n' > \"$1/ATALHOS.INI\"; "
                                          "cat /dev/zero > \"$1/filler\" 2>/dev/null; "
                                          "exec \"$2\" --gtest_filter=ClipFullDiskCopy.Run");
    copy.start("unshare", {"-m", "sh", "-c", script, "sh", mountPoint.path(), QCoreApplication::applicationFilePath()});
    if (!copy.waitForFinished(120000)) {
        copy.kill();
        copy.waitForFinished();
        FAIL() << "the copy did not finish:\n" << copy.readAll().toStdString();
    }
    const QByteArray output = copy.readAll();
    if (copy.error() == QProcess::FailedToStart || copy.exitCode() == 77 || !output.contains("[ RUN"))
        GTEST_SKIP() << "a full file system cannot be made here:\n" << output.toStdString();
    EXPECT_EQ(copy.exitCode(), 0) << output.toStdString();
    EXPECT_TRUE(output.contains("[  PASSED  ] 1 test")) << output.toStdString();
}
