// The library on the main window: loading and removing entries, the capture button, the search
// box with its results grid, the type-ahead and the start-up listing.
#include "base/path_bytes.h"
#include "app/startup.h"
#include "audio/TCorvoBass.h"
#include "audio/engine.h"
#include "audio/media.h"
#include "base/textfile.h"
#include "library/VoltariaScan.h"
#include "library/library_file.h"
#include "library/time_slice.h"
#include "library/udir.h"
#include "support/full_disk.h"
#include "support/harness.h"
#include "temp_tree.h"
#include "widgets/ClippedTextDelegate.h"
#include "widgets/LedButton.h"
#include "widgets/LedGauge.h"
#include "widgets/MultiSwitch.h"
#include "widgets/StringGrid.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QPointer>
#include <QScopeGuard>
#include <QTreeView>
#include <fcntl.h>
#include <sys/resource.h>
#include <unistd.h>

namespace {

QStringList column(const StringGrid* grid, int col)
{
    QStringList texts;
    for (int row = 1; row < grid->RowCount(); ++row)
        texts << grid->Cells(col, row);
    return texts;
}

QStringList header(const StringGrid* grid)
{
    return {grid->Cells(0, 0), grid->Cells(1, 0), grid->Cells(2, 0)};
}

const QStringList libraryHeader{"Contador", QString::fromUtf8("Descrição da Música"),
                                QString::fromUtf8("Endereço da Música")};

QStringList libraryFile(const test::Harness& h)
{
    QStringList lines;
    textfile::readFileLines(h.dataFile("lista.upd"), lines);
    return lines;
}

// Captures from tree's root as if it were a drive of the drive list.
void selectDrive(Tform_mixer& w, const TempTree& tree)
{
    w.DriveComboBox1->addItem("test", tree.root());
    w.DriveComboBox1->setCurrentIndex(w.DriveComboBox1->count() - 1);
}

// Answers the directory dialog once its modal loop shows it; gives up after five seconds so a
// capture that never shows it fails instead of hanging.
void whenDirDialogShows(std::function<void(Tform_dir&)> answer)
{
    auto* poll = new QTimer;
    auto tries = std::make_shared<int>(0);
    QObject::connect(poll, &QTimer::timeout, [poll, tries, answer] {
        const bool shown = form_dir && form_dir->isVisible();
        if (!shown && ++*tries < 500)
            return;
        poll->stop();
        poll->deleteLater();
        if (shown)
            answer(*form_dir);
        else
            ADD_FAILURE() << "the directory dialog was never shown";
    });
    poll->start(10);
}

void pickFolder(Tform_dir& dialog, const QString& folder, bool subFolders)
{
    emit dialog.Dir->clicked(dialog.folderIndex(folder));
    dialog.Checkbox1->setChecked(subFolders);
    dialog.bitbtn1->click();
}

} // namespace

TEST(LibraryWindow, LoadFillsTheGridFromAWindowsListWithOddLines)
{
    test::Harness h;
    const QByteArray longPath = "/m/" + QByteArray(300, 'x') + ".mp3";
    // CR-only ends and Windows-1252 bytes, a line without "#", one with two.
    h.writeDataFile("lista.upd", "A\xc7\xc3O.MP3#/m/a\xe7\xe3o.mp3\rno hash line\rA#B#/m/a#b.mp3\rLONG.MP3#" + longPath + "\r");
    Tform_mixer& w = h.create();
    for (QPushButton* b : {w.bitbtn14, w.bitbtn15, w.bitbtn21, w.bitbtn13})
        b->setEnabled(false);
    w.carrega_lista();
    EXPECT_EQ(header(w.StringGrid1), libraryHeader);
    EXPECT_EQ(column(w.StringGrid1, 0), (QStringList{"1", "2", "3", "4"}));
    EXPECT_EQ(column(w.StringGrid1, 1), (QStringList{QString::fromUtf8("AÇÃO.MP3"), "", "A#B", "LONG.MP3"}));
    EXPECT_EQ(column(w.StringGrid1, 2),
              (QStringList{QString::fromUtf8("/m/ação.mp3"), "no hash line", "/m/a#b.mp3", QString(longPath)}));
    for (QPushButton* b : {w.bitbtn14, w.bitbtn15, w.bitbtn21, w.bitbtn13})
        EXPECT_TRUE(b->isEnabled()) << b->objectName().toStdString();
}

