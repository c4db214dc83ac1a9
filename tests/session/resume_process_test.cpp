// Resuming for real: the program (this test program started again as a copy of it, playing on
// the clock-paced null device) is killed with SIGKILL in the middle of a track and started
// again; OK at the question brings the same track back, within 2 s of where it was. And the
// question left unanswered, as after a power cut with nobody there.
#include "audio/media.h"
#include "support/own_copy.h"
#include "support/test_copy.h"

#include "app/UMIXER.h"
#include "app/dialogs.h"
#include "app/paths.h"
#include "app/session.h"
#include "app/session_file.h"
#include "app/startup.h"
#include "base/textfile.h"
#include "audio/TCorvoBass.h"

#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>
#include <QListWidget>
#include <QMessageBox>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>
#include <gtest/gtest.h>

namespace {

const char* const kRole = "VOLTARIA_SESSION_ROLE";
const char* const kData = "VOLTARIA_SESSION_DATA";
const char* const kUnansweredData = "VOLTARIA_SESSION_UNANSWERED_DATA";
constexpr int kTrackSeconds = 40;

// Prints every box as one line for the parent and answers OK, as the operator does here.
class AnsweringDialogs final : public Dialogs
{
public:
    void beep() override {}
    void message(const QString& text, const QString& caption) override { say("message", caption + u'|' + text); }
    bool notice(const QString& text, const QString&) override
    {
        say("notice", text);
        return true;
    }
    bool confirm(const QString& text, const QString& caption) override
    {
        say("confirm", caption + u'|' + text);
        return true;
    }
    QString openFileName(const QString&, const QString&, const QString&) override { return {}; }
    QString saveFileName(const QString&, const QString&, const QString&) override { return {}; }

    static void say(const char* kind, const QString& what)
    {
        std::printf("%s|%s\n", kind, qPrintable(what));
        std::fflush(stdout);
    }
};

// The copy's side: once the window is up, the first copy fills both decks and plays deck A;
// every copy then reports what deck A plays, every 100 ms.
void watchTheWindow(bool startPlaying, const QString& data)
{
    auto* watch = new QTimer(qApp);
    QObject::connect(watch, &QTimer::timeout, [=] {
        static bool started = false;
        if (!form_mixer || !form_mixer->isVisible())
            return;
        Tform_mixer& w = *form_mixer;
        if (startPlaying && !started) {
            started = true;
            w.lista_a = QStringList{data + "/a1.wav", data + "/a2.wav"};
            w.ListBox1->addItems({"A1.WAV", "A2.WAV"});
            w.lista_b = QStringList{data + "/b1.wav"};
            w.ListBox2->addItems({"B1.WAV"});
            w.ListBox2->setCurrentRow(0);
            w.ListBox2Click();
            w.ListBox1->setCurrentRow(0);
            w.ListBox1Click();
            w.BitBtn2Click();
        }
        if (w.canal_a->Playing)
            AnsweringDialogs::say("playing", QString("%1|%2").arg(w.canal_a->FilePath).arg(w.canal_a->GetPosition()));
    });
    watch->start(100);
}

struct Playing {
    QString file;
    int64_t positionMs = -1;
};

// The copy's last report of what plays, from what it printed so far.
Playing lastPlaying(const QByteArray& said)
{
    Playing last;
    for (const QByteArray& line : said.split('\n')) {
        const QList<QByteArray> parts = line.split('|');
        if (parts.size() == 3 && parts[0] == "playing")
            last = {QString::fromUtf8(parts[1]), parts[2].toLongLong()};
    }
    return last;
}

std::unique_ptr<QProcess> startCopy(const QString& role, const QString& data)
{
    auto copy = std::make_unique<QProcess>();
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(kRole, role);
    env.insert(kData, data);
    copy->setProcessEnvironment(env);
    copy->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    copy->start(QCoreApplication::applicationFilePath(), {"--gtest_filter=SessionCopy.Run"});
    return copy;
}

// Reads what the copy prints until `done` holds or the deadline passes.
bool readUntil(QProcess& copy, QByteArray& said, const std::function<bool()>& done, int timeoutMs)
{
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() > timeoutMs)
            return false;
        copy.waitForReadyRead(20);
        said += copy.readAllStandardOutput();
    }
    return true;
}

} // namespace

// Runs only when started by the test below, as one copy of the program.
TEST(SessionCopy, Run)
{
    const QString role = qEnvironmentVariable(kRole);
    if (role.isEmpty())
        GTEST_SKIP() << "started by the resume test only";
    AnsweringDialogs answering;
    setDialogs(&answering);
    app::setDataFolder(qEnvironmentVariable(kData));
    // The offscreen platform reports an 800-pixel screen.
    app::setScreenSize(QSize(1280, 1024));
    watchTheWindow(role == "first", qEnvironmentVariable(kData));
    startup::run(*qApp, {});
}

