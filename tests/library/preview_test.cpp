// The library preview on the main window: its buttons, level gauge, stop event and menu, the
// device rule with the cue button, the grid's double click, presses and drags, "PRG", the
// start-up listing's preview and the exit's stop.
#include "support/eventually.h"
#include "audio/media.h"
#include "support/harness.h"

#include "app/long_operation.h"
#include "audio/TCorvoBass.h"
#include "library/library_file.h"
#include "widgets/LedCounter.h"
#include "widgets/LedGauge.h"
#include "widgets/StringGrid.h"

#include <QAction>
#include <QCloseEvent>
#include <QDir>
#include <QDrag>
#include <QListWidget>
#include <QMenu>
#include <QPointer>
#include <QPushButton>
#include <QScopeGuard>
#include <QThread>
#include <QTimer>

namespace {

constexpr int16_t musicDevice = 1;
constexpr int16_t cueDevice = 2;

class Preview : public ::testing::Test
{
public:
    // A tone of `seconds` in the data folder's "m" folder.
    QString track(const QString& name, double seconds = 1.0) const
    {
        QDir().mkpath(h.dataFile("m"));
        return media::writeWav(h.dataFile("m/" + name), 44100, 2, 16, int64_t(seconds * 44100), media::sine(440, 44100));
    }

    // Starts the window on music device 1 and cue device 2 with a library of these files, in order.
    Tform_mixer& start(const QStringList& files)
    {
        h.writeDataFile("VOLTARIA4.INI", "DEVICE_TRANSMISSAO=1\r\nDEVICE_CUE=2\r\n");
        QByteArray lines;
        for (const QString& file : files) {
            const qsizetype slash = file.lastIndexOf(u'/') + 1;
            lines += library::captureLine(file.left(slash), file.mid(slash)).toUtf8() + "\r\n";
        }
        h.writeDataFile("lista.upd", lines);
        w = &h.create();
        h.show();
        return *w;
    }

    // The device the preview's stream was placed on; 0 when nothing is loaded.
    int previewDevice() const
    {
        audio::StreamInfo info;
        return audio::streamInfo(w->canal_00->Stream, info) ? info.device : 0;
    }

    void enterSearchMode() const
    {
        w->StringGrid2->setRows({{"1"}, {"CUE.WAV"}, {w->StringGrid1->Cells(2, 1)}});
        w->StringGrid2->show();
    }

    void openMenu() const { QMetaObject::invokeMethod(w->PopupMenu7, "aboutToShow"); }

    QPoint rowCentre(const StringGrid* grid, int row) const
    {
        return grid->visualRect(grid->model()->index(row, 1)).center();
    }

    // What the operator sees of the preview: Play, Stop, the level timer and gauge, the menu.
    void expectStopped() const
    {
        EXPECT_FALSE(w->canal_00->Playing);
        EXPECT_TRUE(w->bitbtn21->isEnabled());
        EXPECT_FALSE(w->bitbtn23->isEnabled());
        EXPECT_FALSE(w->Timer4->isActive());
        EXPECT_EQ(w->CoolGauge1->value(), 0);
    }
    void expectPlaying() const
    {
        EXPECT_TRUE(w->canal_00->Playing);
        EXPECT_FALSE(w->bitbtn21->isEnabled());
        EXPECT_TRUE(w->bitbtn23->isEnabled());
        EXPECT_TRUE(w->Timer4->isActive());
    }

    test::Harness h;
    Tform_mixer* w = nullptr;
};

// Catches a preview that touches a deck, a gauge that stays dark while a tone plays, and any of
// the three ways out of playing that forgets to bring the buttons, timer, gauge or menu back.
TEST_F(Preview, PlaysApartFromTheDecksAndEveryStopResetsTheControls)
{
    struct Case {
        const char* how;
        std::function<void(Preview&)> stop;
    };
    const Case cases[] = {
        {"Stop button", [](Preview& p) { p.h.click("bitbtn23"); }},
        {"menu Stop", [](Preview& p) { p.w->MenuItem8->trigger(); }},
        {"end of the track", [](Preview& p) {
             p.h.render(1200);
             ASSERT_EVENTUALLY(!p.w->canal_00->Playing, 3000);
         }},
    };
    const QString um = track("um.wav");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.how);
        start({um});
        h.click("bitbtn21");
        expectPlaying();
        EXPECT_EQ(w->canal_00->FilePath, h.dataFile("m/um.wav"));
        h.render(200);
        h.tick("Timer4");
        EXPECT_GT(w->CoolGauge1->value(), 50);
        openMenu();
        EXPECT_FALSE(w->Excluir1->isEnabled());