// Catches a 10 MB line, which no entry can be, reaching the grid, or costing the other lines or
// the file itself, or going by without a word; and a view that measures and elides the whole of
// the longest line an entry can be on every repaint: the cell keeps all of it, what is drawn is cut.
TEST(LibraryWindow, AHugeLineIsLeftOutAndTheLongestDrawnCut)
{
    test::Harness h;
    const QByteArray huge(10 * 1024 * 1024, 'A');
    const QByteArray longest(library::longestLine - 9, 'L');
    const QByteArray file = huge + "#/m/a.mp3\r\n" + longest + "#/m/l.mp3\r\nB.MP3#/m/b.mp3\r\n";
    h.writeDataFile("lista.upd", file);
    Tform_mixer& w = h.create();
    h.show();
    EXPECT_EQ(column(w.StringGrid1, 2), (QStringList{"/m/l.mp3", "/m/b.mp3"}));
    EXPECT_EQ(w.StringGrid1->Cells(1, 1).size(), longest.size());
    EXPECT_EQ(h.dialogs.texts(), QStringList{library::libraryLoadError});
    EXPECT_EQ(h.dialogs.shown.value(0).kind, "notice");
    // A removal would write the file back without the line left out.
    w.StringGrid1->setRow(2);
    w.Excluir1Click();
    EXPECT_EQ(QFileInfo(h.dataFile("lista.upd")).size(), file.size());
    QStyleOptionViewItem option;
    option.initFrom(w.StringGrid1);
    const QSize shown = w.StringGrid1->itemDelegate()->sizeHint(option, w.StringGrid1->model()->index(1, 1));
    EXPECT_LT(shown.width(), 50 * ClippedTextDelegate::shownCharacters);
    EXPECT_FALSE(w.StringGrid1->grab().isNull());
}

// Catches a start that reads a library file of a gigabyte whole into memory (it aborted for lack
// of memory under a 4 GB address-space limit): read a piece at a time, it is told and left as it
// is, and the grid starts empty. The file is sparse: it takes no room on the disk.
TEST(LibraryWindow, AGigabyteFileIsToldAndLeftWhileTheGridStartsEmpty)
{
    test::Harness h;
    const qint64 gigabyte = qint64(1) << 30;
    {
        QFile file(h.dataFile("lista.upd"));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.resize(gigabyte));
    }
    rusage before{}, after{};
    ::getrusage(RUSAGE_SELF, &before);
    Tform_mixer& w = h.create();
    h.show();
    ::getrusage(RUSAGE_SELF, &after);
    EXPECT_EQ(h.dialogs.texts(), QStringList{library::libraryLoadError});
    EXPECT_EQ(w.StringGrid1->RowCount(), 2);
    EXPECT_EQ(w.StringGrid1->Cells(2, 1), "");
    EXPECT_EQ(QFileInfo(h.dataFile("lista.upd")).size(), gigabyte);
    // The peak of resident memory (kilobytes) grew by far less than the file.
    EXPECT_LT(after.ru_maxrss - before.ru_maxrss, 256 * 1024);
}

TEST(LibraryWindow, LoadLeavesTheGridAloneWithoutEntries)
{
    for (const bool fileExists : {false, true}) {
        test::Harness h;
        if (fileExists)
            h.writeDataFile("lista.upd", "");
        Tform_mixer& w = h.create();
        h.show();
        EXPECT_EQ(w.StringGrid1->RowCount(), 2); // the header and one empty row, not five
        w.StringGrid1->setCells(1, 1, "SHOWN");
        w.bitbtn14->setEnabled(false);
        w.carrega_lista();
        EXPECT_EQ(w.StringGrid1->Cells(1, 1), "SHOWN");
        EXPECT_EQ(w.StringGrid1->Cells(1, 0), "");
        EXPECT_FALSE(w.bitbtn14->isEnabled());
    }
}

