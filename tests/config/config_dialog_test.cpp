// The configuration dialog: opening from the window, the device lists and the fade time, OK with
// its restart steps, Cancel, the fade picture and dragging the dialog.
#include "audio/media.h"
#include "support/harness.h"

#include "audio/TCorvoBass.h"
#include "config/fade_picture.h"
#include "config/uform_config.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPointer>
#include <QPushButton>
#include <QRubberBand>
#include <QSlider>
#include <gtest/gtest.h>

namespace {

// The manual backend's outputs, then the null device.
const QStringList kDevices{"Saída padrão do sistema", "Placa de teste", "Sem saída de som"};
const QString kRestart = "O Voltaria precisa ser Fechado para ser Atualizado";
const QString kExit = "Deseja Sair do Arvesto Voltaria ??";

// Picks entry `index` from the list's drop-down as the operator does, the selected one included.
void pick(QComboBox* list, int index)
{
    list->showPopup();
    QAbstractItemView* view = list->view();
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(view->model()->index(index, 0)).center());
    QApplication::processEvents();
}

class ConfigDialogTest : public ::testing::Test
{
public:
    // The window started over a settings file that holds only these keys.
    Tform_mixer& start(int music, int cue, int fade)
    {
        h.writeDataFile("VOLTARIA4.INI",
                        QStringLiteral("DEVICE_TRANSMISSAO=%1\r\nDEVICE_CUE=%2\r\nFADE=%3\r\n").arg(music).arg(cue).arg(fade).toUtf8());
        Tform_mixer& w = h.create();
        h.show();
        h.dialogs.clear();
        return w;
    }

    // The dialog as the button builds it, shown without its modal loop so the test can work it.
    QPointer<Tform_config> open()
    {
        QPointer<Tform_config> dialog = new Tform_config(*h.window);
        dialog->show();
        QApplication::processEvents();
        return dialog;
    }

    // Lets the dialog's deferred destruction happen.
    static void settle() { QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

    test::Harness h;
};

// What the fade picture must look like for fade time p: the lines' ends given as numbers.
QImage expectedPicture(int redEnd, int yellowEnd)
{
    QImage picture(300, 121, QImage::Format_RGB32);
    picture.fill(Qt::black);
    QPainter painter(&picture);
    painter.setPen(Qt::red);
    painter.drawLine(0, 0, redEnd, 121);
    painter.setPen(Qt::yellow);
    painter.drawLine(0, 0, yellowEnd, 121);
    painter.drawLine(0, 0, 0, 200);
    return picture;
}

} // namespace

// The button opens a fresh modal dialog from the values in memory, laid out as the operator
// knows it; Cancel closes and destroys it, and the next opening builds another.
TEST_F(ConfigDialogTest, ButtonOpensAFreshModalDialogEachTime)
{
    Tform_mixer& w = start(2, 3, 7000);
    w.atalhos[1] = "/clips/Two.wav";
    std::vector<QPointer<Tform_config>> seen;
    QTimer watcher;
    watcher.setInterval(10);
    QObject::connect(&watcher, &QTimer::timeout, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        auto* dialog = qobject_cast<Tform_config*>(modal);
        if (!dialog) {
            if (modal) {
                ADD_FAILURE() << "another modal window came up";
                modal->close();
            }
            return;
        }
        if (!seen.empty() && seen.back() == dialog) {
            ADD_FAILURE() << "Cancel did not close the dialog";
            dialog->reject();
            return;
        }
        seen.push_back(dialog);
        EXPECT_EQ(dialog->windowTitle(), "Configurações");
        EXPECT_TRUE(dialog->windowFlags() & Qt::FramelessWindowHint);
        EXPECT_EQ(dialog->size(), QSize(778, 347));
        EXPECT_EQ(dialog->pos(), QPoint((1024 - 778) / 2, (768 - 347) / 2));
        EXPECT_FALSE(dialog->device_alterado);
        QStringList entries;
        for (int i = 0; i < dialog->ComboBox1->count(); ++i)
            entries << dialog->ComboBox1->itemText(i);
        EXPECT_EQ(entries, kDevices);
        EXPECT_EQ(dialog->ComboBox2->count(), kDevices.size());
        EXPECT_EQ(dialog->ComboBox1->currentIndex(), 1);
        EXPECT_EQ(dialog->ComboBox2->currentIndex(), 2);
        EXPECT_EQ(dialog->TrackBar1->value(), 7000);
        EXPECT_EQ(dialog->Label7->text(), "7000");
        EXPECT_EQ(dialog->rows[1].path->text(), w.atalhos[1]);
        // Something picked in this opening is not carried to the next one.
        pick(dialog->ComboBox1, 1);
        EXPECT_TRUE(dialog->device_alterado);
        QTest::mouseClick(dialog->BitBtn2, Qt::LeftButton);
    });
    watcher.start();
    h.click("SRColorButton2");
    h.click("SRColorButton2");
    watcher.stop();
    settle();
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_TRUE(seen[0].isNull() && seen[1].isNull()) << "each dialog is destroyed when it closes";
    EXPECT_EQ(h.dialogs.texts(), QStringList{});
    EXPECT_TRUE(w.isVisible());
}

