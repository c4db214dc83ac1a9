// Connects the decks', crossfader's and equaliser's controls to their handlers. Check boxes
// answer their click (the settings file raises it after setting a box) and track bars their
// valueChanged, so a value set from code acts as the operator's would.
#include "app/UMIXER.h"
#include "app/PaintBox.h"
#include "widgets/LedButton.h"
#include "widgets/LedLamp.h"
#include "widgets/LedPanel.h"
#include "widgets/TrackBar.h"
#include "mixer/list_key_click.h"

#include <QAction>
#include <QCheckBox>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QTimer>

namespace {

using Handler = void (Tform_mixer::*)();

// One deck's handlers, by their names.
struct DeckHandlers {
    Handler load, doubleClick, play, stop, fade, loop, menuPlay, menuStop, menuOpens, monitor, timeMode, seek, pan,
        pitch, ownFrequency, flanger, flangerIntensity, echo, cut, view;
};

constexpr DeckHandlers deckAHandlers{
    &Tform_mixer::ListBox1Click,    &Tform_mixer::ListBox1DblClick,      &Tform_mixer::BitBtn2Click,
    &Tform_mixer::BitBtn4Click,     &Tform_mixer::BitBtn5Click,          &Tform_mixer::loop_esquerdaClick,
    &Tform_mixer::Play1Click,       &Tform_mixer::Stop1Click,            &Tform_mixer::PopupMenu5Popup,
    &Tform_mixer::Timer1Timer,      &Tform_mixer::MMLEDPanel1Click,      &Tform_mixer::trackbar1Track,
    &Tform_mixer::trackPanChange,   &Tform_mixer::trackFrequenciaChange, &Tform_mixer::MMLED1Click,
    &Tform_mixer::CheckBox2Click,   &Tform_mixer::Flanger1Change,        &Tform_mixer::CheckBox6Click,
    &Tform_mixer::CheckBox7Click,   &Tform_mixer::PPClick};

constexpr DeckHandlers deckBHandlers{
    &Tform_mixer::ListBox2Click,    &Tform_mixer::ListBox2DblClick,      &Tform_mixer::BitBtn6Click,
    &Tform_mixer::BitBtn8Click,     &Tform_mixer::BitBtn9Click,          &Tform_mixer::loop_direitaClick,
    &Tform_mixer::MenuItem1Click,   &Tform_mixer::MenuItem3Click,        &Tform_mixer::PopupMenu6Popup,
    &Tform_mixer::Timer2Timer,      &Tform_mixer::MMLEDPanel3Click,      &Tform_mixer::trackbar5Track,
    &Tform_mixer::TrackBar2Change,  &Tform_mixer::TrackBar4Change,       &Tform_mixer::MMLED2Click,
    &Tform_mixer::CheckBox5Click,   &Tform_mixer::Flanger2Change,        &Tform_mixer::CheckBox8Click,
    &Tform_mixer::CheckBox9Click,   &Tform_mixer::PP2Click};

void connectDeck(Tform_mixer* w, Deck& d, const DeckHandlers& h)
{
    const auto run = [w](Handler handler) { return [w, handler] { (w->*handler)(); }; };
    QObject::connect(d.listBox, &QListWidget::clicked, w, run(h.load));
    clickOnKeySelection(d.listBox, run(h.load));
    QObject::connect(d.listBox, &QListWidget::doubleClicked, w, run(h.doubleClick));
    QListWidget* list = d.listBox;
    QMenu* menu = d.listMenu;
    QObject::connect(list, &QWidget::customContextMenuRequested, w,
                     [list, menu](const QPoint& at) { menu->popup(list->mapToGlobal(at)); });
    QObject::connect(d.listMenu, &QMenu::aboutToShow, w, run(h.menuOpens));
    QObject::connect(d.menuPlay, &QAction::triggered, w, run(h.menuPlay));
    QObject::connect(d.menuStop, &QAction::triggered, w, run(h.menuStop));
    QObject::connect(d.playButton, &QPushButton::clicked, w, run(h.play));
    QObject::connect(d.stopButton, &QPushButton::clicked, w, run(h.stop));
    QObject::connect(d.fadeButton, &QPushButton::clicked, w, run(h.fade));
    QObject::connect(d.loopButton, &LedButton::clicked, w, run(h.loop));
    QObject::connect(d.monitorTimer, &QTimer::timeout, w, run(h.monitor));
    QObject::connect(d.minutesPanel, &LedPanel::clicked, w, run(h.timeMode));
    QObject::connect(d.colon, &LedColon::clicked, w, run(h.timeMode));
    QObject::connect(d.secondsPanel, &LedPanel::clicked, w, run(h.timeMode));
    QObject::connect(d.paintBox, &PaintBox::clicked, w, run(h.view));
    // Only the operator's moves seek; the monitor's updates of the value do not.
    QObject::connect(d.positionSlider, &QAbstractSlider::actionTriggered, w, run(h.seek));
    QObject::connect(d.panSlider, &QAbstractSlider::valueChanged, w, run(h.pan));
    QObject::connect(d.frequencySlider, &QAbstractSlider::valueChanged, w, run(h.pitch));
    QObject::connect(d.ownFrequencyLed, &LedLamp::clicked, w, run(h.ownFrequency));
    QObject::connect(d.flangerBox, &QCheckBox::clicked, w, run(h.flanger));
    QObject::connect(d.flangerIntensity, &QAbstractSlider::valueChanged, w, run(h.flangerIntensity));
    QObject::connect(d.echoBox, &QCheckBox::clicked, w, run(h.echo));
    QObject::connect(d.cutBox, &QCheckBox::clicked, w, run(h.cut));
}

} // namespace

