// The main window right after its creation step: its controls, state and scaling.
#include "app/PaintBox.h"
#include "audio/TCorvoBass.h"
#include "vis/osc_vis.h"
#include "vis/spectrum_vis.h"
#include "support/harness.h"
#include "widgets/LedButton.h"
#include "widgets/LedLamp.h"
#include "widgets/SpinEdit.h"
#include "widgets/LedPanel.h"
#include "widgets/StringGrid.h"
#include "widgets/TrackBar.h"

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <gtest/gtest.h>

namespace {

QString captionOf(QWidget* control)
{
    if (auto* b = qobject_cast<QAbstractButton*>(control))
        return b->text();
    if (auto* l = qobject_cast<QLabel*>(control))
        return l->text();
    if (auto* led = qobject_cast<LedButton*>(control))
        return led->caption();
    return QString();
}

} // namespace

TEST(MainWindow, EveryNamedControlHasItsCaptionAndHint)
{
    test::Harness h;
    h.create();
    const struct {
        const char* name;
        const char* caption; // nullptr: no caption to check
        const char* hint;
    } controls[] = {
        {"ListBox1", nullptr, "Duplo Clique (play)\r\nMova com o Mouse para cima ou para Baixo"},
        {"ListBox2", nullptr, ""},
        {"CONTA_ESQUERDA", nullptr, "Total de músicas na lista"},
        {"conta_direita", nullptr, "Total de músicas na lista"},
        {"bitbtn1", nullptr, "Abrir lista de Programação"},
        {"bitbtn12", nullptr, "Abrir lista de Programação"},
        {"bitbtn10", nullptr, "Salvar programação musical"},
        {"bitbtn16", nullptr, "Salvar programação musical"},
        {"bitbtn17", nullptr, "Limpar lista de Programação"},
        {"bitbtn19", nullptr, "Limpar lista de Programação"},
        {"bitbtn18", nullptr, "Excluir música da lista de programação"},
        {"bitbtn20", nullptr, "Excluir música da lista de programação"},
        {"bitbtn14", "Canal A", "Adicionar música ao Canal"},
        {"bitbtn15", "Canal B", "Adicionar música ao Canal"},
        {"bitbtn2", nullptr, "Play"},
        {"bitbtn6", nullptr, "Play"},
        {"bitbtn4", nullptr, "Stop (seco)"},
        {"bitbtn8", nullptr, "Stop (seco)"},
        {"bitbtn5", nullptr, "Fade "},
        {"bitbtn9", nullptr, "Fade "},
        {"loop_esquerda", "Loop", "Loop (repete a música)"},
        {"loop_direita", "Loop", "Loop (repete a música)"},
        {"label2", "Música:", ""},
        {"label28", "Música:", ""},
        {"Label11", "00000", "Frequencia em Hz"},
        {"Label26", "00000", "Frequencia em Hz"},
        {"Label3", "00:00", "Tempo Total da Música"},
        {"Label24", "00:00", "Tempo Total da Música"},
        {"MMLEDPanel1", nullptr, "Tempo da Música"},
        {"MMLEDPanel4", nullptr, "Tempo da Música"},
        {"Label1", " PLAY ", ""},
        {"Label20", " PLAY ", ""},
        {"trackPan", nullptr, "Balanço"},
        {"trackbar2", nullptr, "Balanço"},
        {"trackFrequencia", nullptr, "Frequencia da música"},
        {"trackbar4", nullptr, "Frequencia da música"},
        {"MMLED1", nullptr, "Retorna a Frequência Padrão da Música"},
        {"MMLED2", nullptr, "Retorna a Frequência Padrão da Música"},
        {"CheckBox2", "Flanger", "Ativar Efeito Flanger"},
        {"CheckBox5", "Flanger", "Ativar Efeito Flanger"},
        {"Flanger1", nullptr, "Intensidade do efeito Flanger"},
        {"Flanger2", nullptr, "Intensidade do efeito Flanger"},
        {"CheckBox6", "Echo", "Efeito Eco"},
        {"CheckBox8", "Echo", "Efeito Eco"},
        {"CheckBox7", "Cut", "Efeito Tremulo"},
        {"CheckBox9", "Cut", "Efeito Tremulo"},
        {"captura_geral", "Captura Geral", "Modo de captura (led ligado = Captura Geral)"},
        {"bitbtn13", "Capturar", "Capturar Músicas"},
        {"Label33", "Status", ""},
        {"bsSkinLabel2", "Procurar", ""},
        {"edit1", nullptr, "ENTER - finaliza a pesquisa"},
        {"StringGrid1", nullptr, "Arraste a música desejada para os canais laterais"},
        {"bitbtn21", "Play", "Play"},
        {"bitbtn23", "Stop", "Stop"},
        {"bITBTN24", "PRG", "Auto Programação"},
        {"SRColorButton2", nullptr, "Configura placas de som"},
        {"SRColorButton1", "Cue", "Escuta - 2º placa de som"},
        {"bitbtn11", "Sair", "Sair"},
        {"RxLabel1", "CrossFade", ""},
        {"Trackbar18", nullptr, "Cross Fade"},
        {"speedbutton1", "Mix A", "Mixagem de B para A (F12)"},
        {"speedbutton2", "Mix B", "Mixagem de A para B (F12)"},
        {"LEDButton1", "Auto Mix", "Ativa/Desativa Mixagem automatica"},
        {"LEDButton2", "Sensibilidade", "Ativa/Desativa mixagem por sensibilidade"},
        {"RxSpinEdit7", nullptr, "Tempo de Mixagem"},
        {"RxSpinEdit1", nullptr, "Sensibilidade da Mixagem"},
        {"RxLabel3", "%", ""},
        {"MMSwitch1", nullptr, "Nível de Captura de Arquivos "},
        {"Checkbox4", "mp3", "Tipo de áudio"},
        {"Checkbox3", "wav", "Tipo de áudio"},
        {"checkbox_wma", "wma", "Tipo de áudio"},
        {"Checkbox1", "ogg", "Tipo de áudio"},
        {"bsSkinCheckRadioBox1", "EQ", "Ativar Equalizador"},
        {"Trackbar6", nullptr, "Controle de Volume"},
    };
    for (const auto& c : controls) {
        QWidget* control = h.find(c.name);
        if (!control)
            continue;
        if (c.caption) {
            EXPECT_EQ(captionOf(control), QString(c.caption)) << c.name;
        }
        EXPECT_EQ(control->toolTip(), QString(c.hint)) << c.name;
    }
    for (const char* name : {"MMLEDDigit1", "MMLEDDigit3", "MMLEDPanel2", "MMLEDPanel3", "pbposition", "ProgressBar2",
                             "trackbar1", "trackbar5", "pp", "PP2", "pbarvu", "Progressbar1", "DriveComboBox1",
                             "CoolGauge1", "StringGrid2", "Panel18", "label5", "MMLED3", "MMLED4", "Panel19", "Image1",
                             "TrackBar20", "Trackbar19", "TrackBar7", "TrackBar8", "TrackBar9", "TrackBar10",
                             "TrackBar11", "TrackBar12", "bsSkinTrackBar1", "bsSkinTrackBar2"})
        EXPECT_NE(h.find(name), nullptr) << name;
}

