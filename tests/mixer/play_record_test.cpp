// The record of what played: a simulated day across midnight with both decks, a clip, a
// crash and a new start, the file on a full disk, and the menu item that opens its folder.
#include "deck_fixture.h"
#include "support/deck_clock.h"
#include "support/full_disk.h"

#include "app/paths.h"
#include "base/path_bytes.h"
#include "mixer/play_record.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QStringDecoder>
#include <QUrl>
#include <cstdio>
#include <unistd.h>
#include <optional>

using mixer::PlayRecord;

namespace {

const QDateTime kLateEvening(QDate(2026, 3, 14), QTime(23, 59, 40));

QByteArray readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The records of a CSV text, its quoting undone. A last line without its end is left out, so a
// line written in part shows as missing.
QList<QStringList> parseCsv(const QString& text)
{
    QList<QStringList> rows;
    QStringList row;
    QString field;
    bool quoted = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        const QChar next = i + 1 < text.size() ? text[i + 1] : QChar();
        if (quoted && c == u'"' && next == u'"') {
            field += c;
            ++i;
        } else if (c == u'"') {
            quoted = !quoted;
        } else if (!quoted && c == u',') {
            row << field;
            field.clear();
        } else if (!quoted && c == u'\r' && next == u'\n') {
            rows << (row << field);
            row.clear();
            field.clear();
            ++i;
        } else {
            field += c;
        }
    }
    return rows;
}

} // namespace

class PlayRecordDay : public DeckTest
{
public:
    void TearDown() override { app::setWallClock({}); }

    // The window's wall clock: the evening's start, the time run before a crash, and the deck clock.
    QDateTime now() const { return kLateEvening.addMSecs(before + (clock ? clock->nowMs() : 0)); }
    QString nowText() const { return now().toString("yyyy-MM-dd HH:mm:ss"); }

    void startWindow()
    {
        clock.reset();
        fresh();
        w->tempo_fade = 500;
        clock.emplace(*w);
        app::setWallClock([this] { return now(); });
    }

    // Lets time pass until `done` holds (at most a minute); the time then, as the record writes it.
    QString until(const std::function<bool()>& done)
    {
        for (int ms = 0; ms < 60000 && !done(); ms += test::DeckClock::kPeriodMs)
            clock->advance(test::DeckClock::kPeriodMs);
        EXPECT_TRUE(done());
        return nowText();
    }
    void advanceTo(int64_t ms) { clock->advance(int(ms - clock->nowMs())); }

    // A tone of `seconds` encoded by the FFmpeg command line with the given arguments.
    QString encoded(const QString& name, double seconds, const QStringList& arguments)
    {
        const QString wav = media::writeWav(h.dataFile(name + ".source.wav"), 22050, 1, 16, int64_t(seconds * 22050),
                                            media::sine(440, 22050, 0.3));
        return media::transcode(wav, h.dataFile(name), arguments);
    }

    std::optional<test::DeckClock> clock;
    int64_t before = 0;
};

