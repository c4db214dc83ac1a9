#include "app/UMIXER.h"

#include "app/PaintBox.h"
#include "app/dialogs.h"
#include "app/paths.h"
#include "app/time_format.h"
#include "audio/TCorvoBass.h"
#include "audio/messages.h"
#include "vis/meter_vis.h"
#include "vis/osc_vis.h"
#include "vis/spectrum_vis.h"
#include "widgets/LedButton.h"
#include "widgets/LedPanel.h"
#include "widgets/StringGrid.h"
#include "widgets/TrackBar.h"

#include <QLabel>
#include <QTimer>
#include <cmath>

QString parametro;

Tform_mixer::Tform_mixer(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowStaysOnTopHint),
      deckA{ListBox1,     CONTA_ESQUERDA, bitbtn1,        bitbtn10,     bitbtn17,     bitbtn18,     bitbtn14,
            PopupMenu5,   Play1,          Stop1,          Exclur1,      bitbtn2,      bitbtn4,      bitbtn5,
            loop_esquerda, label2,        Label11,        Label3,       MMLEDPanel1,  MMLEDDigit1,  MMLEDPanel2,
            Label1,       trackPan,       trackFrequencia, MMLED1,      pbposition,   trackbar1,    pp,
            pbarvu,       Timer1,         CheckBox2,      Flanger1,     CheckBox6,    CheckBox7,    canal_a,
            lista_a,      mixando_a,      modo_tempo_a,   grafico_a,    freq_padrao_a, scope_a,     spectrum_a,
            meter_a,      1,              "A",
            // playlists
            arquivo_lista_a, SaveDialog1FileName, linha_drag_a, &Tform_mixer::ListBox1Click},
      deckB{ListBox2,     conta_direita,  bitbtn12,       bitbtn16,     bitbtn19,     bitbtn20,     bitbtn15,
            PopupMenu6,   MenuItem1,      MenuItem3,      MenuItem5,    bitbtn6,      bitbtn8,      bitbtn9,
            loop_direita, label28,        Label26,        Label24,      MMLEDPanel3,  MMLEDDigit3,  MMLEDPanel4,
            Label20,      trackbar2,      trackbar4,      MMLED2,       ProgressBar2, trackbar5,    PP2,
            Progressbar1, Timer2,         CheckBox5,      Flanger2,     CheckBox8,    CheckBox9,    canal_b,
            lista_b,      mixando_b,      modo_tempo_b,   grafico_b,    freq_padrao_b, scope_b,     spectrum_b,
            meter_b,      2,              "B",
            // playlists
            arquivo_lista_b, SaveDialog2FileName, linha_drag_b, &Tform_mixer::ListBox2Click}
{
    // Where deck A and deck B behave differently; every other behaviour is shared.
    deckA.missingFileNamesPath = true;
    deckA.stopDisablesLoop = true;
    deckA.loopOnlyWhilePlaying = true;
    deckA.panInverted = true;
    deckB.loadClearsDisplays = true;
    deckB.dryStopClearsDisplays = true;
    deckB.stopRunsPendingEventsFirst = true;
    deckB.stopClearsOnlyWhenMixing = true;
    deckB.playRestartsStatusFirst = true;
    deckB.seekPlaysAgain = true;
    deckB.mixNeedsBothChannels = true;

    setObjectName("form_mixer");
    setFixedSize(1024, 716);
    QPalette grey = palette();
    grey.setColor(QPalette::Window, QColor(0x70, 0x70, 0x70));
    setPalette(grey);
    setAutoFillBackground(true);
    buildWindow();
    setDialogParent(this);
    audio::setMessageSink([](const QString& text) { dialogs().message(text); });
    FormCreate();
    connectMixerHandlers();
    connectLibraryHandlers();
    connectPlaylistHandlers();
    connectConfigHandlers();
    connectPeripheryHandlers();
}

Tform_mixer::~Tform_mixer()
{
    for (TMeter* meter : {meter_00, meter_a, meter_b})
        delete meter;
    for (TOcilloScope* scope : {scope_a, scope_b})
        delete scope;
    for (TSpectrum* spectrum : {spectrum_a, spectrum_b})
        delete spectrum;
}