TEST(MainWindow, ControlsStartWithTheirRangesDefaultsAndStates)
{
    test::Harness h;
    Tform_mixer& w = h.create();
    const struct {
        TrackBar* slider;
        int min, max, value;
    } sliders[] = {
        {w.trackPan, -100, 100, 0},  {w.trackbar2, -100, 100, 0}, {w.trackFrequencia, 10, 99999, 50},
        {w.trackbar4, 10, 99999, 50}, {w.Flanger1, 0, 15, 3},     {w.Flanger2, 0, 15, 3},
        {w.Trackbar18, 0, 200, 100}, {w.Trackbar6, 0, 100, 100},  {w.TrackBar10, 0, 20, 10},
        {w.bsSkinTrackBar2, 0, 20, 10},
    };
    for (const auto& s : sliders) {
        EXPECT_EQ(s.slider->minimum(), s.min) << s.slider->objectName().toStdString();
        EXPECT_EQ(s.slider->maximum(), s.max) << s.slider->objectName().toStdString();
        EXPECT_EQ(s.slider->value(), s.value) << s.slider->objectName().toStdString();
    }
    EXPECT_EQ(w.RxSpinEdit7->value(), 3500);
    EXPECT_EQ(w.RxSpinEdit7->singleStep(), 100);
    EXPECT_EQ(w.RxSpinEdit1->value(), 40);
    EXPECT_TRUE(w.LEDButton1->isOn());
    EXPECT_TRUE(w.LEDButton2->isOn());
    EXPECT_TRUE(w.captura_geral->isOn());
    EXPECT_TRUE(w.Checkbox4->isChecked());
    EXPECT_FALSE(w.Checkbox3->isChecked());
    EXPECT_FALSE(w.bsSkinCheckRadioBox1->isChecked());
    EXPECT_FALSE(w.bitbtn23->isEnabled());
    EXPECT_FALSE(w.MMLED1->isEnabled());
    EXPECT_FALSE(w.StringGrid2->isVisibleTo(&w));
    EXPECT_EQ(w.StringGrid1->ColCount(), 3);
    EXPECT_EQ(w.pp->size(), QSize(252, 59));
    EXPECT_EQ(w.PP2->size(), QSize(252, 59));
    EXPECT_EQ(w.Timer1->interval(), 50);
    EXPECT_FALSE(w.Timer1->isActive());
    EXPECT_FALSE(w.Timer4->isActive());
    EXPECT_TRUE(w.Timer3->isActive());
    EXPECT_EQ(w.Timer6->interval(), 200);
    EXPECT_TRUE(w.Timer6->isActive());
}

