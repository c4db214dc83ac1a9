// Start-up: the screen test and the one-copy rule, the latter across two real processes
// (this test program started again as the first and the second copy).
#include "app/UMIXER.h"
#include "audio/TCorvoBass.h"
#include "audio/media.h"
#include "widgets/StringGrid.h"
#include "app/startup.h"
#include "support/harness.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <cstdio>
#include <gtest/gtest.h>

namespace {

// Prints every box as one line, so the parent test reads what a copy showed.
class PrintingDialogs final : public Dialogs
{
public:
    void beep() override {}
    void message(const QString& text, const QString& caption) override { print("message", text, caption); }
    bool notice(const QString& text, const QString& caption) override
    {
        print("notice", text, caption);
        return true;
    }
    bool confirm(const QString& text, const QString& caption) override
    {
        print("confirm", text, caption);
        return false;
    }
    QString openFileName(const QString&, const QString&, const QString&) override { return {}; }
    QString saveFileName(const QString&, const QString&, const QString&) override { return {}; }

    static void print(const char* kind, const QString& text, const QString& caption)
    {
        std::printf("%s|%s|%s\n", kind, qPrintable(caption), qPrintable(text));
        std::fflush(stdout);
    }
};

// `file`, when given, is the copy's one command-line argument.
QProcess* startCopy(const QString& role, const QString& dataFolder, const QString& file = {})
{
    auto* copy = new QProcess;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("VOLTARIA_COPY_ROLE", role);
    env.insert("VOLTARIA_COPY_DATA", dataFolder);
    env.insert("VOLTARIA_COPY_FILE", file);
    copy->setProcessEnvironment(env);
    copy->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    copy->start(QCoreApplication::applicationFilePath(), {"--gtest_filter=StartupCopy.Run"});
    return copy;
}

bool waitForLine(QProcess* process, const QByteArray& line, QByteArray& seen, int timeoutMs = 15000)
{
    QElapsedTimer clock;
    clock.start();
    while (!seen.contains(line) && clock.elapsed() < timeoutMs) {
        process->waitForReadyRead(100);
        seen += process->readAllStandardOutput();
    }
    return seen.contains(line);
}

} // namespace

// Runs only when started by the tests below, as one copy of the program.
TEST(StartupCopy, Run)
{
    const QString role = qEnvironmentVariable("VOLTARIA_COPY_ROLE");
    if (role.isEmpty())
        GTEST_SKIP() << "started by the one-copy test only";
    PrintingDialogs printing;
    setDialogs(&printing);
    app::setDataFolder(qEnvironmentVariable("VOLTARIA_COPY_DATA"));
    // The offscreen platform reports an 800-pixel screen.
    app::setScreenSize(QSize(1280, 1024));
    if (role == "first") {
        // Once running, hide the window and report; then report when another copy brings it back.
        auto* watch = new QTimer(qApp);
        QObject::connect(watch, &QTimer::timeout, [watch] {
            static bool hidden = false;
            if (!form_mixer)
                return;
            if (!hidden) {
                // On X11 Qt appends a display name set apart from the application's name to
                // every window title and box caption ("Zulo Sistemas — ..."): none may be set.
                PrintingDialogs::print("display", QGuiApplication::applicationDisplayName(),
                                       QCoreApplication::applicationName());
                form_mixer->hide();
                hidden = true;
                PrintingDialogs::print("state", "hidden", "");
            } else if (form_mixer->isVisible()) {
                // What the library grid lists and what the preview plays once the window is back.
                const StringGrid* grid = form_mixer->StringGrid1;
                QStringList rows;
                for (int row = 0; row < grid->RowCount(); ++row)
                    rows << grid->Cells(1, row);
                PrintingDialogs::print("grid", rows.join(','), QString::number(grid->Row()));
                PrintingDialogs::print("preview", form_mixer->canal_00->FilePath, "");
                PrintingDialogs::print("state", "shown", "");
                watch->stop();
                QCoreApplication::exit(0);
            }
        });
        watch->start(20);
    }
    const QString file = qEnvironmentVariable("VOLTARIA_COPY_FILE");
    startup::run(*qApp, file.isEmpty() ? QStringList{} : QStringList{file});
    PrintingDialogs::print("state", form_mixer ? "window" : "no window", "");
    setDialogs(nullptr);
}

