// Builds the main window's controls with their names, captions, hints, ranges and defaults,
// placed on the 1024 x 716 design grid in three columns.
#include "app/LinkLabel.h"
#include "app/PaintBox.h"
#include "app/UMIXER.h"
#include "app/pictures.h"
#include "app/paths.h"
#include "widgets/LedButton.h"
#include "widgets/LedCounter.h"
#include "widgets/LedGauge.h"
#include "widgets/LedLamp.h"
#include "widgets/LedPanel.h"
#include "widgets/LedText.h"
#include "widgets/MultiSwitch.h"
#include "widgets/Palette.h"
#include "widgets/SpinEdit.h"
#include "widgets/StringGrid.h"
#include "widgets/TrackBar.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QStyle>
#include <QTimer>

namespace {

// Creates a control with its name and design rectangle.
template <class T, class... Args>
T* place(QWidget* parent, const char* name, QRect rect, Args&&... args)
{
    T* control = new T(std::forward<Args>(args)..., parent);
    control->setObjectName(QString::fromLatin1(name));
    control->setGeometry(rect);
    return control;
}

QFrame* panel(QWidget* parent, const char* name, QRect rect)
{
    QFrame* frame = place<QFrame>(parent, name, rect);
    frame->setFrameShape(QFrame::StyledPanel);
    frame->setFrameShadow(QFrame::Raised);
    return frame;
}

QPushButton* button(QWidget* parent, const char* name, QRect rect, const QString& caption, const QString& hint)
{
    QPushButton* b = place<QPushButton>(parent, name, rect, caption);
    b->setToolTip(hint);
    b->setFocusPolicy(Qt::TabFocus);
    return b;
}

QPushButton* iconButton(QWidget* parent, const char* name, QRect rect, QStyle::StandardPixmap icon, const QString& hint)
{
    QPushButton* b = button(parent, name, rect, QString(), hint);
    b->setIcon(parent->style()->standardIcon(icon));
    return b;
}

QLabel* label(QWidget* parent, const char* name, QRect rect, const QString& caption, const QString& hint = {})
{
    QLabel* l = place<QLabel>(parent, name, rect, caption);
    l->setToolTip(hint);
    return l;
}

QCheckBox* checkBox(QWidget* parent, const char* name, QRect rect, const QString& caption, const QString& hint)
{
    QCheckBox* c = place<QCheckBox>(parent, name, rect, caption);
    c->setToolTip(hint);
    return c;
}

TrackBar* trackBar(QWidget* parent, const char* name, QRect rect, Qt::Orientation orientation, int min, int max,
                   int value, const QString& hint = {})
{
    TrackBar* t = place<TrackBar>(parent, name, rect, orientation);
    t->setRange(min, max);
    t->setValue(value);
    t->setToolTip(hint);
    return t;
}

QTimer* timer(QObject* owner, const char* name, int interval, bool enabled)
{
    auto* t = new QTimer(owner);
    t->setObjectName(QString::fromLatin1(name));
    t->setInterval(interval);
    if (enabled)
        t->start();
    return t;
}

QAction* menuItem(QMenu* menu, const char* name, const QString& caption)
{
    QAction* action = menu->addAction(caption);
    action->setObjectName(QString::fromLatin1(name));
    return action;
}

// Deck A's controls carry these names; deck B's the second column.
struct DeckNames {
    const char *listBox, *trackCount, *open, *save, *clear, *remove, *add, *menu, *menuPlay, *menuStop,
        *menuDelete, *play, *stop, *fade, *loop, *title, *frequency, *duration, *minutes, *colon, *seconds,
        *playIndicator, *pan, *pitch, *ownFrequency, *positionGauge, *positionSlider, *paintBox, *levelGauge,
        *monitor, *flanger, *flangerIntensity, *echo, *cut, *playlistPanel, *controlPanel;
};

constexpr DeckNames deckANames{
    "ListBox1",   "CONTA_ESQUERDA", "bitbtn1",     "bitbtn10",        "bitbtn17",  "bitbtn18",    "bitbtn14",
    "PopupMenu5", "Play1",          "Stop1",       "Exclur1",         "bitbtn2",   "bitbtn4",     "bitbtn5",
    "loop_esquerda", "label2",      "Label11",     "Label3",          "MMLEDPanel1", "MMLEDDigit1", "MMLEDPanel2",
    "Label1",     "trackPan",       "trackFrequencia", "MMLED1",      "pbposition", "trackbar1",  "pp",
    "pbarvu",     "Timer1",         "CheckBox2",   "Flanger1",        "CheckBox6", "CheckBox7",   "Panel1",
    "Panel2"};

constexpr DeckNames deckBNames{
    "ListBox2",   "conta_direita",  "bitbtn12",    "bitbtn16",        "bitbtn19",  "bitbtn20",    "bitbtn15",
    "PopupMenu6", "MenuItem1",      "MenuItem3",   "MenuItem5",       "bitbtn6",   "bitbtn8",     "bitbtn9",
    "loop_direita", "label28",      "Label26",     "Label24",         "MMLEDPanel3", "MMLEDDigit3", "MMLEDPanel4",
    "Label20",    "trackbar2",      "trackbar4",   "MMLED2",          "ProgressBar2", "trackbar5", "PP2",
    "Progressbar1", "Timer2",       "CheckBox5",   "Flanger2",        "CheckBox8", "CheckBox9",   "Panel3",
    "Panel4"};

} // namespace