TEST(MainWindow, CreationStepLeavesTheStateAsAFreshStartNeedsIt)
{
    test::Harness h;
    Tform_mixer& w = h.create();
    EXPECT_EQ(w.windowTitle(), "Arvesto Voltaria-PRO 4.1 - www.arvesto.example");
    EXPECT_EQ(w.size(), QSize(1024, 716));
    EXPECT_EQ(w.pos(), QPoint(0, 0));
    for (LedButton* loop : {w.loop_esquerda, w.loop_direita}) {
        EXPECT_FALSE(loop->isOn());
        EXPECT_FALSE(loop->isEnabled());
    }
    EXPECT_EQ(w.modo_tempo_a, 1);
    EXPECT_EQ(w.modo_tempo_b, 1);
    EXPECT_EQ(w.grafico_a, 0);
    EXPECT_EQ(w.grafico_b, 0);
    EXPECT_FALSE(w.mixando_a);
    EXPECT_FALSE(w.mixando_b);
    EXPECT_EQ(w.device_transmissao, 1);
    EXPECT_EQ(w.device_cue, 1);
    EXPECT_TRUE(w.lista_a.isEmpty());
    EXPECT_TRUE(w.lista_b.isEmpty());
    // Four channels exist and none is opened yet; the decks and the preview report stops, the
    // clip channel only to the play record.
    for (TCorvoBass* channel : {w.canal_a, w.canal_b, w.canal_00, w.canal_atalho}) {
        ASSERT_NE(channel, nullptr);
        EXPECT_EQ(channel->EndTimer, nullptr);
        EXPECT_FALSE(channel->Loaded);
    }
    EXPECT_TRUE(w.canal_a->OnStop);
    EXPECT_TRUE(w.canal_b->OnStop);
    EXPECT_TRUE(w.canal_00->OnStop);
    EXPECT_TRUE(w.canal_atalho->OnStop);
    // The default width set last drops the hidden first column.
    EXPECT_EQ(w.StringGrid1->ColWidths(0), w.StringGrid1->width() - 2);
    EXPECT_EQ(w.StringGrid2->ColWidths(0), 0);
    EXPECT_EQ(w.StringGrid2->ColWidths(1), w.StringGrid2->width());
    for (TSpectrum* spectrum : {w.spectrum_a, w.spectrum_b}) {
        ASSERT_NE(spectrum, nullptr);
        EXPECT_EQ(spectrum->BarWidth, 5);
        EXPECT_EQ(spectrum->HeightCap, 45);
    }
    for (TOcilloScope* scope : {w.scope_a, w.scope_b}) {
        ASSERT_NE(scope, nullptr);
        EXPECT_EQ(scope->Scale, 45);
    }
    EXPECT_NE(w.meter_00, nullptr);
    EXPECT_NE(w.meter_b, nullptr);
    EXPECT_EQ(&w.deck(1).channel, &w.canal_a);
    EXPECT_EQ(&w.deck(2).listBox, &w.ListBox2);
}