TEST(Session, AKilledRunIsResumedOnTheSameTrackWithinTwoSecondsOfWhereItWas)
{
    QTemporaryDir data;
    ASSERT_TRUE(data.isValid());
    QFile(data.filePath("lista.upd")).open(QIODevice::WriteOnly);
    // Both outputs on the null device, which plays in real time on any machine.
    ASSERT_TRUE(textfile::writeFileLines(data.filePath("VOLTARIA4.INI"),
                                         {"PLACA_MUSICAS=Sem saída de som", "PLACA_CUE=Sem saída de som"}));
    for (const char* name : {"a1.wav", "a2.wav", "b1.wav"})
        media::writeWav(data.filePath(name), 44100, 1, 16, int64_t(kTrackSeconds) * 44100, media::sine(440, 44100, 0.3));
    const QString sessionFile = data.filePath(session::fileName);

    std::unique_ptr<QProcess> first = startCopy("first", data.path());
    QByteArray firstSaid;
    // Killed right after a write of its position while playing, so "where it was" is what the
    // file holds, give or take the 100 ms of the copy's reports.
    std::optional<session::State> saved;
    const bool written = readUntil(*first, firstSaid, [&] {
        QStringList lines;
        if (textfile::readFileLines(sessionFile, lines))
            saved = session::decode(lines);
        return saved && saved->decks[0].positionMs >= 5000;
    }, 60000);
    first->kill();
    first->waitForFinished(10000);
    firstSaid += first->readAllStandardOutput();
    ASSERT_TRUE(written) << firstSaid.toStdString();
    const Playing wasPlaying = lastPlaying(firstSaid);
    ASSERT_EQ(wasPlaying.file, data.filePath("a1.wav")) << firstSaid.toStdString();
    EXPECT_TRUE(saved->running);

    std::unique_ptr<QProcess> second = startCopy("second", data.path());
    QByteArray secondSaid;
    QElapsedTimer sinceStart;
    sinceStart.start();
    const bool resumed = readUntil(*second, secondSaid, [&] { return lastPlaying(secondSaid).positionMs >= 0; }, 30000);
    const qint64 startToMusicMs = sinceStart.elapsed();
    second->kill();
    second->waitForFinished(10000);
    ASSERT_TRUE(resumed) << secondSaid.toStdString();
    const Playing nowPlaying = lastPlaying(secondSaid);
    EXPECT_EQ(nowPlaying.file, wasPlaying.file);
    EXPECT_NEAR(double(nowPlaying.positionMs), double(wasPlaying.positionMs), 2000.0) << secondSaid.toStdString();
    // The question, and no other box.
    EXPECT_TRUE(secondSaid.contains(QByteArray("\nconfirm|Zulo Sistemas|") + session::resumeQuestion + "\n"))
        << secondSaid.toStdString();
    EXPECT_EQ(secondSaid.count("confirm|") + secondSaid.count("message|"), 1) << secondSaid.toStdString();
    std::printf("music back %lld ms after the start, at %lld ms for %lld ms when killed\n",
                (long long)startToMusicMs, (long long)nowPlaying.positionMs, (long long)wasPlaying.positionMs);
}

// Runs only in the copy the test below starts: the program's own question, which nobody answers.
TEST(SessionUnansweredCopy, Run)
{
    test::CopyEnvironment copy(kUnansweredData);
    if (copy.data.isEmpty())
        GTEST_SKIP() << "started by the unanswered resume test only";
    setDialogs(nullptr);
    copy.writeSettings();
    QFile(copy.data + "/lista.upd").open(QIODevice::WriteOnly);
    const QString track = media::writeWav(copy.data + "/a1.wav", 44100, 1, 16, int64_t(kTrackSeconds) * 44100,
                                          media::sine(440, 44100, 0.3));
    session::State killed;
    killed.running = true;
    killed.decks[0] = {{"A1.WAV"}, {track}, 0, track, 5000};
    QFile file(copy.data + "/" + session::fileName);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(session::encode(killed, session::encodePlaylist(0, killed.decks[0].names, killed.decks[0].paths),
                               session::encodePlaylist(1, {}, {})));
    file.close();

    // Looks at the screen every 100 ms while the question's own event loop runs; after 60 s it
    // cancels the box, so a question that waits for ever fails instead of hanging.
    QStringList countdowns;
    QString question;
    QElapsedTimer sinceShow;
    QTimer look;
    QObject::connect(&look, &QTimer::timeout, [&] {
        for (QWidget* window : QApplication::topLevelWidgets()) {
            auto* box = qobject_cast<QMessageBox*>(window);
            if (!box || !box->isVisible())
                continue;
            question = box->text();
            if (countdowns.isEmpty() || countdowns.last() != box->informativeText())
                countdowns << box->informativeText();
            if (sinceShow.elapsed() > 60000)
                box->button(QMessageBox::Cancel)->click();
        }
    });
    look.start(100);
    Tform_mixer w;
    sinceShow.start();
    w.show(); // the show step asks, and resumes once the question is over
    const int64_t askedFor = sinceShow.elapsed();
    look.stop();

    EXPECT_EQ(question, QString::fromUtf8(session::resumeQuestion));
    ASSERT_FALSE(countdowns.isEmpty());
    EXPECT_EQ(countdowns.first(), "Sem resposta, a programação será retomada em 30 s.");
    EXPECT_EQ(countdowns.last(), "Sem resposta, a programação será retomada em 1 s.");
    EXPECT_GE(countdowns.size(), 25); // a second at a time, a tick lost now and then on a busy machine
    EXPECT_GE(askedFor, 29000);
    EXPECT_LE(askedFor, 45000);
    ASSERT_TRUE(w.canal_a->Playing);
    EXPECT_EQ(w.canal_a->FilePath, track);
    EXPECT_NEAR(double(w.canal_a->GetPosition()), 5000, 1000);
}

// Catches a question that waits for ever after a power cut, one that answers before its time or
// without saying so, and a countdown that does not count.
TEST(Session, AnUnansweredQuestionResumesAfterThirtySeconds)
{
    QTemporaryDir data;
    test::runOwnCopy("SessionUnansweredCopy.Run", kUnansweredData, data.path());
}
