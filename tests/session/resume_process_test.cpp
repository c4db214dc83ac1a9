// Resuming for real: the program (this test program started again as a copy of it, playing on
// the clock-paced null device) is killed with SIGKILL in the middle of a track and started
// again; OK at the question brings the same track back, within 2 s of where it was.
#include "audio/media.h"

#include "app/UMIXER.h"
#include "app/dialogs.h"
#include "app/paths.h"
#include "app/session.h"
#include "app/session_file.h"
#include "app/startup.h"
#include "base/textfile.h"
#include "audio/TCorvoBass.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QListWidget>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>
#include <gtest/gtest.h>

namespace {

const char* const kRole = "VOLTARIA_SESSION_ROLE";
const char* const kData = "VOLTARIA_SESSION_DATA";
constexpr int kTrackSeconds = 40;

// Prints every box as one line for the parent and answers OK, as the operator does here.
class AnsweringDialogs final : public Dialogs
{
public:
    void beep() override {}
    void message(const QString& text, const QString& caption) override { say("message", caption + u'|' + text); }
    void notice(const QString& text) override { say("notice", text); }
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
    startup::run(*qApp);
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