void Tform_mixer::connectMixerHandlers()
{
    connectDeck(this, deckA, deckAHandlers);
    connectDeck(this, deckB, deckBHandlers);
    connect(Timer3, &QTimer::timeout, this, &Tform_mixer::Timer3Timer);
    connectAutoMixHandlers();
    connectSilenceWatch();
    connectPlayRecord();

    connect(Trackbar18, &QAbstractSlider::valueChanged, this, &Tform_mixer::TrackBar18Change);
    connect(Trackbar18, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { PopupMenu4->popup(Trackbar18->mapToGlobal(at)); });
    connect(FadePadro1, &QAction::triggered, this, &Tform_mixer::FadePadro1Click);
    connect(speedbutton1, &QPushButton::clicked, this, &Tform_mixer::SpeedButton1Click);
    connect(speedbutton2, &QPushButton::clicked, this, &Tform_mixer::SpeedButton2Click);
    connect(FadeMix1, &QAction::triggered, this, &Tform_mixer::FadeMix1Click);

    // The audio type boxes of the capture share the equaliser switch's handler.
    for (QCheckBox* box : {bsSkinCheckRadioBox1, Checkbox4, Checkbox3, checkbox_wma, Checkbox1})
        connect(box, &QCheckBox::clicked, this, &Tform_mixer::bsSkinCheckRadioBox1Click);
    connect(Trackbar6, &QAbstractSlider::valueChanged, this, &Tform_mixer::Trackbar6Change);
    const std::pair<TrackBar*, Handler> bands[10] = {
        {TrackBar20, &Tform_mixer::TrackBar20Change},   {Trackbar19, &Tform_mixer::Trackbar19Change},
        {TrackBar7, &Tform_mixer::TrackBar7Change},     {TrackBar8, &Tform_mixer::TrackBar8Change},
        {TrackBar9, &Tform_mixer::TrackBar9Change},     {TrackBar10, &Tform_mixer::TrackBar10Change},
        {TrackBar11, &Tform_mixer::TrackBar11Change},   {TrackBar12, &Tform_mixer::TrackBar12Change},
        {bsSkinTrackBar1, &Tform_mixer::bsSkinTrackBar1Change}, {bsSkinTrackBar2, &Tform_mixer::bsSkinTrackBar2Change}};
    for (const auto& [slider, handler] : bands)
        connect(slider, &QAbstractSlider::valueChanged, this, handler);
}