// Catches a line lost or written twice, a track under 10 s on record, a wrong reason, tags not
// read (an MP3's ID3, an Ogg's comments on the stream), quoting that breaks the columns, a line
// filed by the day it ended, and a crash that loses more than what was sounding.
TEST_F(PlayRecordDay, TwoDecksAndAClipAcrossMidnightWithACrash)
{
    const QString a1 = encoded("a, um.mp3", 14,
                               {"-c:a", "libmp3lame", "-metadata", "title=Canção \"um\", parte 1", "-metadata",
                                "artist=Banda\nNova"});
    const QString b1 = encoded("b1.ogg", 15, {"-c:a", "libvorbis", "-metadata", "title=Bê", "-metadata", "artist=Artista B"});
    const QString a2 = track("a2.wav", 14000);
    const QString clip = track("vinheta.wav", 10300, 660);
    ASSERT_FALSE(a1.isEmpty());
    ASSERT_FALSE(b1.isEmpty());

    startWindow();
    Deck& A = deck(1);
    Deck& B = deck(2);
    w->atalhos[0] = clip;
    fill(A, {a1, a2});
    fill(B, {b1});
    clickRow(A, 0);
    clickRow(B, 0);
    press(A.playButton);
    const QString aStart = nowText();
    advanceTo(500);
    w->PlayAtalho[0]->trigger();
    ASSERT_TRUE(w->canal_atalho->Playing);
    const QString clipStart = nowText();
    const QString clipEnd = until([&] { return !w->canal_atalho->Playing; });
    // The auto-mix hands over to deck B; deck A's fade ends it.
    until([&] { return B.channel->Playing; });
    const QString bStart = nowText();
    const QString aEnd = until([&] { return !A.channel->Playing; });
    // Past midnight the operator fades deck B out.
    advanceTo(22000);
    press(B.fadeButton);
    const QString bEnd = until([&] { return !B.channel->Playing; });
    // Two seconds of a track stopped dry: not on record.
    advanceTo(23000);
    press(A.playButton);
    advanceTo(25000);
    press(A.stopButton);
    advanceTo(26000);
    press(A.playButton);
    const QString a2Start = nowText();
    until([&] { return B.channel->Playing; });
    const QString a2End = until([&] { return !A.channel->Playing; });
    // Deck B has sounded for 11 s, before its own hand-over, when the program dies without its exit.
    advanceTo(48000);
    ASSERT_TRUE(B.channel->Playing);
    ASSERT_FALSE(B.mixing);
    before += clock->nowMs();
    clock.reset();
    stopped.reset();
    h.window.reset();

    // Started again: a deck and the clip sound when the operator leaves the program.
    startWindow();
    w->atalhos[0] = clip;
    fill(deck(1), {a2});
    clickRow(deck(1), 0);
    press(deck(1).playButton);
    w->PlayAtalho[0]->trigger();
    const QString againStart = nowText();
    advanceTo(10200);
    const QString exitAt = nowText();
    w->close();
    EXPECT_FALSE(w->isVisible());

    const QString firstDay = QString::fromUtf8(readAll(PlayRecord::file(QDate(2026, 3, 14))));
    const QString secondDay = QString::fromUtf8(readAll(PlayRecord::file(QDate(2026, 3, 15))));
    EXPECT_TRUE(firstDay.endsWith("\r\n"));
    EXPECT_TRUE(secondDay.endsWith("\r\n"));
    // The quoting as a spreadsheet reads it.
    EXPECT_TRUE(firstDay.contains(",\"" + a1 + "\",\"Canção \"\"um\"\", parte 1\",\"Banda\nNova\",mix\r\n"));
    const QStringList header{"início", "fim", "segundos", "fonte", "arquivo", "título", "artista", "término"};
    const QList<QStringList> expectedFirst{
        header,
        {clipStart, clipEnd, "10", "clip 1", clip, "", "", "fim"},
        {aStart, aEnd, "", "A", a1, "Canção \"um\", parte 1", "Banda\nNova", "mix"},
        {bStart, bEnd, "", "B", b1, "Bê", "Artista B", "fade"},
    };
    const QList<QStringList> expectedSecond{
        header,
        {a2Start, a2End, "", "A", a2, "", "", "mix"},
        {againStart, exitAt, "10", "A", a2, "", "", "saída"},
        {againStart, exitAt, "10", "clip 1", clip, "", "", "saída"},
    };
    for (const auto& [text, expected] :
         {std::pair{firstDay, expectedFirst}, std::pair{secondDay, expectedSecond}}) {
        QList<QStringList> rows = parseCsv(text);
        ASSERT_EQ(rows.size(), expected.size()) << text.toStdString();
        for (qsizetype i = 1; i < rows.size(); ++i) {
            SCOPED_TRACE(i);
            // Seconds heard: the time between start and end, give or take the rounding.
            const QDateTime start = QDateTime::fromString(rows[i][0], "yyyy-MM-dd HH:mm:ss");
            const QDateTime end = QDateTime::fromString(rows[i][1], "yyyy-MM-dd HH:mm:ss");
            EXPECT_NEAR(rows[i][2].toInt(), start.secsTo(end), 1);
            if (expected[i][2].isEmpty())
                rows[i][2].clear();
        }
        EXPECT_EQ(rows, expected);
    }
    EXPECT_TRUE(bEnd.startsWith("2026-03-15 00:00:")); // filed by its start, the evening before
    EXPECT_EQ(h.dialogs.texts(), QStringList{"Deseja Sair do Arvesto Voltaria ??"});
}

// Catches a name that is not UTF-8 written with "?" in place of its bytes: the record shows it
// as the program does, and stays valid UTF-8 for the spreadsheet that reads it.
TEST_F(PlayRecordDay, NameThatIsNotUtf8IsWrittenAsShown)
{
    const QByteArray folder = QFile::encodeName(h.dataDir.path()) + '/';
    const QByteArray foreign = folder + "M\xfasica, \"ao vivo\".wav";
    ASSERT_EQ(::rename(QFile::encodeName(track("tmp.wav", 10500)).constData(), foreign.constData()), 0);
    startWindow();
    Deck& A = deck(1);
    fill(A, {base::pathFromBytes(foreign)});
    clickRow(A, 0);
    press(A.playButton);
    ASSERT_TRUE(A.channel->Playing);
    until([&] { return !A.channel->Playing; });

    const QByteArray written = readAll(PlayRecord::file(kLateEvening.date()));
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QList<QStringList> rows = parseCsv(utf8.decode(written));
    EXPECT_FALSE(utf8.hasError());
    ASSERT_EQ(rows.size(), 2) << written.toStdString();
    EXPECT_EQ(rows[1][4].toStdString(), (folder + "M\xc3\xbasica, \"ao vivo\".wav").toStdString());
    ::unlink(foreign.constData()); // the temporary folder cannot remove a name it cannot decode
}