void Tform_mixer::FormCreate()
{
    ajusta_tela();

    for (StringGrid* grid : {StringGrid1, StringGrid2}) {
        grid->setColWidths(0, 0);
        grid->setColWidths(1, grid->width());
    }
    timefmt::setProcessTimeFormat(QStringLiteral("HH:mm:ss"), ':');
    // Setting the default width drops the individual ones: every column is this wide until
    // the show step hides column 0 again.
    StringGrid1->setDefaultColWidth(StringGrid1->width() - 2);

    canal_00 = new TCorvoBass(this);
    canal_00->setObjectName("canal_00");
    canal_00->OnStop = [this](QObject* sender) { Canal_00Stop(sender); };
    canal_atalho = new TCorvoBass(this);
    canal_atalho->setObjectName("canal_atalho");
    canal_a = new TCorvoBass(this);
    canal_a->setObjectName("canal_a");
    canal_a->OnStop = [this](QObject* sender) { Canal_aStop(sender); };
    canal_b = new TCorvoBass(this);
    canal_b->setObjectName("canal_b");
    canal_b->OnStop = [this](QObject* sender) { Canal_bStop(sender); };

    meter_00 = new TMeter(0, 100);
    for (Deck* d : {&deckA, &deckB}) {
        d->scope = new TOcilloScope(d->paintBox->width(), d->paintBox->height());
        d->spectrum = new TSpectrum(d->paintBox->width(), d->paintBox->height());
        d->meter = new TMeter(0, 100);
        d->spectrum->DrawType = 1;
        d->spectrum->BarWidth = 5;
        d->spectrum->HeightCap = 45;
        d->scope->DrawType = 0;
        d->scope->Scale = 45;
    }

    lista_a.clear();
    lista_b.clear();
    mixando_a = mixando_b = false;
    grafico_a = grafico_b = 0;
    modo_tempo_a = modo_tempo_b = 1;
    device_transmissao = device_cue = 1;

    move(0, 0);
    loop_esquerda->setOn(false);
    loop_direita->setOn(false);
    setWindowTitle(QStringLiteral("Arvesto Voltaria-PRO 4.1 - ") + QString::fromLatin1(app::webAddress));
}

namespace {
// Rounds to the nearest integer, a half to the even neighbour.
int roundEven(double value) { return static_cast<int>(std::nearbyint(value)); }

// Scales positions and sizes relative to each parent, and every font once: all fonts are read
// before any is changed, so an inherited font is never scaled twice.
void scaleChildren(QWidget* window, int percent)
{
    const auto scale = [percent](int v) { return static_cast<int>(std::lround(double(v) * percent / 100.0)); };
    const QList<QWidget*> controls = window->findChildren<QWidget*>();
    QList<QFont> fonts;
    for (QWidget* control : controls)
        fonts << control->font();
    for (qsizetype i = 0; i < controls.size(); ++i) {
        QWidget* control = controls[i];
        if (control->isWindow())
            continue;
        const QRect g = control->geometry();
        control->setGeometry(scale(g.x()), scale(g.y()), scale(g.width()), scale(g.height()));
        QFont font = fonts[i];
        font.setPointSizeF(font.pointSizeF() * percent / 100.0);
        control->setFont(font);
    }
}
} // namespace

void Tform_mixer::ajusta_tela()
{
    const QSize screen = app::screenSize();
    if (screen.width() == 1024)
        return;
    const double f = screen.width() / 1024.0;
    const int percent = roundEven(100 * f);
    const int h = roundEven(height() * f);
    if (h > screen.height())
        return;
    setFixedSize(roundEven(width() * f), h);
    scaleChildren(this, percent);
}

void Tform_mixer::limpa_grafico(int number) { deck(number).paintBox->clear(); }

void Tform_mixer::limpa_mixer(int number)
{
    Deck& d = deck(number);
    d.positionSlider->setValue(0);
    d.minutesPanel->setValue(0);
    d.secondsPanel->setValue(0);
    d.durationText->setText("00:00");
    d.frequencyText->setText("00000");
}

void Tform_mixer::showRestoredInFront()
{
    if (!isVisible() || isMinimized())
        showNormal();
    raise();
    activateWindow();
}