namespace {

// The dark LED look of the text controls the toolkit draws itself.
QString windowStyle()
{
    const QString panel = skin::panel.name(), text = skin::text.name(), led = skin::ledGreen.name(),
                  selection = skin::highlight.name();
    // A combo box's drop-down list is a view of its own: without its own rule its entries
    // would be the light text on the toolkit's white.
    return QString("QListWidget, QLineEdit, QComboBox, QComboBox QAbstractItemView { background: %1; color: %2; "
                   "selection-background-color: %4; }"
                   "QLabel[readout=\"true\"] { background: %1; color: %3; font-weight: bold; padding: 2px; }")
        .arg(panel, text, led, selection);
}

} // namespace

void Tform_mixer::buildWindow()
{
    setStyleSheet(windowStyle());
    buildDeckPanels(deckA, 0);
    buildDeckPanels(deckB, 705);
    buildLibraryPanel();
    buildMixPanel();
    buildEqualiserPanel();
    buildWindowMenu();
    Timer3 = timer(this, "Timer3", 500, true);
}

void Tform_mixer::buildDeckPanels(Deck& d, int left)
{
    const DeckNames& n = d.number == 1 ? deckANames : deckBNames;

    QFrame* list = panel(this, n.playlistPanel, QRect(left, 0, 306, 280));
    d.openButton = iconButton(list, n.open, QRect(4, 4, 32, 26), QStyle::SP_DialogOpenButton, "Abrir lista de Programação");
    d.saveButton = iconButton(list, n.save, QRect(38, 4, 32, 26), QStyle::SP_DialogSaveButton, "Salvar programação musical");
    d.clearButton = iconButton(list, n.clear, QRect(72, 4, 32, 26), QStyle::SP_DialogResetButton, "Limpar lista de Programação");
    d.deleteButton = iconButton(list, n.remove, QRect(106, 4, 32, 26), QStyle::SP_TrashIcon,
                                "Excluir música da lista de programação");
    d.trackCount = place<LedCounter>(list, n.trackCount, QRect(206, 4, 96, 26));
    d.trackCount->setToolTip("Total de músicas na lista");
    d.listBox = place<QListWidget>(list, n.listBox, QRect(4, 34, 298, 210));
    if (d.number == 1)
        d.listBox->setToolTip("Duplo Clique (play)\r\nMova com o Mouse para cima ou para Baixo");
    d.listBox->setContextMenuPolicy(Qt::CustomContextMenu);
    d.addButton = button(list, n.add, QRect(4, 248, 298, 28), "Canal " + d.channelName, "Adicionar música ao Canal");
    d.listMenu = new QMenu(this);
    d.listMenu->setObjectName(QString::fromLatin1(n.menu));
    d.menuPlay = menuItem(d.listMenu, n.menuPlay, "Play");
    d.menuStop = menuItem(d.listMenu, n.menuStop, "Stop");
    d.listMenu->addSeparator();
    d.menuDelete = menuItem(d.listMenu, n.menuDelete, "Exclur");
    d.menuDelete->setShortcut(Qt::Key_Delete);
    d.menuDelete->setShortcutContext(Qt::WidgetShortcut);
    d.listBox->addAction(d.menuDelete);

    QFrame* controls = panel(this, n.controlPanel, QRect(left, 281, 306, 435));
    d.playButton = iconButton(controls, n.play, QRect(4, 8, 70, 36), QStyle::SP_MediaPlay, "Play");
    d.stopButton = iconButton(controls, n.stop, QRect(78, 8, 70, 36), QStyle::SP_MediaStop, "Stop (seco)");
    d.fadeButton = button(controls, n.fade, QRect(152, 8, 70, 36), "Fade", "Fade ");
    // Nothing plays yet: there is nothing to stop or fade.
    d.stopButton->setEnabled(false);
    d.fadeButton->setEnabled(false);
    d.loopButton = place<LedButton>(controls, n.loop, QRect(226, 8, 76, 36));
    d.loopButton->setCaption("Loop");
    d.loopButton->setToolTip("Loop (repete a música)");
    d.loopButton->setEnabled(false);

    d.title = label(controls, n.title, QRect(4, 52, 298, 22), "Música:");
    d.frequencyText = label(controls, n.frequency, QRect(4, 82, 58, 40), "00000", "Frequencia em Hz");
    d.durationText = label(controls, n.duration, QRect(64, 82, 50, 40), "00:00", "Tempo Total da Música");
    d.minutesPanel = place<LedPanel>(controls, n.minutes, QRect(118, 82, 44, 40));
    d.colon = place<LedColon>(controls, n.colon, QRect(162, 82, 12, 40));
    d.secondsPanel = place<LedPanel>(controls, n.seconds, QRect(174, 82, 44, 40));
    for (LedPanel* p : {d.minutesPanel, d.secondsPanel}) {
        p->setRange(0, 100);
        p->setToolTip("Tempo da Música");
    }
    d.colon->setToolTip("Tempo da Música");
    for (QLabel* readout : {d.frequencyText, d.durationText})
        readout->setProperty("readout", true);
    d.playIndicator = label(controls, n.playIndicator, QRect(224, 82, 78, 40), " PLAY ");
    d.playIndicator->setProperty("readout", true);
    d.playIndicator->setAlignment(Qt::AlignCenter);

    d.panSlider = trackBar(controls, n.pan, QRect(4, 132, 132, 26), Qt::Horizontal, -100, 100, 0, "Balanço");
    d.ownFrequencyLed = place<LedLamp>(controls, n.ownFrequency, QRect(142, 134, 22, 22));
    d.ownFrequencyLed->setToolTip("Retorna a Frequência Padrão da Música");
    d.ownFrequencyLed->setEnabled(false);
    d.frequencySlider = trackBar(controls, n.pitch, QRect(170, 132, 132, 26), Qt::Horizontal, 10, 99999, 50,
                                 "Frequencia da música");
    // Pan and pitch are worked with the mouse only, so the arrow keys never retune a playing deck.
    d.panSlider->setFocusPolicy(Qt::NoFocus);
    d.frequencySlider->setFocusPolicy(Qt::NoFocus);

    d.flangerBox = checkBox(controls, n.flanger, QRect(4, 170, 72, 24), "Flanger", "Ativar Efeito Flanger");
    d.flangerIntensity = trackBar(controls, n.flangerIntensity, QRect(78, 170, 90, 24), Qt::Horizontal, 0, 15, 3,
                                  "Intensidade do efeito Flanger");
    d.echoBox = checkBox(controls, n.echo, QRect(174, 170, 62, 24), "Echo", "Efeito Eco");
    d.cutBox = checkBox(controls, n.cut, QRect(240, 170, 62, 24), "Cut", "Efeito Tremulo");

    d.levelGauge = place<LedGauge>(controls, n.levelGauge, QRect(27, 206, 252, 14), Qt::Horizontal);
    d.levelGauge->setRange(0, 100);
    d.levelGauge->setColorPoints(45, 75);
    d.paintBox = place<PaintBox>(controls, n.paintBox, QRect(QPoint(27, 224), PaintBox::kDesignSize));
    d.positionGauge = place<LedGauge>(controls, n.positionGauge, QRect(4, 300, 298, 16), Qt::Horizontal);
    d.positionGauge->setRange(0, 100);
    d.positionGauge->setValue(0);
    d.positionSlider = trackBar(controls, n.positionSlider, QRect(4, 330, 298, 28), Qt::Horizontal, 0, 100, 0);

    d.monitorTimer = timer(this, n.monitor, 50, false);
}