        c.stop(*this);
        expectStopped();
        EXPECT_TRUE(w->MenuItem6->isEnabled());
        EXPECT_FALSE(w->MenuItem8->isEnabled());
        EXPECT_TRUE(w->Excluir1->isEnabled());
        h.tick("Timer4"); // a late tick leaves the stopped gauge at 0
        EXPECT_EQ(w->CoolGauge1->value(), 0);
        EXPECT_FALSE(w->canal_a->Loaded || w->canal_b->Loaded);
        EXPECT_TRUE(h.dialogs.texts().isEmpty());
    }
}

// Catches a device rule that lets the switch decide in search mode, or ignores it in normal mode.
TEST_F(Preview, DeviceRule)
{
    struct Case {
        bool searchMode;
        bool cueOn;
        int device;
    };
    const QString um = track("um.wav");
    for (const Case& c : {Case{false, false, musicDevice}, Case{false, true, cueDevice}, Case{true, false, cueDevice},
                          Case{true, true, cueDevice}}) {
        SCOPED_TRACE(testing::Message() << "search " << c.searchMode << " cue " << c.cueOn);
        start({um});
        if (c.cueOn)
            h.click("SRColorButton1");
        if (c.searchMode)
            enterSearchMode();
        w->BitBtn21Click();
        expectPlaying();
        EXPECT_EQ(previewDevice(), c.device);
        EXPECT_EQ(w->canal_00->Device, c.device);
    }
}

// Catches a cue switch that follows a click during a preview (the playing preview must keep its
// device), a button whose look or held state disagrees with the switch, or a look that is wrong
// at start-up.
TEST_F(Preview, CueButton)
{
    start({track("um.wav"), track("dois.wav")});
    QPushButton* cue = w->SRColorButton1;
    const auto expectCue = [&](bool on) {
        EXPECT_EQ(w->cue_ligado, on);
        EXPECT_EQ(cue->isChecked(), on);
        EXPECT_EQ(cue->palette().color(QPalette::Button), on ? QColor(255, 0, 0) : QColor(128, 128, 128));
    };
    expectCue(false);
    h.click("SRColorButton1");
    expectCue(true);

    h.click("bitbtn21");
    EXPECT_EQ(previewDevice(), cueDevice);
    QTest::mouseClick(cue, Qt::LeftButton); // ignored: the preview plays
    expectCue(true);
    EXPECT_EQ(previewDevice(), cueDevice);

    h.click("bitbtn23");
    QTest::mouseClick(cue, Qt::LeftButton);
    expectCue(false);
    w->StringGrid1->setRow(2);
    h.click("bitbtn21");
    EXPECT_EQ(previewDevice(), musicDevice);
    EXPECT_TRUE(h.dialogs.texts().isEmpty());
}

// Catches a double click that does not restart on the clicked row, one on a row without a
// description that stops or starts anything, and a right button double click taken as one.
TEST_F(Preview, DoubleClickRestartsOnTheClickedTrack)
{
    start({track("um.wav"), track("dois.wav")});
    QWidget* viewport = w->StringGrid1->viewport();
    QTest::mouseDClick(viewport, Qt::LeftButton, {}, rowCentre(w->StringGrid1, 1));
    expectPlaying();
    EXPECT_EQ(w->canal_00->FileName, "um.wav");
    h.render(100);
    h.tick("Timer4");

    QTest::mouseDClick(viewport, Qt::LeftButton, {}, rowCentre(w->StringGrid1, 2));
    expectPlaying();
    EXPECT_EQ(w->canal_00->FileName, "dois.wav");
    EXPECT_EQ(w->canal_00->GetPosition(), 0);

    QTest::mouseDClick(viewport, Qt::RightButton, {}, rowCentre(w->StringGrid1, 1));
    EXPECT_EQ(w->canal_00->FileName, "dois.wav");

    w->StringGrid1->setCells(1, 1, "");
    w->StringGrid1->setRow(1);
    w->StringGrid1DblClick();
    EXPECT_EQ(w->canal_00->FileName, "dois.wav");
    EXPECT_TRUE(w->canal_00->Playing);
    EXPECT_TRUE(h.dialogs.texts().isEmpty());
}