TEST(LibraryWindow, RemovalTakesTheSelectedLineAndReloads)
{
    test::Harness h;
    h.writeDataFile("lista.upd", "A#/a\r\nB#/b\r\nC#/c\r\n");
    Tform_mixer& w = h.create();
    h.show();
    w.carrega_lista();
    w.StringGrid1->setRow(2);
    w.StringGrid1->setFocus();
    h.key(Qt::Key_Delete);
    QFile file(h.dataFile("lista.upd"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), "A#/a\r\nC#/c\r\n"); // order and line ends kept
    EXPECT_EQ(column(w.StringGrid1, 0), (QStringList{"1", "2"}));
    EXPECT_EQ(column(w.StringGrid1, 1), (QStringList{"A", "C"}));

    // Removing the last entries empties the grid too, not only the file.
    w.Excluir1->trigger();
    w.Excluir1->trigger();
    EXPECT_EQ(libraryFile(h), QStringList{});
    EXPECT_EQ(column(w.StringGrid1, 1), QStringList{""});
    w.Excluir1->trigger(); // nothing left: nothing happens
    EXPECT_TRUE(QFile::exists(h.dataFile("lista.upd")));
}

TEST(LibraryWindow, RemovalWhileTheGridListsAFolderKeepsTheLibrary)
{
    test::Harness h;
    TempTree tree;
    tree.file("x.mp3");
    tree.file("y.mp3");
    h.writeDataFile("lista.upd", "A#/a\r\nB#/b\r\n");
    Tform_mixer& w = h.create();
    const auto restore = qScopeGuard([] { parametro.clear(); });
    parametro = " " + tree.path("y.mp3");
    w.abre_biblioteca();
    ASSERT_EQ(w.StringGrid1->Row(), 2);
    w.Excluir1->trigger();
    EXPECT_EQ(libraryFile(h), (QStringList{"A#/a", "B#/b"})); // row 2 of a folder is no library line
    EXPECT_EQ(column(w.StringGrid1, 1), (QStringList{"A", "B"}));
}

// Catches a depth counted from "/" instead of the selected drive's root (a drive deep in the
// file system lost most of its levels), and a level switch that does not start at position 1.
TEST(LibraryWindow, GeneralCaptureDepthCountsFromTheDrivesRoot)
{
    test::Harness h;
    TempTree tree; // deep below "/", as a home folder or a USB stick is
    QString chain;
    for (int level = 0; level <= 24; ++level) {
        tree.file(chain + QString("f%1.mp3").arg(level));
        chain += QString("l%1/").arg(level + 1);
    }
    Tform_mixer& w = h.create();
    selectDrive(w, tree);
    EXPECT_EQ(w.MMSwitch1->position(), 1);
    // Files of the root and of the levels below it down to 5, 10, 15 or 20.
    const int expected[] = {6, 11, 16, 21};
    for (const int position : {1, 0, 2, 3}) { // the switch as it starts first
        w.MMSwitch1->setPosition(position);
        w.bitbtn13->click();
        EXPECT_EQ(w.StringGrid1->RowCount() - 1, expected[position]) << "position " << position;
        EXPECT_EQ(libraryFile(h).size(), expected[position]) << "position " << position;
    }
    EXPECT_TRUE(libraryFile(h).contains("F20.MP3#" + tree.root() + chain.section('/', 0, 19) + "/f20.mp3"));
}

// Catches labels of the level switch without their own hints (the switch's hint shown instead).
TEST(LibraryWindow, LevelSwitchLabelsCarryTheirHints)
{
    test::Harness h;
    MultiSwitch& levels = *h.create().MMSwitch1;
    const QStringList hints{QString::fromUtf8("Captura o Primeiro Nível de Subdiretórios"),
                            QString::fromUtf8("Captura até o Segundo Nível de Subdiretórios"),
                            QString::fromUtf8("Captura até o Terceiro Nível de Subdiretórios"),
                            QString::fromUtf8("Captura até o Quarto Nível de Subdiretórios")};
    for (int i = 0; i < 4; ++i) {
        const QPoint onLabel(levels.width() - 4, levels.height() * (2 * i + 1) / 8);
        EXPECT_EQ(levels.hintAt(onLabel), hints[i]);
    }
    EXPECT_EQ(levels.hintAt(QPoint(2, 2)), QString::fromUtf8("Nível de Captura de Arquivos ")); // on the track
}