void Tform_mixer::buildLibraryPanel()
{
    QFrame* library = panel(this, "Panel5", QRect(306, 0, 399, 361));
    bsSkinLabel2 = label(library, "bsSkinLabel2", QRect(4, 4, 62, 22), "Procurar");
    edit1 = place<QLineEdit>(library, "edit1", QRect(68, 4, 327, 22));
    edit1->setToolTip("ENTER - finaliza a pesquisa");

    StringGrid1 = place<StringGrid>(library, "StringGrid1", QRect(4, 30, 391, 220));
    StringGrid1->setColCount(3);
    StringGrid1->setRowCount(2); // the header and one empty row while the library is empty
    StringGrid1->setToolTip("Arraste a música desejada para os canais laterais");
    StringGrid1->setContextMenuPolicy(Qt::CustomContextMenu);
    StringGrid2 = place<StringGrid>(library, "StringGrid2", QRect(4, 30, 391, 220));
    StringGrid2->setColCount(3);
    StringGrid2->hide();
    for (StringGrid* grid : {StringGrid1, StringGrid2})
        grid->setDefaultRowHeight(15);
    PopupMenu7 = new QMenu(this);
    PopupMenu7->setObjectName("PopupMenu7");
    MenuItem6 = menuItem(PopupMenu7, "MenuItem6", "Play");
    MenuItem8 = menuItem(PopupMenu7, "MenuItem8", "Stop");
    PopupMenu7->addSeparator();
    Excluir1 = menuItem(PopupMenu7, "Excluir1", "Excluir");
    Excluir1->setToolTip("Exclu Música de Lista");
    Excluir1->setShortcut(Qt::Key_Delete);
    Excluir1->setShortcutContext(Qt::WidgetShortcut);
    StringGrid1->addAction(Excluir1);

    bitbtn21 = button(library, "bitbtn21", QRect(4, 254, 62, 26), "Play", "Play");
    bitbtn23 = button(library, "bitbtn23", QRect(68, 254, 62, 26), "Stop", "Stop");
    bitbtn23->setEnabled(false);
    bITBTN24 = button(library, "bITBTN24", QRect(132, 254, 62, 26), "PRG", "Auto Programação");
    SRColorButton1 = button(library, "SRColorButton1", QRect(236, 254, 62, 26), "Cue", "Escuta - 2º placa de som");
    SRColorButton2 = iconButton(library, "SRColorButton2", QRect(300, 254, 32, 26), QStyle::SP_ComputerIcon,
                                "Configura placas de som");
    Timer4 = timer(this, "Timer4", 50, false);

    DriveComboBox1 = place<QComboBox>(library, "DriveComboBox1", QRect(4, 288, 150, 24));
    captura_geral = place<LedButton>(library, "captura_geral", QRect(158, 288, 122, 24));
    captura_geral->setCaption("Captura Geral");
    captura_geral->setToolTip("Modo de captura (led ligado = Captura Geral)");
    captura_geral->setOn(true);
    bitbtn13 = button(library, "bitbtn13", QRect(284, 288, 111, 24), "Capturar", "Capturar Músicas");
    // As wide as the row: the capture's "AGUARDE LOCALIZANDO MÍDIA..." shows while the gauge,
    // which lies over the rest of it, is hidden.
    Label33 = label(library, "Label33", QRect(4, 320, 391, 18), "Status");
    CoolGauge1 = place<LedGauge>(library, "CoolGauge1", QRect(56, 321, 339, 16), Qt::Horizontal);
    CoolGauge1->setRange(0, 100);

    // A black lowered panel that clips the status line moving inside it.
    QFrame* statusPanel = panel(this, "Panel18", QRect(308, 361, 394, 28));
    statusPanel->setFrameShadow(QFrame::Sunken);
    Panel18 = statusPanel;
    Panel18->setStyleSheet("#Panel18 { background: black; }");
    // Twelve LED rows: capitals of seven with their accents above and the descenders below.
    label5 = place<LedText>(Panel18, "label5", QRect(46, 1, 301, 25));
    label5->setLedColor(skin::statusText);
    label5->setText("Arvesto Voltaria-Pro IV   ");
    Timer6 = timer(this, "Timer6", 200, true);
}