TEST(Startup, SecondCopyShowsTheMessageBringsTheFirstBackAndEnds)
{
    QTemporaryDir data;
    QFile(data.filePath("lista.upd")).open(QIODevice::WriteOnly);
    std::unique_ptr<QProcess> first(startCopy("first", data.path()));
    QByteArray firstSaid;
    ASSERT_TRUE(waitForLine(first.get(), "state||hidden", firstSaid)) << firstSaid.toStdString();
    EXPECT_TRUE(firstSaid.contains("display|test_app|test_app\n")) << firstSaid.toStdString();

    std::unique_ptr<QProcess> second(startCopy("second", data.path()));
    ASSERT_TRUE(second->waitForFinished(15000));
    const QByteArray secondSaid = second->readAllStandardOutput();
    EXPECT_EQ(second->exitCode(), 0);
    EXPECT_TRUE(secondSaid.contains("message|Arvesto Voltaria já está aberto|Arvesto já está aberto. A cópia anterior "
                                    "será ativada.\n"))
        << secondSaid.toStdString();
    EXPECT_TRUE(secondSaid.contains("state||no window\n")) << secondSaid.toStdString();

    EXPECT_TRUE(waitForLine(first.get(), "state||shown", firstSaid)) << firstSaid.toStdString();
    first->waitForFinished(15000);
    if (first->state() != QProcess::NotRunning)
        first->kill();
}

// A file opened while the program runs reaches the running copy, which comes back listing the
// file's folder with the file selected and previewed; the second copy ends quietly. The file was
// lost behind the one-copy message.
TEST(Startup, FileOpenedWhileRunningIsListedAndPreviewedByTheRunningCopy)
{
    QTemporaryDir data;
    QFile(data.filePath("lista.upd")).open(QIODevice::WriteOnly);
    QTemporaryDir music;
    const QString named = media::writeWav(music.filePath("Nomeado Aqui.wav"), 44100, 2, 16, 44100 * 4,
                                          media::sine(440, 44100, 0.3));
    media::writeWav(music.filePath("antes.wav"), 44100, 2, 16, 44100, media::sine(440, 44100, 0.3));
    std::unique_ptr<QProcess> first(startCopy("first", data.path()));
    QByteArray firstSaid;
    ASSERT_TRUE(waitForLine(first.get(), "state||hidden", firstSaid)) << firstSaid.toStdString();

    std::unique_ptr<QProcess> second(startCopy("second", data.path(), named));
    ASSERT_TRUE(second->waitForFinished(15000));
    const QByteArray secondSaid = second->readAllStandardOutput();
    EXPECT_EQ(second->exitCode(), 0);
    EXPECT_FALSE(secondSaid.contains("message|")) << secondSaid.toStdString();
    EXPECT_TRUE(secondSaid.contains("state||no window\n")) << secondSaid.toStdString();

    EXPECT_TRUE(waitForLine(first.get(), "state||shown", firstSaid)) << firstSaid.toStdString();
    EXPECT_TRUE(firstSaid.contains("grid|2|Descrição da Música,ANTES.WAV,NOMEADO AQUI.WAV\n")) << firstSaid.toStdString();
    EXPECT_TRUE(firstSaid.contains("preview||" + named.toUtf8() + "\n")) << firstSaid.toStdString();
    first->waitForFinished(15000);
    if (first->state() != QProcess::NotRunning)
        first->kill();
}

TEST(Startup, NarrowScreenOnlyShowsTheResolutionMessage)
{
    test::Harness h(QSize(800, 600));
    EXPECT_EQ(startup::run(*qApp, {}), 0);
    EXPECT_EQ(h.dialogs.texts(), QStringList{"ARVESTO VOLTARIA-PRO IV  - Resolução de tela Mínima 1024x768 - "
                                             "Verifique\rArvesto Sistemas de Áudio"});
    EXPECT_EQ(form_mixer, nullptr);
}
