// The session file on the real window (manual audio backend): what a start does with each kind
// of file it finds, what OK brings back, and what the running window keeps in the file.
#include "audio/media.h"
#include "support/eventually.h"
#include "support/full_disk.h"
#include "support/harness.h"

#include "app/paths.h"
#include "app/session.h"
#include "app/session_file.h"
#include "app/session_writer.h"
#include "base/textfile.h"
#include "audio/TCorvoBass.h"
#include "widgets/LedButton.h"
#include "widgets/LedCounter.h"

#include <QCloseEvent>
#include <QElapsedTimer>
#include <QListWidget>
#include <QPushButton>

namespace {

const QString kQuestion = QString::fromUtf8(session::resumeQuestion);

class SessionTest : public ::testing::Test
{
public:
    void SetUp() override { h.writeDataFile("lista.upd", ""); }

    QString track(const QString& name, int ms = 4000)
    {
        return media::writeWav(h.dataFile(name), 44100, 2, 16, int64_t(ms) * 44100 / 1000, media::sine(440, 44100, 0.3));
    }

    // A run that never ended: deck A plays its second entry at 1.5 s, deck B waits on its first.
    session::State interrupted()
    {
        session::State s;
        s.running = true;
        s.autoMix = false;
        s.sensor = false;
        s.decks[0] = {{"A1.WAV", "A2.WAV"}, {track("a1.wav"), track("a2.wav")}, 1, {}, 1500};
        s.decks[0].playing = s.decks[0].paths[1];
        s.decks[1] = {{"B1.WAV"}, {track("b1.wav")}, 0, {}, 0};
        return s;
    }

    void writeState(const session::State& s)
    {
        h.writeDataFile(session::fileName,
                        session::encode(s, session::encodePlaylist(0, s.decks[0].names, s.decks[0].paths),
                                        session::encodePlaylist(1, s.decks[1].names, s.decks[1].paths)));
    }

    std::optional<session::State> saved() const
    {
        QStringList lines;
        if (!textfile::readFileLines(h.dataFile(session::fileName), lines))
            return std::nullopt;
        return session::decode(lines);
    }

    // Lets the window's timers run until the file holds what `wanted` checks; the file's last
    // state otherwise.
    bool waitForFile(const std::function<bool(const session::State&)>& wanted)
    {
        QElapsedTimer clock;
        clock.start();
        while (clock.elapsed() < 10000) {
            QApplication::processEvents(QEventLoop::AllEvents, 20);
            if (const auto s = saved(); s && wanted(*s))
                return true;
        }
        return false;
    }

    static QStringList names(const Deck& d)
    {
        QStringList all;
        for (int i = 0; i < d.listBox->count(); ++i)
            all << d.listBox->item(i)->text();
        return all;
    }