void Tform_mixer::buildMixPanel()
{
    QFrame* mix = panel(this, "Panel6", QRect(306, 389, 399, 140));
    RxLabel1 = label(mix, "RxLabel1", QRect(160, 2, 80, 18), "CrossFade");
    RxLabel1->setAlignment(Qt::AlignCenter);
    // Each lamp sits on the mix button of the deck it blinks for: MMLED4 for deck A on "Mix A".
    MMLED4 = place<LedLamp>(mix, "MMLED4", QRect(28, 6, 12, 12));
    MMLED3 = place<LedLamp>(mix, "MMLED3", QRect(359, 6, 12, 12));
    speedbutton1 = button(mix, "speedbutton1", QRect(4, 22, 60, 28), "Mix A", "Mixagem de B para A (F12)");
    Trackbar18 = trackBar(mix, "Trackbar18", QRect(68, 22, 263, 28), Qt::Horizontal, 0, 200, 100, "Cross Fade");
    Trackbar18->setContextMenuPolicy(Qt::CustomContextMenu);
    PopupMenu4 = new QMenu(this);
    PopupMenu4->setObjectName("PopupMenu4");
    FadePadro1 = menuItem(PopupMenu4, "FadePadro1", "Fade Padrão ");
    speedbutton2 = button(mix, "speedbutton2", QRect(335, 22, 60, 28), "Mix B", "Mixagem de A para B (F12)");

    LEDButton1 = place<LedButton>(mix, "LEDButton1", QRect(4, 56, 100, 26));
    LEDButton1->setCaption("Auto Mix");
    LEDButton1->setToolTip("Ativa/Desativa Mixagem automatica");
    LEDButton1->setOn(true);
    RxSpinEdit7 = place<SpinEdit>(mix, "RxSpinEdit7", QRect(108, 56, 72, 26));
    RxSpinEdit7->setRange(300, 8000);
    RxSpinEdit7->setSingleStep(100);
    RxSpinEdit7->setValue(3500);
    RxSpinEdit7->setToolTip("Tempo de Mixagem");
    LEDButton2 = place<LedButton>(mix, "LEDButton2", QRect(186, 56, 122, 26));
    LEDButton2->setCaption("Sensibilidade");
    LEDButton2->setToolTip("Ativa/Desativa mixagem por sensibilidade");
    LEDButton2->setOn(true);
    RxSpinEdit1 = place<SpinEdit>(mix, "RxSpinEdit1", QRect(312, 56, 56, 26));
    RxSpinEdit1->setRange(10, 99);
    RxSpinEdit1->setSingleStep(5);
    RxSpinEdit1->setValue(40);
    RxSpinEdit1->setToolTip("Sensibilidade da Mixagem");
    RxLabel3 = label(mix, "RxLabel3", QRect(372, 56, 20, 26), "%");

    MMSwitch1 = place<MultiSwitch>(mix, "MMSwitch1", QRect(4, 88, 110, 48));
    MMSwitch1->setLabels({"1", "2", "3", "4"});
    MMSwitch1->setPosition(1);
    MMSwitch1->setToolTip("Nível de Captura de Arquivos ");
    MMSwitch1->setLabelHints({"Captura o Primeiro Nível de Subdiretórios", "Captura até o Segundo Nível de Subdiretórios",
                              "Captura até o Terceiro Nível de Subdiretórios",
                              "Captura até o Quarto Nível de Subdiretórios"});
    Checkbox4 = checkBox(mix, "Checkbox4", QRect(120, 88, 52, 22), "mp3", "Tipo de áudio");
    Checkbox4->setChecked(true);
    Checkbox3 = checkBox(mix, "Checkbox3", QRect(174, 88, 52, 22), "wav", "Tipo de áudio");
    checkbox_wma = checkBox(mix, "checkbox_wma", QRect(120, 112, 52, 22), "wma", "Tipo de áudio");
    Checkbox1 = checkBox(mix, "Checkbox1", QRect(174, 112, 52, 22), "ogg", "Tipo de áudio");
    bitbtn11 = button(mix, "bitbtn11", QRect(315, 96, 80, 36), "Sair", "Sair");

    Panel19 = panel(this, "Panel19", QRect(306, 529, 399, 50));
    Panel19->setStyleSheet("#Panel19 { background: black; }");
    Image1 = place<LinkLabel>(Panel19, "Image1", QRect(0, 0, 398, 50));
    Image1->setPixmap(app::logoPicture(Image1->size()));
    Image1->setScaledContents(true);
    Image1->setCursor(Qt::PointingHandCursor);
    Image1->setToolTip(QStringLiteral("VISITE NOSSO SITE:\r\n") + QString::fromLatin1(app::webAddress));
}