// OK without touching anything keeps the device numbers the lists hold, takes the fade time
// into the slider's range, and asks for no restart.
TEST_F(ConfigDialogTest, UntouchedOkKeepsTheDevicesAndClampsTheFade)
{
    const struct {
        const char* name;
        int music, cue, fade;
        int16_t musicAfter, cueAfter;
        int fadeAfter;
    } cases[] = {
        {"within the lists", 2, 3, 6000, 2, 3, 6000},
        {"fade above the range", 1, 1, 20000, 1, 1, 12000},
        {"fade below the range", 3, 2, 1000, 3, 2, 1500},
        {"fade at the slider's first position", 3, 2, 1500, 3, 2, 1500},
        {"numbers beyond the lists", 9, 0, 12000, 0, 0, 12000},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Tform_mixer& w = start(c.music, c.cue, c.fade);
        QPointer<Tform_config> dialog = open();
        EXPECT_EQ(dialog->Label7->text(), QString::number(c.fadeAfter));
        dialog->BitBtn1->click();
        settle();
        EXPECT_TRUE(dialog.isNull());
        EXPECT_EQ(w.device_transmissao, c.musicAfter);
        EXPECT_EQ(w.device_cue, c.cueAfter);
        EXPECT_EQ(w.tempo_fade, c.fadeAfter);
        EXPECT_EQ(h.dialogs.texts(), QStringList{});
        EXPECT_TRUE(w.isVisible());
    }
}

