// The settings file written when the operator leaves: the question, the 30 lines in their order
// and the two output names,
// the file read back, and a file that cannot be written.
#include "config/settings_fixture.h"
#include "support/full_disk.h"

#include "audio/TCorvoBass.h"
#include "widgets/LedButton.h"
#include "widgets/SpinEdit.h"
#include "widgets/TrackBar.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>
#include <QtEndian>
#include <gtest/gtest.h>

using namespace settingstest;

namespace {

const QStringList fileOrder{"CAPTURAGR",    "AUTOMIXAR",    "WAV",        "MP3",        "OGG",        "WMA",
                            "CLIPS",        "TEMPO_MIX",    "GRAFICO01",  "GRAFICO02",  "DEVICE_TRANSMISSAO",
                            "DEVICE_CUE",   "ATIVA_SENSOR", "VLR_SENSOR", "DRIVE",      "BUFFERS",    "FADE",
                            "BT_CAPTURAGR", "EQ_ATIVA",     "EQ_VOLUME",  "EQ_BANDA01", "EQ_BANDA02", "EQ_BANDA03",
                            "EQ_BANDA04",   "EQ_BANDA05",   "EQ_BANDA06", "EQ_BANDA07", "EQ_BANDA08", "EQ_BANDA09",
                            "EQ_BANDA10",   "PLACA_MUSICAS", "PLACA_CUE", "VIGIA"};

QByteArray readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Ten seconds of 16-bit stereo silence at 44.1 kHz.
QString writeSilentWav(const QString& path)
{
    const quint32 frames = 441000, bytes = frames * 4;
    QByteArray header("RIFF....WAVEfmt ");
    const auto le32 = [](quint32 v) { QByteArray b(4, 0); qToLittleEndian(v, b.data()); return b; };
    const auto le16 = [](quint16 v) { QByteArray b(2, 0); qToLittleEndian(v, b.data()); return b; };
    header.replace(4, 4, le32(36 + bytes));
    header += le32(16) + le16(1) + le16(2) + le32(44100) + le32(44100 * 4) + le16(4) + le16(16) + "data" + le32(bytes);
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write(header);
    file.write(QByteArray(bytes, 0));
    return path;
}

} // namespace

// Catches a key written out of order, a value written from the wrong control and a constant key
// that drifts: the program's own file comes back byte for byte, the silence watch's line last.
TEST(SettingsWrite, OwnFileIsWrittenBackByteForByte)
{
    for (bool captureOn : {false, true}) {
        Started s(fullFile(captureOn) + QStringList{"VIGIA=1"});
        s.w->close();
        EXPECT_EQ(readAll(s.h.dataFile("VOLTARIA4.INI")), fileBytes(fullFile(captureOn) + outputNames + QStringList{"VIGIA=1"}));
        // The file is replaced through a temporary file that must not be left behind.
        EXPECT_EQ(QDir(s.h.dataDir.path()).entryList({"VOLTARIA4.INI*"}, QDir::Files), QStringList{"VOLTARIA4.INI"});
    }
}

// What the operator changed during the run is what the next run starts with.
TEST(SettingsWrite, ChangesOfTheRunAreReadBackAtTheNextStart)
{
    QMap<QString, QString> atExit;
    QStringList written;
    {
        Started s(std::nullopt);
        s.w->captura_geral->click();
        s.w->LEDButton1->click();
        s.w->TrackBar9->setValue(3);
        s.w->Trackbar6->setValue(42);
        s.w->RxSpinEdit7->setValue(5000);
        s.w->tempo_fade = 9000;
        s.w->grafico_b = 1;
        s.w->device_cue = 2;
        s.w->DriveComboBox1->setCurrentIndex(0);
        atExit = held(*s.w);
        atExit["pasta_captura"] = "/"; // the saved drive's root is the next run's capture folder
        s.w->close();
        written = QString::fromUtf8(readAll(s.h.dataFile("VOLTARIA4.INI"))).split("\r\n");
    }
    ASSERT_EQ(written.takeLast(), ""); // the last line ends with CR LF too
    QStringList keys;
    for (const QString& line : written)
        keys << line.section('=', 0, 0);
    EXPECT_EQ(keys, fileOrder);
    EXPECT_TRUE(written.contains("CAPTURAGR=1"));
    EXPECT_TRUE(written.contains("BT_CAPTURAGR=1"));
    EXPECT_TRUE(written.contains("CLIPS=0"));
    EXPECT_TRUE(written.contains("BUFFERS=3000"));
    EXPECT_TRUE(written.contains("PLACA_CUE=Placa de teste"));

    Started next(written);
    EXPECT_EQ(differences(atExit, held(*next.w)).toStdString(), "");
}