// Catches a video path that reaches the channel in normal mode (in any letter case), a message
// for it, and the rule wrongly applied to the search results.
TEST_F(Preview, VideoPathsAreNeverLoadedFromTheLibrary)
{
    struct Case {
        const char* name;
        bool searchMode;
        bool plays;
    };
    for (const Case& c : {Case{"clip.avi", false, false}, Case{"CLIP.MpG", false, false}, Case{"semponto_avi", false, false},
                          Case{"clip.avi", true, true}, Case{"clip.mpga", false, true}}) {
        SCOPED_TRACE(c.name);
        start({track(c.name)}); // a playable tone under a video name
        if (c.searchMode)
            enterSearchMode();
        h.click("bitbtn21");
        EXPECT_EQ(w->canal_00->Loaded, c.plays);
        if (c.plays)
            expectPlaying();
        else
            expectStopped();
        EXPECT_TRUE(h.dialogs.texts().isEmpty());
    }
}

// Catches a failed load that leaves the preview "playing", a missing message, or a second
// message on top of the channel's own refusal of an 8-bit file.
TEST_F(Preview, LoadErrors)
{
    const QString eightBit = media::writeWav(h.dataFile("oito.wav"), 44100, 2, 8, 4410, media::sine(440, 44100));
    const QString text = h.dataFile("texto.mp3");
    h.writeDataFile("texto.mp3", "not audio");
    struct Case {
        QString path;
        QStringList messages;
    };
    const QString loadError = QString::fromUtf8("Erro ao Carregar Mídia - Verifique !!");
    for (const Case& c : {Case{h.dataFile("sumiu.wav"), {loadError}}, Case{text, {loadError}},
                          Case{eightBit, {"16-bit stereo sources only. Please select another."}}}) {
        SCOPED_TRACE(c.path.toStdString());
        start({c.path});
        h.dialogs.clear();
        h.click("bitbtn21");
        expectStopped();
        EXPECT_EQ(h.dialogs.texts(), c.messages);
    }
}

// Catches "Excluir" (and its Delete key) left working while a preview plays.
TEST_F(Preview, LibraryEntryCannotBeRemovedWhilePreviewing)
{
    start({track("um.wav"), track("dois.wav")});
    h.click("bitbtn21");
    openMenu();
    EXPECT_FALSE(w->MenuItem6->isEnabled());
    EXPECT_TRUE(w->MenuItem8->isEnabled());
    w->StringGrid1->setFocus();
    QTest::keyClick(w->StringGrid1, Qt::Key_Delete);
    EXPECT_EQ(w->StringGrid1->RowCount(), 3);

    h.click("bitbtn23");
    openMenu();
    EXPECT_TRUE(w->Excluir1->isEnabled());
    QTest::keyClick(w->StringGrid1, Qt::Key_Delete);
    EXPECT_EQ(w->StringGrid1->RowCount(), 2);
}

// Catches a deal that starts on deck B, skips or repeats rows, empties the playlists first,
// loads a deck or moves a playlist's selection, takes the results grid in search mode, or does
// not leave the library grid on the last row dealt.
TEST_F(Preview, PrgDealsTheLibraryOutTwice)
{
    QStringList files;
    for (const char* name : {"r1.wav", "r2.wav", "r3.wav", "r4.wav", "r5.wav"})
        files << h.dataFile("m/" + QString(name)); // never loaded: they need not exist
    start(files);
    const auto names = [](const QListWidget* list) {
        QStringList all;
        for (int i = 0; i < list->count(); ++i)
            all << list->item(i)->text();
        return all;
    };
    h.click("bITBTN24");
    EXPECT_EQ(names(w->ListBox1), (QStringList{"R1.WAV", "R3.WAV", "R5.WAV"}));
    EXPECT_EQ(names(w->ListBox2), (QStringList{"R2.WAV", "R4.WAV"}));
    EXPECT_EQ(w->lista_a, (QStringList{files[0], files[2], files[4]}));
    EXPECT_EQ(w->lista_b, (QStringList{files[1], files[3]}));
    EXPECT_EQ(w->CONTA_ESQUERDA->value(), 3);
    EXPECT_EQ(w->conta_direita->value(), 2);
    EXPECT_EQ(w->StringGrid1->Row(), 5);

    enterSearchMode(); // the library grid is dealt out all the same
    h.click("bITBTN24");
    EXPECT_EQ(names(w->ListBox1), (QStringList{"R1.WAV", "R3.WAV", "R5.WAV", "R1.WAV", "R3.WAV", "R5.WAV"}));
    EXPECT_EQ(w->lista_b, (QStringList{files[1], files[3], files[1], files[3]}));
    EXPECT_EQ(w->CONTA_ESQUERDA->value(), 6);
    EXPECT_EQ(w->conta_direita->value(), 4);
    EXPECT_EQ(w->StringGrid1->Row(), 5);
    EXPECT_EQ(w->ListBox1->currentRow(), -1);
    EXPECT_EQ(w->ListBox2->currentRow(), -1);
    EXPECT_FALSE(w->canal_a->Loaded || w->canal_b->Loaded);
    EXPECT_TRUE(h.dialogs.shown.isEmpty());
}