// Any pick is a change, the entry already selected included: OK shows the restart message and
// offers the exit while deck B and the preview play on (a stop there is dead air on a radio).
// Refusing the exit keeps the new numbers for the next start and every channel on the outputs in
// force: the preview, started again with the cue on and then off, goes where it went before,
// not where the new numbers point (a moved cue would fail to load, a swap would put the
// pre-listening on air).
TEST_F(ConfigDialogTest, PickedDeviceStopsNothingAndKeepsTheOutputsInForce)
{
    const QString track = media::writeWav(h.dataFile("track.wav"), 44100, 2, 16, 5 * 44100, media::sine(440, 44100, 0.3));
    const struct {
        const char* name;
        std::vector<std::pair<int, int>> picks; // list (1: ComboBox1, 2: ComboBox2), entry
        int16_t music, cue;
    } cases[] = {
        {"music list, another output", {{1, 2}}, 3, 2},
        {"music list, the same output again", {{1, 0}}, 1, 2},
        {"cue list, the same output again", {{2, 1}}, 1, 2},
        {"cue moved to an output never opened", {{2, 2}}, 1, 3},
        {"music and cue swapped", {{1, 1}, {2, 0}}, 2, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        h.writeDataFile("lista.upd", ("TRACK.WAV#" + track + "\r\n").toUtf8());
        Tform_mixer& w = start(1, 2, 6000);
        w.lista_b << track;
        w.ListBox2->addItem("TRACK.WAV");
        w.ListBox2->setCurrentRow(0);
        w.ListBox2Click();
        w.BitBtn6Click();
        h.click("SRColorButton1"); // cue on: the preview goes to output 2
        w.BitBtn21Click();
        ASSERT_TRUE(w.canal_b->Playing);
        ASSERT_TRUE(w.canal_00->Playing);
        bool playingAtMessage = false;
        h.dialogs.whileMessageShows = [&] { playingAtMessage = w.canal_b->Playing && w.canal_00->Playing; };
        h.dialogs.confirmAnswers = {false};

        QPointer<Tform_config> dialog = open();
        for (auto [list, entry] : c.picks)
            pick(list == 1 ? dialog->ComboBox1 : dialog->ComboBox2, entry);
        dialog->BitBtn1->click();
        settle();
        EXPECT_TRUE(dialog.isNull());
        EXPECT_EQ(h.dialogs.texts(), (QStringList{kRestart, kExit}));
        EXPECT_TRUE(playingAtMessage);
        EXPECT_TRUE(w.canal_b->Playing && w.canal_00->Playing) << "refusing the exit stops nothing either";
        EXPECT_FALSE(w.canal_a->Playing);
        EXPECT_EQ(w.device_transmissao, c.music);
        EXPECT_EQ(w.device_cue, c.cue);
        for (TCorvoBass* channel : {w.canal_a, w.canal_b, w.canal_atalho})
            EXPECT_EQ(channel->Device, 1) << "the music channels stay where they were opened";

        for (const auto& [cueOn, output] : {std::pair{true, 2}, std::pair{false, 1}}) {
            SCOPED_TRACE(cueOn ? "preview with the cue on" : "preview with the cue off");
            w.BitBtn23Click();
            if (w.cue_ligado != cueOn)
                h.click("SRColorButton1");
            w.BitBtn21Click();
            EXPECT_TRUE(w.canal_00->Playing);
            EXPECT_EQ(w.canal_00->Device, output);
        }
        EXPECT_EQ(h.dialogs.texts(), (QStringList{kRestart, kExit}));
        EXPECT_TRUE(w.isVisible());
        h.dialogs.whileMessageShows = nullptr;
    }
}

// Confirming the exit writes the new numbers, and the names of the outputs they stand for, into
// the settings file; the clips are stored after it and the window closes.
TEST_F(ConfigDialogTest, ConfirmedExitWritesTheChosenOutputs)
{
    Tform_mixer& w = start(1, 1, 6000);
    QPointer<Tform_config> dialog = open();
    pick(dialog->ComboBox1, 1);
    pick(dialog->ComboBox2, 2);
    dialog->rows[0].path->setText("/clips/one.wav");
    dialog->BitBtn1->click();
    settle();
    EXPECT_EQ(h.dialogs.texts(), (QStringList{kRestart, kExit}));
    EXPECT_FALSE(w.isVisible());
    QFile settings(h.dataFile("VOLTARIA4.INI"));
    ASSERT_TRUE(settings.open(QIODevice::ReadOnly));
    const QStringList lines = QString::fromUtf8(settings.readAll()).split("\r\n");
    for (const char* line : {"DEVICE_TRANSMISSAO=2", "DEVICE_CUE=3", "PLACA_MUSICAS=Placa de teste",
                                "PLACA_CUE=Sem saída de som"})
        EXPECT_TRUE(lines.contains(QString::fromUtf8(line))) << line;
    EXPECT_EQ(w.atalhos[0], "/clips/one.wav");
}

// Cancel changes nothing, whatever was picked, moved or cleared.
TEST_F(ConfigDialogTest, CancelChangesNothing)
{
    Tform_mixer& w = start(2, 3, 6000);
    w.atalhos[0] = "/clips/one.wav";
    h.writeDataFile("ATALHOS.INI", "/clips/one.wav\r\n");
    QPointer<Tform_config> dialog = open();
    pick(dialog->ComboBox1, 0);
    dialog->TrackBar1->setValue(9000);
    dialog->clearClip(1);
    dialog->BitBtn2->click();
    settle();
    EXPECT_TRUE(dialog.isNull());
    EXPECT_EQ(w.device_transmissao, 2);
    EXPECT_EQ(w.device_cue, 3);
    EXPECT_EQ(w.tempo_fade, 6000);
    EXPECT_EQ(w.atalhos[0], "/clips/one.wav");
    QFile clips(h.dataFile("ATALHOS.INI"));
    ASSERT_TRUE(clips.open(QIODevice::ReadOnly));
    EXPECT_EQ(clips.readAll(), "/clips/one.wav\r\n");
    EXPECT_EQ(h.dialogs.texts(), QStringList{});
}

// The picture's lines end at (p div 42, height) in red and (p div 40, height) in yellow; the
// value label follows the slider at once and OK takes the value shown.
TEST_F(ConfigDialogTest, FadePictureAndValueFollowTheSlider)
{
    const struct {
        int fade, redEnd, yellowEnd;
    } cases[] = {{1500, 35, 37}, {12000, 285, 300}, {6041, 143, 151}};
    Tform_mixer& w = start(1, 1, 6000);
    QPointer<Tform_config> dialog = open();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.fade);
        dialog->TrackBar1->setValue(c.fade);
        EXPECT_EQ(dialog->Label7->text(), QString::number(c.fade));
        const QImage drawn = dialog->PaintBox1->grab().toImage().convertToFormat(QImage::Format_RGB32);
        EXPECT_EQ(drawn, expectedPicture(c.redEnd, c.yellowEnd));
    }
    dialog->BitBtn1->click();
    EXPECT_EQ(w.tempo_fade, 6041);
}