    test::Harness h;
};

// Catches a start that shows anything, or loads anything, for a file it cannot trust.
TEST_F(SessionTest, AFileThatIsMissingEmptyGarbledCutOrClosedStartsAsBeforeWithoutAWord)
{
    session::State closed = interrupted();
    closed.running = false;
    writeState(closed);
    QFile file(h.dataFile(session::fileName));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray whole = file.readAll();
    file.close();
    const struct {
        const char* what;
        std::optional<QByteArray> contents;
    } cases[] = {
        {"missing", std::nullopt},
        {"empty", QByteArray()},
        {"garbage", QByteArray("\x01\xff\xfe garbage\r\nEXECUTANDO=1\r\n", 26)},
        {"closed", whole},
        {"cut before its end", whole.left(whole.size() - 5).replace("EXECUTANDO=0", "EXECUTANDO=1")},
        {"count beyond its entries", QByteArray(whole).replace("EXECUTANDO=0", "EXECUTANDO=1").replace("LISTA_B=1", "LISTA_B=9")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        QFile::remove(h.dataFile(session::fileName));
        if (c.contents)
            h.writeDataFile(session::fileName, *c.contents);
        h.dialogs.clear();
        Tform_mixer& w = h.create();
        h.show();
        EXPECT_EQ(h.dialogs.texts(), QStringList{});
        EXPECT_EQ(w.ListBox1->count(), 0);
        EXPECT_FALSE(w.canal_a->Playing);
        h.window.reset();
    }
}

// Catches a resume that loses a list, a selection, the switches, or plays from the start or
// the wrong entry.
TEST_F(SessionTest, OkBringsBackBothListsTheSwitchesAndPlaysTheDeckFromWhereItWas)
{
    const session::State before = interrupted();
    writeState(before);
    Tform_mixer& w = h.create();
    h.show();

    ASSERT_EQ(h.dialogs.texts(), QStringList{kQuestion});
    EXPECT_EQ(h.dialogs.shown[0].caption, "Zulo Sistemas");
    EXPECT_EQ(names(w.deckA), before.decks[0].names);
    EXPECT_EQ(w.lista_a, before.decks[0].paths);
    EXPECT_EQ(names(w.deckB), before.decks[1].names);
    EXPECT_EQ(w.lista_b, before.decks[1].paths);
    EXPECT_EQ(w.CONTA_ESQUERDA->value(), 2);
    EXPECT_EQ(w.conta_direita->value(), 1);
    EXPECT_EQ(w.ListBox1->currentRow(), 1);
    EXPECT_EQ(w.ListBox2->currentRow(), 0);
    EXPECT_FALSE(w.LEDButton1->isOn());
    EXPECT_FALSE(w.LEDButton2->isOn());
    // Auto Mix off as the operator switches it: the Loop buttons are free again.
    EXPECT_TRUE(w.loop_esquerda->isEnabled());

    ASSERT_TRUE(w.canal_a->Playing);
    EXPECT_EQ(w.canal_a->FilePath, before.decks[0].paths[1]);
    EXPECT_NEAR(double(w.canal_a->GetPosition()), 1500, 50);
    h.render(500);
    EXPECT_NEAR(double(w.canal_a->GetPosition()), 2000, 60);
    EXPECT_FALSE(w.canal_b->Playing);
    EXPECT_EQ(w.canal_b->FilePath, before.decks[1].paths[0]);
    EXPECT_TRUE(w.bitbtn6->isEnabled()) << "deck B is loaded, ready for the next hand-over";
}

// Nobody may be there after a power cut: catches the question waiting for ever, and a file gone
// since then holding the resume with a box of its own per deck.
TEST_F(SessionTest, TheResumeWaitsForNobody)
{
    const session::State before = interrupted();
    writeState(before);
    QFile::remove(before.decks[1].paths[0]);
    Tform_mixer& w = h.create();
    h.show();

    ASSERT_EQ(h.dialogs.shown.size(), 2) << h.dialogs.texts().join('|').toStdString();
    EXPECT_EQ(h.dialogs.shown[0].text, kQuestion);
    EXPECT_EQ(h.dialogs.shown[0].seconds, 30);
    EXPECT_EQ(h.dialogs.shown[0].countdown, "Sem resposta, a programação será retomada em %1 s.");
    EXPECT_EQ(h.dialogs.shown[1].kind, "notice");
    EXPECT_EQ(h.dialogs.shown[1].text, "Arquivo Selecionado não localizado !!!");
    EXPECT_TRUE(w.canal_a->Playing);
}

// Catches the playing entry taken from the selection when the operator had clicked elsewhere
// while it played, and a selection lost in that case.
TEST_F(SessionTest, ATrackPlayingAwayFromTheSelectionIsPlayedAndTheSelectionKept)
{
    session::State before = interrupted();
    before.decks[0].selected = 0; // the next advance starts after entry 0
    writeState(before);
    Tform_mixer& w = h.create();
    h.show();
    ASSERT_TRUE(w.canal_a->Playing);
    EXPECT_EQ(w.canal_a->FilePath, before.decks[0].paths[1]);
    EXPECT_EQ(w.ListBox1->currentRow(), 0);
}

// Catches Cancel restoring anything, and the old programme left in the file to be offered again.
TEST_F(SessionTest, CancelStartsAsBeforeAndTheFileNowDescribesThisRun)
{
    writeState(interrupted());
    h.dialogs.confirmAnswers = {false};
    Tform_mixer& w = h.create();
    h.show();
    EXPECT_EQ(h.dialogs.texts(), QStringList{kQuestion});
    EXPECT_EQ(w.ListBox1->count(), 0);
    EXPECT_FALSE(w.canal_a->Playing);
    EXPECT_TRUE(w.LEDButton1->isOn());
    ASSERT_TRUE(waitForFile([](const session::State& s) { return s.decks[0].paths.isEmpty(); }));
    EXPECT_TRUE(saved()->running);
}

// Catches a list change, a play, a fade or the exit that never reaches the file.
TEST_F(SessionTest, TheRunningWindowKeepsTheFileAndTheConfirmedExitClosesIt)
{
    Tform_mixer& w = h.create();
    h.show();
    const QStringList paths{track("x1.wav"), track("x2.wav"), track("x3.wav")};
    w.lista_a = paths;
    w.ListBox1->addItems({"X1.WAV", "X2.WAV", "X3.WAV"});
    w.ListBox1->setCurrentRow(0);
    w.ListBox1Click();
    ASSERT_TRUE(waitForFile([&](const session::State& s) { return s.decks[0].paths == paths && s.decks[0].selected == 0; }));
    EXPECT_TRUE(saved()->running);
    EXPECT_EQ(saved()->decks[0].names, QStringList({"X1.WAV", "X2.WAV", "X3.WAV"}));

    w.BitBtn2Click();
    h.render(300);
    ASSERT_TRUE(waitForFile([&](const session::State& s) { return s.decks[0].playing == paths[0]; }));

    // Fading out during a hand-over: a resume must go on with the entry after it.
    w.BitBtn5Click();
    ASSERT_TRUE(waitForFile([&](const session::State& s) { return s.decks[0].playing.isEmpty(); }));
    EXPECT_EQ(saved()->decks[0].selected, 1);

    w.LEDButton1->click();
    ASSERT_TRUE(waitForFile([](const session::State& s) { return !s.autoMix; }));

    QCloseEvent close;
    w.FormClose(&close);
    ASSERT_TRUE(close.isAccepted());
    ASSERT_TRUE(saved());
    EXPECT_FALSE(saved()->running);
}

// Catches a session file that goes stale on a full disk without a word, a refused write never
// tried again once there is room, a notice repeated at every retry, and a confirmed exit whose
// write failed leaving the file marked running, so that the next start offers to resume.
TEST_F(SessionTest, AFullDiskIsToldOnceRetriedAndTheExitLeavesNothingMarkedRunning)
{
    session::State old;
    const QByteArray before = session::encode(old, session::encodePlaylist(0, {}, {}), session::encodePlaylist(1, {}, {}));
    test::onFullDisk(before, session::fileName, [&](const QString& folder) {
        const QString file = QDir(folder).filePath(session::fileName);
        const auto written = [&]() -> std::optional<session::State> {
            QStringList lines;
            return textfile::readFileLines(file, lines) ? session::decode(lines) : std::nullopt;
        };
        const auto notices = [&] {
            return std::count_if(h.dialogs.shown.begin(), h.dialogs.shown.end(),
                                 [](const auto& s) { return s.kind == "notice"; });
        };
        app::setDataFolder(folder);
        Tform_mixer& w = h.create();
        h.show();
        QStringList names, paths;
        for (int i = 0; i < 300; ++i) {
            names << QString("FAIXA%1.MP3").arg(i);
            paths << QString("/musicas/uma pasta de nome longo/faixa%1.mp3").arg(i);
        }
        w.lista_a = paths;
        w.ListBox1->addItems(names);
        ASSERT_EVENTUALLY(notices() == 1, 10000);
        EXPECT_EQ(h.dialogs.shown.back().text, QString::fromUtf8(session::writeErrorText));
        EXPECT_EQ(written()->decks[0].paths, QStringList()) << "the old file stays whole";
        QTest::qWait(6000); // more than one retry
        EXPECT_EQ(notices(), 1);

        ASSERT_TRUE(test::freeRoom(folder)) << "the room cannot come back under a file-size limit";
        ASSERT_EVENTUALLY(written() && written()->decks[0].paths == paths, 15000);
        EXPECT_TRUE(written()->running);

        ASSERT_GT(test::fillUp(folder), 0);
        QCloseEvent close;
        w.FormClose(&close);
        ASSERT_TRUE(close.isAccepted());
        EXPECT_FALSE(written() && written()->running) << "the next start would offer to resume";
        app::setDataFolder(h.dataDir.path());
    });
}

// Catches a failed write on a full disk that leaves a cut file, or no file, in place of the last one.
TEST(SessionWriter, AFullDiskKeepsTheLastWholeFile)
{
    session::State s;
    s.running = true;
    const QByteArray before = session::encode(s, session::encodePlaylist(0, {}, {}), session::encodePlaylist(1, {}, {}));
    test::onFullDisk(before, session::fileName, [&](const QString& folder) {
        const QString path = QDir(folder).filePath(session::fileName);
        session::State bigger = s;
        for (int i = 0; i < 2000; ++i) {
            bigger.decks[0].names << QString("TRACK%1.MP3").arg(i);
            bigger.decks[0].paths << QString("/music/a long folder name/track%1.mp3").arg(i);
        }
        {
            session::Writer writer(path);
            writer.write(bigger, {true, false});
            writer.waitIdle();
            EXPECT_FALSE(writer.lastWriteSucceeded());
        }
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        EXPECT_EQ(file.readAll(), before);
        EXPECT_EQ(QDir(folder).entryList({"SESSAO*"}, QDir::Files | QDir::Hidden), QStringList{session::fileName});
    });
}

} // namespace

namespace {

// Catches a list handed to the writer and dropped by a position-only write that overtook it.
TEST(SessionWriter, ALaterWriteWithoutListsKeepsTheListsNotYetWritten)
{
    QTemporaryDir folder;
    const QString path = folder.filePath(session::fileName);
    session::State s;
    s.running = true;
    for (int i = 0; i < 500; ++i) {
        s.decks[1].names << QString("B%1.MP3").arg(i);
        s.decks[1].paths << QString("/music/b%1.mp3").arg(i);
    }
    session::State later = s;
    later.decks[1].names.clear();
    later.decks[1].paths.clear();
    later.decks[1].positionMs = 9000;
    {
        session::Writer writer(path);
        writer.write(s, {false, true});
        writer.write(later, {false, false});
        writer.waitIdle();
    }
    QStringList lines;
    ASSERT_TRUE(textfile::readFileLines(path, lines));
    const std::optional<session::State> written = session::decode(lines);
    ASSERT_TRUE(written);
    EXPECT_EQ(written->decks[1].paths, s.decks[1].paths);
    EXPECT_EQ(written->decks[1].positionMs, 9000);
}

} // namespace