// Cancel leaves everything as it was, playback included; OK stops both playing decks dry (at
// once, no fade, the same entry reloaded rather than the next), then closes and writes.
TEST(SettingsWrite, ExitQuestionAnsweredBothWays)
{
    for (bool ok : {false, true}) {
        SCOPED_TRACE(ok ? "OK" : "Cancel");
        Started s(fullFile(false));
        const QString first = writeSilentWav(s.h.dataFile("first.wav"));
        const QString second = writeSilentWav(s.h.dataFile("second.wav"));
        for (Deck* d : {&s.w->deckA, &s.w->deckB}) {
            for (const QString& path : {first, second}) {
                d->listBox->addItem(QFileInfo(path).fileName().toUpper());
                d->paths << path;
            }
            d->listBox->setCurrentRow(0);
            (s.w->*d->listClick)();
            d->playButton->click();
            ASSERT_TRUE(d->channel->Playing) << d->listBox->objectName().toStdString();
        }
        s.w->canal_00->LoadFile(first);
        s.w->canal_00->Play();
        const QByteArray before = "FADE=1\r\n";
        s.h.writeDataFile("VOLTARIA4.INI", before);
        s.h.dialogs.confirmAnswers = {ok};

        EXPECT_EQ(s.w->close(), ok);

        ASSERT_EQ(s.h.dialogs.shown.size(), 1);
        EXPECT_EQ(s.h.dialogs.shown[0].kind, "confirm");
        EXPECT_EQ(s.h.dialogs.shown[0].text, "Deseja Sair do Arvesto Voltaria ??");
        EXPECT_EQ(s.h.dialogs.shown[0].caption, "Zulo Sistemas");
        EXPECT_EQ(s.h.dialogs.beeps, 1);
        EXPECT_EQ(s.w->isVisible(), !ok);
        EXPECT_EQ(readAll(s.h.dataFile("VOLTARIA4.INI")) == before, !ok);
        EXPECT_EQ(s.w->lista_a.isEmpty() && s.w->lista_b.isEmpty(), ok);
        for (Deck* d : {&s.w->deckA, &s.w->deckB}) {
            SCOPED_TRACE(d->listBox->objectName().toStdString());
            EXPECT_EQ(d->channel->Playing, !ok);
            EXPECT_EQ(d->monitorTimer->isActive(), !ok);
            EXPECT_EQ(d->stopButton->isEnabled(), !ok);
            EXPECT_FALSE(d->mixing) << "no fade-out";
            EXPECT_EQ(d->listBox->currentRow(), 0);
            EXPECT_EQ(d->channel->FilePath.toStdString(), first.toStdString()) << "the same entry, not the next";
        }
        if (!ok) {
            EXPECT_TRUE(s.w->canal_00->Playing);
        }
    }
}

// A file that cannot be written is reported and the program still ends.
TEST(SettingsWrite, UnwritableFileIsReportedAndTheExitGoesOn)
{
    const struct {
        const char* name;
        std::function<bool(test::Harness&)> spoil; // false when the situation cannot be made here
    } cases[] = {
        {"data folder gone", [](test::Harness& h) { return h.dataDir.remove(); }},
        {"a folder in the file's place",
         [](test::Harness& h) {
             return QFile::remove(h.dataFile("VOLTARIA4.INI")) && QDir(h.dataDir.path()).mkdir("VOLTARIA4.INI");
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Started s(fullFile(false));
        if (!c.spoil(s.h)) {
            std::cout << "[ SKIPPED  ] " << c.name << ": cannot be made for this user\n";
            continue;
        }
        EXPECT_TRUE(s.w->close());
        EXPECT_EQ(s.h.dialogs.texts(), (QStringList{"Deseja Sair do Arvesto Voltaria ??", "Erro ao Gravar arquivo do sistema"}));
        EXPECT_EQ(s.h.dialogs.shown.last().kind, "message");
        EXPECT_EQ(s.h.dialogs.beeps, 1); // the question's; the failure box is plain
        EXPECT_FALSE(s.w->isVisible());
    }
}

// Catches the settings replaced by a truncated (here empty) copy while the exit reports success:
// the small file is written inside QSaveFile's commit, whose failure went unseen.
TEST(SettingsWrite, FullDiskKeepsTheOldFileAndIsReported)
{
    Started s(fullFile(false));
    const QByteArray old = fileBytes(fullFile(true));
    test::onFullDisk(old, "VOLTARIA4.INI", [&](const QString& folder) {
        app::setDataFolder(folder);
        EXPECT_TRUE(s.w->close());
        EXPECT_EQ(s.h.dialogs.texts(), (QStringList{"Deseja Sair do Arvesto Voltaria ??", "Erro ao Gravar arquivo do sistema"}));
        EXPECT_EQ(readAll(folder + "/VOLTARIA4.INI"), old);
        app::setDataFolder(s.h.dataDir.path());
    }, 0);
}