TEST(LibraryWindow, CaptureShowsItsStateAndWritesTheTickedTypesAsOneSortedList)
{
    test::Harness h;
    TempTree tree;
    for (const char* name : {"b.wav", "a/c.OGG", "d.mp3", "e.wma", "a/a.ogg"})
        tree.file(name);
    Tform_mixer& w = h.create();
    h.show();
    selectDrive(w, tree);
    w.captura_geral->setOn(true);
    w.MMSwitch1->setPosition(3);
    w.Checkbox4->setChecked(false);
    w.Checkbox1->setChecked(true);
    w.Checkbox3->setChecked(true);
    QStringList whileRunning;
    w.MixerScan1->OnFileFound = [&](const QString&) {
        if (whileRunning.isEmpty())
            whileRunning = {w.bitbtn13->text(), w.Label33->text(), w.CoolGauge1->isVisible() ? "gauge" : "no gauge"};
    };
    w.bitbtn13->click();
    EXPECT_EQ(whileRunning, (QStringList{"Cancelar", QString::fromUtf8("AGUARDE LOCALIZANDO MÍDIA..."), "no gauge"}));
    EXPECT_EQ(w.bitbtn13->text(), "Capturar");
    EXPECT_EQ(w.Label33->text(), "Status");
    EXPECT_TRUE(w.CoolGauge1->isVisible());
    EXPECT_EQ(w.MixerScan1->SearchFilter, (QStringList{"*.wav", "*.ogg"}));

    const QString r = tree.root();
    const QStringList lines{"A.OGG#" + r + "a/a.ogg", "B.WAV#" + r + "b.wav", "C.OGG#" + r + "a/c.OGG"};
    EXPECT_EQ(libraryFile(h), lines);
    QFile file(h.dataFile("lista.upd"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(file.readAll().endsWith(".OGG\r\n"));
    EXPECT_EQ(header(w.StringGrid1), libraryHeader);
    EXPECT_EQ(column(w.StringGrid1, 0), (QStringList{"1", "2", "3"}));
    EXPECT_EQ(column(w.StringGrid1, 2), (QStringList{r + "a/a.ogg", r + "b.wav", r + "a/c.OGG"}));
    EXPECT_TRUE(h.dialogs.texts().isEmpty());
}

TEST(LibraryWindow, CancelKeepsThePartialResult)
{
    test::Harness h;
    TempTree tree;
    for (int i = 0; i < 20; ++i)
        tree.file(QString("d%1/t%1.mp3").arg(i));
    h.writeDataFile("lista.upd", "OLD#/old\r\n");
    Tform_mixer& w = h.create();
    selectDrive(w, tree);
    w.MMSwitch1->setPosition(3);
    int found = 0;
    // The operator's click arrives while the capture lets pending events run.
    w.MixerScan1->OnFileFound = [&](const QString&) {
        if (++found == 3)
            w.bitbtn13->click();
    };
    w.bitbtn13->click();
    EXPECT_EQ(h.dialogs.texts(), QStringList{QString::fromUtf8("Captura Cancelada pelo usuário")});
    EXPECT_EQ(libraryFile(h).size(), 3);
    EXPECT_EQ(w.StringGrid1->RowCount(), 4);
    EXPECT_EQ(w.bitbtn13->text(), "Capturar");
    EXPECT_EQ(w.Label33->text(), "Status");
}

// Catches the close step run (and the window deleted) under a running capture when the window
// is closed among the events the capture lets run: the close waits, ends the capture as Cancel
// does, and is taken afterwards through the usual question.
TEST(LibraryWindow, ClosingTheWindowDuringACaptureEndsItAndClosesAfterwards)
{
    test::Harness h;
    TempTree tree;
    for (int i = 0; i < 20; ++i)
        tree.file(QString("d%1/t%1.mp3").arg(i));
    Tform_mixer* w = &h.create();
    h.show();
    h.window.release(); // the window deletes itself on close, as the program's does
    w->setAttribute(Qt::WA_DeleteOnClose);
    const QPointer<Tform_mixer> alive(w);
    selectDrive(*w, tree);
    w->captura_geral->setOn(true);
    w->MMSwitch1->setPosition(3);
    bool capturing = true;
    bool deletedWhileCapturing = false;
    QObject::connect(w, &QObject::destroyed, [&] { deletedWhileCapturing = capturing; });
    int found = 0;
    w->MixerScan1->OnFileFound = [&](const QString&) {
        if (++found != 2)
            return;
        QMetaObject::invokeMethod(w, &QWidget::close, Qt::QueuedConnection);
        QTest::qSleep(2 * library::TimeSlice::defaultSliceMs); // the capture lets events run next
    };
    w->bitbtn13->click();
    capturing = false;
    ASSERT_FALSE(deletedWhileCapturing);
    ASSERT_TRUE(alive);
    EXPECT_TRUE(h.dialogs.texts().isEmpty()) << "the close step ran inside the capture";
    EXPECT_TRUE(w->isVisible());
    const int rows = w->StringGrid1->RowCount() - 1;
    EXPECT_LT(rows, 20); // ended early, its partial result kept as after a Cancel
    EXPECT_EQ(libraryFile(h).size(), rows);

    QCoreApplication::processEvents(); // the held close is made now
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(h.dialogs.texts(), QStringList{"Deseja Sair do Arvesto Voltaria ??"});
    EXPECT_FALSE(alive);
}

// Catches names that are not UTF-8 captured, stored or listed with paths that name nothing (their
// bytes turned into U+FFFD), and a name with a line break split over two library lines.
TEST(LibraryWindow, NamesThatAreNotUtf8AreCapturedStoredListedAndPlayed)
{
    test::Harness h;
    TempTree tree;
    const QByteArray root = QFile::encodeName(tree.root());
    const QByteArray foreign = root + "M\xfasica.wav"; // Windows-1252, as zip files bring them
    media::writeWav(tree.path("track.wav"), 44100, 2, 16, 4410, media::sine(440, 44100));
    ASSERT_EQ(::rename(QFile::encodeName(tree.path("track.wav")).constData(), foreign.constData()), 0);
    ASSERT_EQ(::close(::open((root + "two\nlines.wav").constData(), O_CREAT | O_WRONLY, 0644)), 0);
    tree.file("ok.wav");
    Tform_mixer& w = h.create();
    h.show();
    selectDrive(w, tree);
    w.captura_geral->setOn(true);
    w.Checkbox3->setChecked(true);
    w.bitbtn13->click();
    EXPECT_EQ(column(w.StringGrid1, 1), (QStringList{QString::fromUtf8("MÚSICA.WAV"), "OK.WAV"}));
    EXPECT_EQ(base::pathToBytes(w.StringGrid1->Cells(2, 1)), foreign);

    // Read back from the library file at the next start, it still plays.
    Tform_mixer& again = h.create();
    h.show();
    ASSERT_EQ(again.StringGrid1->RowCount() - 1, 2);
    EXPECT_EQ(base::pathToBytes(again.StringGrid1->Cells(2, 1)), foreign);
    again.StringGrid1->setRow(1);
    again.bitbtn14->click(); // "Canal A": the first entry loads at once
    EXPECT_TRUE(h.dialogs.texts().isEmpty()) << h.dialogs.texts().join('|').toStdString();
    audio::StreamInfo loaded;
    EXPECT_TRUE(audio::streamInfo(again.canal_a->Stream, loaded));

    // The command-line listing of that folder names every file as it is.
    const auto restore = qScopeGuard([] { parametro.clear(); });
    parametro = " " + tree.path("ok.wav");
    Tform_mixer& listing = h.create();
    listing.abre_biblioteca();
    EXPECT_EQ(column(listing.StringGrid1, 1), (QStringList{QString::fromUtf8("MÚSICA.WAV"), "OK.WAV"}));
    EXPECT_EQ(base::pathToBytes(listing.StringGrid1->Cells(2, 1)), foreign);
    EXPECT_EQ(listing.StringGrid1->Row(), 2);
}

TEST(LibraryWindow, CaptureFindingNothingKeepsTheFile)
{
    test::Harness h;
    TempTree tree;
    tree.file("a.txt");
    tree.file("b.mp3");
    h.writeDataFile("lista.upd", "OLD#/old\r\n");
    Tform_mixer& w = h.create();
    w.carrega_lista();
    selectDrive(w, tree);
    for (bool mp3Ticked : {false, true}) {
        w.Checkbox4->setChecked(mp3Ticked); // no box ticked, then only a type the tree lacks
        w.Checkbox3->setChecked(!mp3Ticked);
        if (mp3Ticked)
            QFile::remove(tree.path("b.mp3"));
        w.bitbtn13->click();
        EXPECT_EQ(w.StringGrid1->RowCount(), 2);
        EXPECT_EQ(header(w.StringGrid1), libraryHeader);
        EXPECT_EQ(column(w.StringGrid1, 1), QStringList{""});
        EXPECT_EQ(libraryFile(h), QStringList{"OLD#/old"});
    }
    EXPECT_TRUE(h.dialogs.texts().isEmpty());
}

TEST(LibraryWindow, FailedSaveIsReportedAndTheGridStillShowsTheResult)
{
    test::Harness h;
    TempTree tree;
    tree.file("a.mp3");
    QDir(h.dataDir.path()).mkdir("lista.upd"); // a folder where the file should go
    Tform_mixer& w = h.create();
    selectDrive(w, tree);
    w.bitbtn13->click();
    EXPECT_EQ(h.dialogs.texts(), QStringList{QString::fromUtf8("Erro ao Salvar Lista de Músicas")});
    EXPECT_EQ(column(w.StringGrid1, 1), QStringList{"A.MP3"});
}

// Catches a small library (written inside QSaveFile's commit) replaced by a truncated copy with
// success reported, and a large one failing midway: the old file stays whole, the failure shows.
TEST(LibraryWindow, FullDiskKeepsTheOldLibraryAndReportsTheFailure)
{
    const QByteArray old = "OLD.MP3#/m/old.mp3\r\n";
    for (const int files : {40, 120}) { // about 6 KB and 50 KB of lines, both past the room left
        SCOPED_TRACE(files);
        test::Harness h;
        TempTree tree;
        for (int i = 0; i < files; ++i)
            tree.file(QString("%1 %2.mp3").arg(i, 3, 10, QChar('0')).arg(QString(files > 40 ? 190 : 40, 'x')));
        Tform_mixer& w = h.create();
        selectDrive(w, tree);
        test::onFullDisk(old, "lista.upd", [&](const QString& folder) {
            app::setDataFolder(folder);
            w.bitbtn13->click();
            EXPECT_EQ(h.dialogs.texts(), QStringList{QString::fromUtf8("Erro ao Salvar Lista de Músicas")});
            EXPECT_EQ(w.StringGrid1->RowCount() - 1, files); // the grid still shows what was found
            QFile file(folder + "/lista.upd");
            ASSERT_TRUE(file.open(QIODevice::ReadOnly));
            EXPECT_EQ(file.readAll(), old);
            app::setDataFolder(h.dataDir.path());
        });
    }
}

TEST(LibraryWindow, DirectoryCaptureUsesTheChosenFolderAndDepthTwenty)
{
    test::Harness h;
    TempTree tree;
    tree.file("music/a.mp3");
    tree.file("music/sub/b.mp3");
    tree.file("other.mp3");
    Tform_mixer& w = h.create();
    form_dir = startup::createDirDialog(w);
    h.show();
    w.captura_geral->setOn(false);
    selectDrive(w, tree);
    h.show();

    whenDirDialogShows([&](Tform_dir& d) {
        emit d.Dir->clicked(d.folderIndex(tree.root()));
        d.bitbtn1->click(); // the selected drive's root: captured with "Captura Geral" instead
        pickFolder(d, tree.path("music"), false);
    });
    w.bitbtn13->click();
    EXPECT_EQ(h.dialogs.texts(), QStringList{"Selecione uma Pasta"});
    EXPECT_EQ(w.MixerScan1->xnivel, 20); // whatever the level switch shows
    EXPECT_EQ(w.MixerScan1->FilePath, tree.path("music/"));
    EXPECT_EQ(libraryFile(h), QStringList{"A.MP3#" + tree.path("music/a.mp3")});
    EXPECT_EQ(w.pasta_captura, tree.path("music"));

    whenDirDialogShows([&](Tform_dir& d) {
        EXPECT_FALSE(d.Checkbox1->isChecked()); // kept from the last showing
        pickFolder(d, tree.path("music"), true);
    });
    w.bitbtn13->click();
    EXPECT_EQ(libraryFile(h).size(), 2);
    EXPECT_TRUE(w.MixerScan1->SubDirectories);
}

TEST(LibraryWindow, CancelledDirectoryDialogReloadsTheLibrary)
{
    test::Harness h;
    h.writeDataFile("lista.upd", "A#/a\r\n");
    Tform_mixer& w = h.create();
    form_dir = startup::createDirDialog(w);
    h.show();
    w.captura_geral->setOn(false);
    w.pasta_captura = "/somewhere/else/";
    w.DriveComboBox1->addItem("elsewhere", "/elsewhere");
    w.DriveComboBox1->setCurrentIndex(w.DriveComboBox1->count() - 1);
    w.bitbtn13->setEnabled(false);
    QString openedAt;
    whenDirDialogShows([&](Tform_dir& d) {
        openedAt = w.pasta_captura;
        d.bitbtn2->click();
    });
    w.BitBtn13Click();
    EXPECT_EQ(openedAt, "/elsewhere/"); // the remembered folder lies on another drive
    EXPECT_TRUE(w.bitbtn13->isEnabled());
    EXPECT_EQ(column(w.StringGrid1, 1), QStringList{"A"});
    EXPECT_EQ(w.bitbtn13->text(), "Capturar");
}

namespace {

struct SearchWindow {
    test::Harness h;
    Tform_mixer& w;
    explicit SearchWindow(const QByteArray& library) : w((h.writeDataFile("lista.upd", library), h.create()))
    {
        h.show(); // the show step loads the library
    }
    // The operator clicks into the box (which empties it), types and presses Enter.
    void search(const QString& typed)
    {
        w.StringGrid1->setFocus(Qt::MouseFocusReason);
        w.edit1->setFocus(Qt::MouseFocusReason);
        QTest::keyClicks(w.edit1, typed);
        QTest::keyClick(w.edit1, Qt::Key_Return);
    }
};

} // namespace

TEST(LibraryWindow, SearchShowsMatchesInTheirOwnGrid)
{
    SearchWindow s("ROCK ONE.MP3#/r1\r\nPOP.MP3#/p\r\nHARD ROCK.MP3#/r2\r\n");
    s.search("rock");
    Tform_mixer& w = s.w;
    EXPECT_TRUE(w.StringGrid2->isVisible());
    EXPECT_TRUE(w.StringGrid2->hasFocus());
    EXPECT_EQ(w.StringGrid2->Cells(1, 0), "<ESC>-SAIR do modo Pesquisa");
    EXPECT_EQ(column(w.StringGrid2, 0), (QStringList{"1", "3"})); // the library row numbers
    EXPECT_EQ(column(w.StringGrid2, 1), (QStringList{"ROCK ONE.MP3", "HARD ROCK.MP3"}));
    EXPECT_EQ(column(w.StringGrid2, 2), (QStringList{"/r1", "/r2"}));

    QTest::keyClick(w.StringGrid2, Qt::Key_Escape);
    EXPECT_FALSE(w.StringGrid2->isVisible());
    EXPECT_EQ(w.edit1->text(), "rock");

    s.search("pop");
    EXPECT_EQ(column(w.StringGrid2, 1), QStringList{"POP.MP3"});
    w.StringGrid1->setFocus(Qt::MouseFocusReason);
    w.edit1->setFocus(Qt::MouseFocusReason); // entering the box leaves search mode and empties it
    EXPECT_FALSE(w.StringGrid2->isVisible());
    EXPECT_EQ(w.edit1->text(), "");
    EXPECT_TRUE(s.h.dialogs.texts().isEmpty());
}

// Catches a focus that is not given back to the search box after the message (the message box
// takes it meanwhile), and a box emptied by getting it back.
TEST(LibraryWindow, SearchWithoutMatchBeepsAndGivesTheFocusBackToTheBox)
{
    SearchWindow s("ROCK.MP3#/r\r\n");
    Tform_mixer& w = s.w;
    s.h.dialogs.whileMessageShows = [&w] { w.StringGrid1->setFocus(Qt::OtherFocusReason); };
    s.search("jazz");
    EXPECT_EQ(s.h.dialogs.texts(), QStringList{QString::fromUtf8("Nenhuma Ocorrência foi Encontrada !!")});
    EXPECT_EQ(s.h.dialogs.beeps, 1);
    EXPECT_FALSE(w.StringGrid2->isVisible());
    EXPECT_TRUE(w.edit1->hasFocus());
    EXPECT_EQ(w.edit1->text(), "jazz");

    s.h.dialogs.clear();
    s.search("   "); // a blank box: the key only resets the results grid
    EXPECT_TRUE(s.h.dialogs.texts().isEmpty());
    EXPECT_EQ(w.StringGrid2->RowCount(), 2);
    EXPECT_EQ(w.StringGrid2->Cells(1, 1), "");
}

TEST(LibraryWindow, TypeAheadOnTheGridKeys)
{
    SearchWindow s("ABBA.MP3#/a\r\nMADONNA.MP3#/m\r\nMETALLICA.MP3#/me\r\nZZ.MP3#/z\r\n");
    Tform_mixer& w = s.w;
    StringGrid* grid = w.StringGrid1;
    grid->setFocus();
    QTest::keyClick(grid, Qt::Key_M);
    EXPECT_EQ(grid->Row(), 2);
    QTest::keyClick(grid, Qt::Key_E);
    EXPECT_EQ(grid->Row(), 3);
    EXPECT_EQ(w.edit1->text(), "ME");
    QTest::keyClick(grid, Qt::Key_Backspace);
    EXPECT_EQ(w.edit1->text(), "M");
    EXPECT_EQ(grid->Row(), 3);
    QTest::keyClick(grid, Qt::Key_Q); // no "MQ": the box is rewritten with the same prefix
    EXPECT_EQ(w.texto_busca, "M");
    EXPECT_EQ(grid->Row(), 3);
    QTest::keyClick(grid, Qt::Key_Down); // the grid still moves on its own keys
    EXPECT_EQ(grid->Row(), 4);

    QTest::mouseClick(grid->viewport(), Qt::RightButton, {}, grid->visualRect(grid->model()->index(1, 1)).center());
    EXPECT_EQ(w.texto_busca, "");
    QTest::keyClick(grid, Qt::Key_Z);
    EXPECT_EQ(grid->Row(), 4);
    EXPECT_EQ(w.edit1->text(), "Z");
}

// Every track of the folder is listed, OGG and WMA too (the first row, an OGG, went missing),
// under the grid's header texts (the visible header cells stayed blank).
TEST(LibraryWindow, CommandLineFileListsItsFolderWithTheFileSelected)
{
    test::Harness h;
    TempTree tree;
    for (const char* name : {"b.wav", "Song.Mp3", "Avô e Neto.ogg", "notes.txt", "d.WMA"})
        tree.file(name);
    h.writeDataFile("lista.upd", "LIB#/lib\r\n");
    const auto restore = qScopeGuard([] { parametro.clear(); });
    parametro = " " + tree.path("Song.Mp3");
    Tform_mixer& w = h.create();
    h.show(); // the show step lists the named file's folder instead of the library
    EXPECT_EQ(w.StringGrid1->Cells(0, 0), QString::fromUtf8("Descrição das Músicas"));
    EXPECT_EQ(w.StringGrid1->Cells(1, 0), QString::fromUtf8("Descrição da Música"));
    EXPECT_EQ(w.StringGrid1->Cells(2, 0), QString::fromUtf8("Endereço da Música"));
    EXPECT_EQ(column(w.StringGrid1, 0), (QStringList{"1", "2", "3", "4"}));
    EXPECT_EQ(column(w.StringGrid1, 1), (QStringList{QString::fromUtf8("AVÔ E NETO.OGG"), "B.WAV", "D.WMA", "SONG.MP3"}));
    // The paths name the files as the file system spells them.
    EXPECT_EQ(column(w.StringGrid1, 2), (QStringList{tree.path("Avô e Neto.ogg"), tree.path("b.wav"), tree.path("d.WMA"),
                                                     tree.path("Song.Mp3")}));
    EXPECT_EQ(w.StringGrid1->Row(), 4);
    EXPECT_EQ(w.arquivo_parametro, "Song.Mp3");
    EXPECT_EQ(parametro, " " + tree.path("Song.Mp3"));

    parametro = " " + tree.path("notes.txt"); // not a track: listed, nothing selected
    Tform_mixer& again = h.create();
    again.abre_biblioteca();
    EXPECT_EQ(column(again.StringGrid1, 1).size(), 4);
    EXPECT_EQ(again.StringGrid1->Row(), 1);

    parametro = " " + tree.path("gone.mp3"); // no such file: the library is loaded
    Tform_mixer& third = h.create();
    third.abre_biblioteca();
    EXPECT_EQ(parametro, "");
    EXPECT_EQ(column(third.StringGrid1, 1), QStringList{"LIB"});
}