// Catches a deal past 10 001 rows, a last row other than the last one dealt, and an empty
// library or a gap that is dealt at all.
TEST_F(Preview, PrgLimitsAndGaps)
{
    QByteArray lines;
    for (int i = 1; i <= 10005; ++i)
        lines += QString("T%1.MP3#/m/t%1.mp3\r\n").arg(i).toUtf8();
    h.writeDataFile("lista.upd", lines);
    w = &h.create();
    h.show();
    w->BitBtn24Click();
    EXPECT_EQ(w->ListBox1->count(), 5001);
    EXPECT_EQ(w->ListBox2->count(), 5000);
    EXPECT_EQ(w->lista_a.last(), "/m/t10001.mp3");
    EXPECT_EQ(w->StringGrid1->Row(), 10001);

    w->bitbtn17->click();
    w->BitBtn19Click();
    w->StringGrid1->setCells(1, 3, ""); // a row without description ends the deal
    w->BitBtn24Click();
    EXPECT_EQ(w->lista_a, QStringList{"/m/t1.mp3"});
    EXPECT_EQ(w->lista_b, QStringList{"/m/t2.mp3"});
    EXPECT_EQ(w->StringGrid1->Row(), 3);

    w->StringGrid1->setCells(1, 1, ""); // no first description: nothing at all
    w->StringGrid1->setRow(7);
    w->BitBtn24Click();
    EXPECT_EQ(w->ListBox1->count(), 1);
    EXPECT_EQ(w->StringGrid1->Row(), 7);
}

// Catches a window deleted under the running deal (a crash, or a sanitizer's report): a close
// request taken while the deal lets events run is held until the deal has ended.
TEST_F(Preview, CloseRequestDuringPrgIsTakenAfterTheDeal)
{
    QByteArray lines;
    for (int i = 1; i <= 10001; ++i)
        lines += QString("T%1.MP3#/m/t%1.mp3\r\n").arg(i).toUtf8();
    h.writeDataFile("lista.upd", lines);
    Tform_mixer* window = &h.create();
    h.show();
    h.window.release(); // deleted on close, as the program's window is
    window->setAttribute(Qt::WA_DeleteOnClose);
    const QPointer<Tform_mixer> alive(window);
    int closes = 0;
    QTimer::singleShot(0, window, [&] {
        ++closes;
        window->close();
    });
    // Two slices run out: in the first the close request comes in, in the second a window
    // deleted by it would be used.
    int dealtToA = 0, longSlices = 0;
    QObject::connect(window->ListBox1->model(), &QAbstractItemModel::rowsInserted, [&] {
        ++dealtToA;
        if (longSlices < closes + 1) {
            ++longSlices;
            QThread::msleep(60);
        }
    });
    window->BitBtn24Click();
    ASSERT_EVENTUALLY(!alive, 5000);
    EXPECT_EQ(closes, 1);
    EXPECT_EQ(dealtToA, 5001);
    EXPECT_EQ(h.dialogs.texts(), QStringList{"Deseja Sair do Arvesto Voltaria ??"});
}

// Catches a selection change that keeps the old hint or a deck list's drag row.
TEST_F(Preview, SelectionChangeShowsThePathAndEndsListDrags)
{
    start({track("um.wav"), track("dois.wav")});
    w->linha_drag_a = 1;
    w->linha_drag_b = 0;
    w->StringGrid1->setFocus();
    QTest::keyClick(w->StringGrid1, Qt::Key_Down);
    EXPECT_EQ(w->StringGrid1->toolTip(), h.dataFile("m/dois.wav"));
    EXPECT_EQ(w->linha_drag_a, -1);
    EXPECT_EQ(w->linha_drag_b, -1);
}