// Either panel drags the dialog with the left button: an outline follows the pointer and the
// dialog lands where the button is released.
TEST_F(ConfigDialogTest, EitherPanelDragsTheDialog)
{
    start(1, 1, 6000);
    QPointer<Tform_config> dialog = open();
    for (QWidget* panel : {static_cast<QWidget*>(dialog->Panel1), static_cast<QWidget*>(dialog->Panel4)}) {
        SCOPED_TRACE(panel->objectName().toStdString());
        const QPoint before = dialog->pos();
        QTest::mousePress(panel, Qt::RightButton, {}, QPoint(5, 5));
        QTest::mouseRelease(panel, Qt::RightButton, {}, QPoint(5, 5));
        EXPECT_EQ(dialog->pos(), before);

        QTest::mousePress(panel, Qt::LeftButton, {}, QPoint(5, 5));
        QMouseEvent move(QEvent::MouseMove, QPointF(45, 25), panel->mapToGlobal(QPointF(45, 25)), Qt::NoButton,
                         Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(panel, &move);
        const QList<QRubberBand*> outlines = [] {
            QList<QRubberBand*> shown;
            for (QWidget* top : QApplication::topLevelWidgets())
                if (auto* band = qobject_cast<QRubberBand*>(top); band && band->isVisible())
                    shown << band;
            return shown;
        }();
        ASSERT_EQ(outlines.size(), 1);
        EXPECT_EQ(outlines[0]->geometry(), dialog->frameGeometry().translated(40, 20));
        EXPECT_EQ(dialog->pos(), before) << "the dialog stays until the button is released";
        QTest::mouseRelease(panel, Qt::LeftButton, {}, QPoint(45, 25));
        EXPECT_EQ(dialog->pos(), before + QPoint(40, 20));
        for (QWidget* top : QApplication::topLevelWidgets())
            EXPECT_FALSE(qobject_cast<QRubberBand*>(top) && top->isVisible()) << "the outline is gone";
    }
}