void Tform_mixer::buildEqualiserPanel()
{
    QFrame* eq = panel(this, "Panel7", QRect(306, 579, 399, 131));
    bsSkinCheckRadioBox1 = checkBox(eq, "bsSkinCheckRadioBox1", QRect(4, 4, 48, 22), "EQ", "Ativar Equalizador");
    label(eq, "Label0dB", QRect(34, 46, 14, 14), "0");
    TrackBar** bands[10] = {&TrackBar20, &Trackbar19, &TrackBar7, &TrackBar8,       &TrackBar9,
                            &TrackBar10, &TrackBar11, &TrackBar12, &bsSkinTrackBar1, &bsSkinTrackBar2};
    const char* names[10] = {"TrackBar20", "Trackbar19", "TrackBar7",  "TrackBar8",       "TrackBar9",
                             "TrackBar10", "TrackBar11", "TrackBar12", "bsSkinTrackBar1", "bsSkinTrackBar2"};
    const char* captions[10] = {"32", "64", "128", "250", "500", "1K", "2K", "4K", "8K", "16K"};
    for (int band = 0; band < 10; ++band) {
        const int x = 52 + band * 29;
        *bands[band] = trackBar(eq, names[band], QRect(x, 4, 26, 100), Qt::Vertical, 0, 20, 10);
        QLabel* caption = label(eq, "", QRect(x - 2, 106, 30, 16), captions[band]);
        caption->setObjectName(QString("LabelBand%1").arg(band));
        caption->setAlignment(Qt::AlignCenter);
    }
    Trackbar6 = trackBar(eq, "Trackbar6", QRect(350, 4, 30, 118), Qt::Vertical, 0, 100, 100, "Controle de Volume");
}