// Catches a full disk that leaves half a line (which would join the next one) or a header
// alone, and a failure reported as success.
TEST(PlayRecordFile, FullDiskLosesTheLineAndNothingElse)
{
    const QString line = PlayRecord::csvLine({"2026-03-14 10:00:00", "2026-03-14 10:04:00", "240", "A",
                                              "/música/" + QString(120, u'x') + ".mp3", "Título", "Artista", "fim"});
    // Nearly a page already on record: the new line needs a page the disk no longer has.
    QByteArray before = "início,fim,segundos,fonte,arquivo,título,artista,término\r\n";
    while (before.size() < 4000)
        before += "2026-03-14 09:00:00,2026-03-14 09:03:00,180,B,/m/a.mp3,,,mix\r\n";
    test::onFullDisk(
        before, "dia.csv",
        [&](const QString& folder) {
            EXPECT_FALSE(PlayRecord::append(folder + "/dia.csv", line));
            EXPECT_EQ(readAll(folder + "/dia.csv"), before);
            EXPECT_FALSE(PlayRecord::append(folder + "/novo.csv", line));
            EXPECT_EQ(readAll(folder + "/novo.csv"), QByteArray());
        },
        0);
}

// Catches lines a full disk refuses being lost without a word, a notice at every refused line,
// and refused lines written out of order, twice, or not at all once there is room (at the next
// line, or at the exit when no line follows).
TEST_F(DeckTest, RefusedLinesAreToldOnceAndWrittenWhenThereIsRoom)
{
    test::onFullDisk(QByteArray(), "vazio", [&](const QString& folder) {
        app::setDataFolder(folder);
        const QDateTime t0(QDate(2026, 3, 14), QTime(10, 0, 0));
        // Each line longer than a page, so that none fits in the room a page left over.
        const QString source(5000, u'A');
        const auto watchLine = [&](PlayRecord& record, int minute) {
            record.restarted(*w->canal_a, source, t0.addSecs(60 * minute));
        };
        const auto linesOnRecord = [&] {
            const QList<QStringList> rows = parseCsv(QString::fromUtf8(readAll(PlayRecord::file(t0.date()))));
            QStringList starts;
            for (qsizetype i = 1; i < rows.size(); ++i)
                starts << rows[i][0];
            return starts;
        };
        PlayRecord record;
        ASSERT_GT(test::fillUp(folder, 0), 0);
        watchLine(record, 1);
        watchLine(record, 2);
        EXPECT_EQ(h.dialogs.texts(), QStringList{QString::fromUtf8(PlayRecord::writeErrorText)});
        EXPECT_EQ(h.dialogs.shown.value(0).kind, "notice");
        ASSERT_TRUE(test::freeRoom(folder)) << "the room cannot come back under a file-size limit";
        watchLine(record, 3);
        EXPECT_EQ(linesOnRecord(), (QStringList{"2026-03-14 10:01:00", "2026-03-14 10:02:00", "2026-03-14 10:03:00"}));

        h.dialogs.closeNotice(); // answered by the operator
        ASSERT_GT(test::fillUp(folder, 0), 0);
        watchLine(record, 4);
        EXPECT_EQ(h.dialogs.shown.size(), 2) << "a new outage is told again";
        test::freeRoom(folder);
        record.stopAll(mixer::StopReason::Exit);
        EXPECT_EQ(linesOnRecord().size(), 4);
        EXPECT_EQ(h.dialogs.shown.size(), 2);
        app::setDataFolder(h.dataDir.path());
    });
}

// Catches a folder that the file manager cannot open because no track was recorded yet.
TEST(PlayRecordFolder, MenuItemOpensTheFolderInTheFileManager)
{
    test::Harness h;
    Tform_mixer& w = h.create();
    h.show();
    QList<QUrl> opened;
    app::setUrlOpener([&](const QUrl& url) { opened << url; });
    w.RelatorioExecucoes1->trigger();
    app::setUrlOpener({});
    EXPECT_EQ(opened, QList<QUrl>{QUrl::fromLocalFile(h.dataFile("execucoes"))});
    EXPECT_TRUE(QFileInfo(h.dataFile("execucoes")).isDir());
    EXPECT_EQ(h.dialogs.texts(), QStringList{});
}