TEST(MainWindow, WindowMenuCarriesTheFunctionKeys)
{
    test::Harness h;
    Tform_mixer& w = h.create();
    QList<QAction*> items = w.PopupMenu8->actions();
    ASSERT_EQ(items.size(), 14);
    EXPECT_EQ(items[0]->text(), "Sobre");
    EXPECT_EQ(items[0]->shortcut(), QKeySequence(Qt::Key_F1));
    // Right after "Sobre": the silence watch's switch, off, and the play record's folder.
    EXPECT_EQ(items[1]->text(), "Vigia de Silêncio");
    EXPECT_TRUE(items[1]->isCheckable());
    EXPECT_FALSE(items[1]->isChecked());
    EXPECT_EQ(items[2]->text(), "Relatório de Execuções");
    for (QAction* added : {items[1], items[2]})
        EXPECT_TRUE(added->shortcut().isEmpty());
    items.remove(1, 2);
    EXPECT_EQ(items[1]->text(), "Play Atalho 01");
    EXPECT_EQ(items[1]->objectName(), "PlayAtalho011");
    EXPECT_EQ(items[10]->text(), "Play Atalho 10");
    EXPECT_EQ(items[10]->objectName(), "PlayAtalho101");
    EXPECT_EQ(items[10]->shortcut(), QKeySequence(Qt::Key_F11));
    EXPECT_EQ(items[11]->text(), "FadeMix");
    EXPECT_EQ(items[11]->shortcut(), QKeySequence(Qt::Key_F12));
    const QStringList deckItems{"Play", "Stop", "", "Exclur"};
    for (QMenu* menu : {w.PopupMenu5, w.PopupMenu6}) {
        QStringList texts;
        for (QAction* a : menu->actions())
            texts << a->text();
        EXPECT_EQ(texts, deckItems);
    }
    EXPECT_EQ(w.FadePadro1->text(), "Fade Padrão ");
}

TEST(MainWindow, ScalesToTheScreenWhenTheScaledWindowFits)
{
    const struct {
        QSize screen;
        QSize window;
        QRect playButton; // deck A's Play, 4,8 70x36 on the design grid
    } cases[] = {
        {{1024, 768}, {1024, 716}, {4, 8, 70, 36}},
        {{1280, 1024}, {1280, 895}, {5, 10, 88, 45}},
        // 112.5 % goes to the even neighbour, 112 %.
        {{1152, 864}, {1152, 806}, {4, 9, 78, 40}},
        {{1280, 800}, {1024, 716}, {4, 8, 70, 36}},
        {{1366, 768}, {1024, 716}, {4, 8, 70, 36}},
    };
    for (const auto& c : cases) {
        test::Harness h(c.screen);
        Tform_mixer& w = h.create();
        EXPECT_EQ(w.size(), c.window) << c.screen.width();
        EXPECT_EQ(w.bitbtn2->geometry(), c.playButton) << c.screen.width();
    }
}

TEST(MainWindow, ClearingADeckOtherThanOneClearsDeckB)
{
    for (int number : {1, 2, 0, 7}) {
        test::Harness h;
        Tform_mixer& w = h.create();
        Deck& cleared = number == 1 ? w.deckA : w.deckB;
        Deck& kept = number == 1 ? w.deckB : w.deckA;
        const QImage frame(252, 59, QImage::Format_RGB32);
        for (Deck* d : {&w.deckA, &w.deckB}) {
            d->positionSlider->setValue(40);
            d->minutesPanel->setValue(3);
            d->secondsPanel->setValue(9);
            d->durationText->setText("04:10");
            d->frequencyText->setText("44100");
            d->paintBox->setFrame(&frame);
        }
        w.limpa_mixer(number);
        w.limpa_grafico(number);
        EXPECT_EQ(cleared.positionSlider->value(), 0) << number;
        EXPECT_EQ(cleared.minutesPanel->value(), 0) << number;
        EXPECT_EQ(cleared.secondsPanel->value(), 0) << number;
        EXPECT_EQ(cleared.durationText->text(), "00:00") << number;
        EXPECT_EQ(cleared.frequencyText->text(), "00000") << number;
        EXPECT_EQ(cleared.paintBox->frame(), nullptr) << number;
        EXPECT_EQ(kept.positionSlider->value(), 40) << number;
        EXPECT_EQ(kept.durationText->text(), "04:10") << number;
        EXPECT_EQ(kept.paintBox->frame(), &frame) << number;
    }
}