void Tform_mixer::buildWindowMenu()
{
    PopupMenu8 = new QMenu(this);
    PopupMenu8->setObjectName("PopupMenu8");
    Sobre1 = menuItem(PopupMenu8, "Sobre1", "Sobre");
    Sobre1->setShortcut(Qt::Key_F1);
    VigiaSilencio1 = menuItem(PopupMenu8, "VigiaSilencio1", "Vigia de Silêncio");
    VigiaSilencio1->setCheckable(true);
    RelatorioExecucoes1 = menuItem(PopupMenu8, "RelatorioExecucoes1", "Relatório de Execuções");
    const char* const clipItems[10] = {"PlayAtalho011", "PlayAtalho012", "PlayAtalho013", "PlayAtalho014",
                                       "PlayAtalho051", "PlayAtalho061", "PlayAtalho071", "PlayAtalho081",
                                       "PlayAtalho091", "PlayAtalho101"};
    for (int clip = 0; clip < 10; ++clip) {
        const QString number = QString::number(clip + 1).rightJustified(2, '0');
        PlayAtalho[clip] = PopupMenu8->addAction("Play Atalho " + number);
        PlayAtalho[clip]->setObjectName(clipItems[clip]);
        PlayAtalho[clip]->setShortcut(QKeySequence(Qt::Key_F2 + clip));
    }
    FadeMix1 = menuItem(PopupMenu8, "FadeMix1", "FadeMix");
    FadeMix1->setShortcut(Qt::Key_F12);
    // The shortcuts act wherever the focus is in the window.
    for (QAction* action : PopupMenu8->actions()) {
        action->setShortcutContext(Qt::WindowShortcut);
        addAction(action);
    }
    setContextMenuPolicy(Qt::CustomContextMenu);
    connect(this, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { PopupMenu8->popup(mapToGlobal(at)); });
}