// Catches a press that keeps the type-ahead text, a drag begun by another button, a row without
// counter dragged before the threshold, and a numbered row that waits for it. Both grids.
TEST_F(Preview, PressesEmptyTheTypeAheadAndStartDrags)
{
    start({track("um.wav"), track("dois.wav")});
    w->StringGrid1->setCells(0, 2, " "); // a row whose counter cell is blank
    w->StringGrid2->setRows({{"1", ""}, {"UM.WAV", "DOIS.WAV"}, {"/a", "/b"}});
    struct Case {
        bool searchGrid;
        int row;
        Qt::MouseButton button;
        int moveBy;
        bool drags;
    };
    const int threshold = QApplication::startDragDistance();
    for (const Case& c : {Case{false, 1, Qt::LeftButton, 1, true}, Case{false, 2, Qt::LeftButton, 1, false},
                          Case{false, 2, Qt::LeftButton, threshold, true}, Case{false, 1, Qt::RightButton, threshold, false},
                          Case{true, 1, Qt::LeftButton, 1, true}, Case{true, 2, Qt::LeftButton, threshold - 1, false}}) {
        SCOPED_TRACE(testing::Message() << "grid " << (c.searchGrid ? 2 : 1) << " row " << c.row << " move " << c.moveBy);
        StringGrid* grid = c.searchGrid ? w->StringGrid2 : w->StringGrid1;
        w->StringGrid2->setVisible(c.searchGrid);
        w->texto_busca = "AB";
        QWidget* viewport = grid->viewport();
        const QPoint at = rowCentre(grid, c.row);
        QTest::mousePress(viewport, c.button, {}, at);
        EXPECT_EQ(w->texto_busca, "");
        EXPECT_EQ(grid->Row(), c.button == Qt::LeftButton ? c.row : grid->Row());
        QMouseEvent move(QEvent::MouseMove, at + QPoint(c.moveBy, 0), viewport->mapToGlobal(at + QPoint(c.moveBy, 0)),
                         Qt::NoButton, c.button, {});
        QApplication::sendEvent(viewport, &move);
        QDrag* drag = grid->findChild<QDrag*>();
        EXPECT_EQ(drag != nullptr, c.drags);
        delete drag;
        QTest::mouseRelease(viewport, c.button, {}, at);
    }
}

// Catches a start-up listing that does not preview the named file, and an exit that leaves the
// preview playing.
TEST_F(Preview, StartUpListingPreviewsAndTheExitStopsIt)
{
    const QString named = track("Nomeado.wav");
    track("antes.wav");
    const auto restore = qScopeGuard([] { parametro.clear(); });
    parametro = " " + named;
    start({});
    EXPECT_EQ(w->StringGrid1->Row(), 2);
    expectPlaying();
    EXPECT_EQ(w->canal_00->FilePath, named);
    EXPECT_EQ(previewDevice(), musicDevice);

    w->close();
    EXPECT_FALSE(w->canal_00->Playing);
    EXPECT_FALSE(w->Timer4->isActive());
    EXPECT_TRUE(w->bitbtn21->isEnabled());
}

// A file another copy hands over while a library preview plays in search mode: the window lists
// the file's folder in the library grid and previews the file instead, on the music device as
// the cue is off. During a long operation the listing waits for its end; a command line that
// names no file only brings the window back.
TEST_F(Preview, FileFromAnotherCopyIsListedAndPreviewedOnceNoLongOperationRuns)
{
    const QString playing = track("tocando.wav", 5);
    const QString named = track("Pedido.wav", 5);
    start({playing});
    const auto restore = qScopeGuard([] { parametro.clear(); });
    enterSearchMode();
    w->BitBtn21Click();
    ASSERT_EQ(w->canal_00->FilePath, playing);
    w->hide();

    w->openFromOutside(" /no/such/file.wav");
    EXPECT_TRUE(w->isVisible());
    EXPECT_EQ(w->canal_00->FilePath, playing);
    EXPECT_EQ(parametro, "");

    {
        const app::LongOperation capture;
        w->openFromOutside(" " + named);
        EXPECT_EQ(w->StringGrid1->Cells(2, 1), playing) << "the grid is left alone while the operation runs";
    }
    ASSERT_EVENTUALLY(w->canal_00->FilePath == named, 3000);
    EXPECT_TRUE(w->StringGrid2->isHidden());
    EXPECT_EQ(w->StringGrid1->Cells(1, 1), "PEDIDO.WAV");
    EXPECT_EQ(w->StringGrid1->Cells(1, 2), "TOCANDO.WAV");
    EXPECT_EQ(w->StringGrid1->Row(), 1);
    expectPlaying();
    EXPECT_EQ(previewDevice(), musicDevice);
    EXPECT_EQ(parametro, " " + named);
    EXPECT_EQ(h.dialogs.texts(), QStringList{});
}

} // namespace
