#include "config/uform_config.h"

#include "app/UMIXER.h"
#include "app/dialogs.h"
#include "app/paths.h"
#include "audio/TCorvoBass.h"
#include "config/fade_picture.h"
#include "widgets/Palette.h"

#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QStyle>
#include <QRubberBand>
#include <QSlider>

namespace {

constexpr int kShortestFade = 1500, kLongestFade = 12000;

template <class T, class... Args>
T* place(QWidget* parent, const QString& name, QRect rect, Args&&... args)
{
    T* control = new T(std::forward<Args>(args)..., parent);
    control->setObjectName(name);
    control->setGeometry(rect);
    return control;
}

QFrame* panel(QWidget* parent, const char* name, QRect rect)
{
    QFrame* frame = place<QFrame>(parent, name, rect);
    frame->setFrameStyle(QFrame::Panel | QFrame::Raised);
    return frame;
}

QComboBox* deviceList(QWidget* parent, const char* name, QRect rect, const QString& hint)
{
    auto* list = place<QComboBox>(parent, name, rect);
    list->setToolTip(hint);
    return list;
}

// The list entry that stands for a device number; none for a number beyond the list.
int entryOf(int device, int count) { return device >= 1 && device <= count ? device - 1 : -1; }

QString dialogStyle()
{
    return QStringLiteral("Tform_config, QFrame { background: black; }"
                          "QFrame#Panel1, QFrame#Panel4 { border: 1px solid %1; }"
                          "QLabel { color: %2; }"
                          "QLabel#Label7 { color: %3; font-weight: bold; }")
        .arg(skin::bevelLight.name(), skin::text.name(), skin::ledGreen.name());
}

} // namespace

const QString Tform_config::OpenDialog1Filter =
    QStringLiteral("Arquivos Wav (*.wav);;Arquivos Mp3 (*.mp3);;Todos Arquivos de Áudio (*.mp3 *.wav *.mpg)");

Tform_config::Tform_config(Tform_mixer& form_mixer)
    : QDialog(&form_mixer, Qt::Dialog | Qt::FramelessWindowHint), form_mixer_(form_mixer)
{
    setObjectName("form_config");
    setWindowTitle(QStringLiteral("Configurações"));
    // FormClose: the dialog is destroyed when it closes.
    setAttribute(Qt::WA_DeleteOnClose);
    setFixedSize(778, 347);
    setStyleSheet(dialogStyle());
    buildDevicePanel();
    buildClipPage();
    for (QFrame* dragged : {Panel1, Panel4})
        dragged->installEventFilter(this);
    const QSize screen = app::screenSize();
    move((screen.width() - width()) / 2, (screen.height() - height()) / 2);
    FormCreate();
}

Tform_config::~Tform_config() = default;

void Tform_config::buildDevicePanel()
{
    Panel1 = panel(this, "Panel1", QRect(4, 4, 346, 339));
    Label11 = place<QLabel>(Panel1, "Label11", QRect(10, 6, 326, 18), QStringLiteral("Device para Músicas"));
    ComboBox1 = deviceList(Panel1, "ComboBox1", QRect(10, 24, 326, 24),
                           QStringLiteral("Device para músicas (Placa de som nº 01)"));
    Label12 = place<QLabel>(Panel1, "Label12", QRect(10, 54, 326, 18), QStringLiteral("Device Escuta (Cue)"));
    ComboBox2 = deviceList(Panel1, "ComboBox2", QRect(10, 72, 326, 24),
                           QStringLiteral("Device para Escuta (cue) - Placa de som Nº 02"));

    Panel2 = place<QFrame>(Panel1, "Panel2", QRect(10, 104, 326, 192));
    Panel2->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    Label2 = place<QLabel>(Panel2, "Label2", QRect(13, 4, 200, 18), QStringLiteral("Fade Out Padrão"));
    Label7 = place<QLabel>(Panel2, "Label7", QRect(233, 4, 80, 18), QStringLiteral("00000"));
    Label7->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    PaintBox1 = place<FadePicture>(Panel2, "PaintBox1", QRect(13, 24, 300, 121));
    TrackBar1 = place<QSlider>(Panel2, "TrackBar1", QRect(9, 150, 308, 34), Qt::Horizontal);
    TrackBar1->setToolTip(QStringLiteral("Define o Tempo do Fade Out"));
    TrackBar1->setRange(kShortestFade, kLongestFade);
    TrackBar1->setTickInterval(500);
    TrackBar1->setTickPosition(QSlider::TicksBelow);
    TrackBar1->setPageStep(500);

    BitBtn1 = place<QPushButton>(Panel1, "BitBtn1", QRect(10, 302, 100, 30), QStringLiteral("OK"));
    BitBtn1->setIcon(style()->standardIcon(QStyle::SP_DialogOkButton));
    BitBtn2 = place<QPushButton>(Panel1, "BitBtn2", QRect(118, 302, 100, 30), QStringLiteral("Cancelar"));
    BitBtn2->setIcon(style()->standardIcon(QStyle::SP_DialogCancelButton));

    for (QComboBox* list : {ComboBox1, ComboBox2})
        connect(list, &QComboBox::activated, this, &Tform_config::ComboBox1Click);
    connect(TrackBar1, &QSlider::valueChanged, this, &Tform_config::TrackBar1Change);
    connect(BitBtn1, &QPushButton::clicked, this, &Tform_config::BitBtn1Click);
    connect(BitBtn2, &QPushButton::clicked, this, &Tform_config::BitBtn2Click);
}

void Tform_config::FormCreate() { device_alterado = false; }

void Tform_config::showEvent(QShowEvent* event)
{
    if (!shown_) {
        shown_ = true;
        FormShow();
    }
    QDialog::showEvent(event);
}

void Tform_config::FormShow()
{
    TCorvoBass& channel = *form_mixer_.canal_00;
    const int count = channel.DeviceCount();
    if (count == 0) {
        ComboBox1->setEnabled(false);
        ComboBox2->setEnabled(false);
    } else {
        for (QComboBox* list : {ComboBox1, ComboBox2}) {
            list->clear();
            for (int device = 1; device <= count; ++device)
                list->addItem(channel.DeviceName(device));
        }
        ComboBox1->setCurrentIndex(entryOf(form_mixer_.device_transmissao, count));
        ComboBox2->setCurrentIndex(entryOf(form_mixer_.device_cue, count));
    }
    // The slider keeps the value within its range.
    TrackBar1->setValue(form_mixer_.tempo_fade);
    fillClipPage();
}

// The picture and the value label are drawn whenever the dialog paints, so they show even
// when opening left the slider where it stood.
void Tform_config::paintEvent(QPaintEvent* event)
{
    FormPaint();
    QDialog::paintEvent(event);
}

void Tform_config::FormPaint() { TrackBar1Change(); }

void Tform_config::ComboBox1Click() { device_alterado = true; }

void Tform_config::TrackBar1Change()
{
    const int position = TrackBar1->value();
    PaintBox1->setFadeTime(position);
    Label7->setText(QString::number(position));
}

void Tform_config::BitBtn1Click()
{
    Tform_mixer& w = form_mixer_;
    w.device_transmissao = static_cast<int16_t>(ComboBox1->currentIndex() + 1);
    w.device_cue = static_cast<int16_t>(ComboBox2->currentIndex() + 1);
    w.tempo_fade = Label7->text().toInt();
    if (device_alterado) {
        // Nothing is stopped here: the new outputs only count from the next start, and the music
        // on air goes on while the operator reads the message and answers the exit's question.
        dialogs().message(QStringLiteral("O Voltaria precisa ser Fechado para ser Atualizado"));
        // On OK the exit stops everything and the program ends once this dialog has closed; on
        // Cancel it goes on with the new numbers kept for the next start and every channel on the
        // outputs in force.
        w.close();
    }
    std::array<QString, 10> paths;
    for (size_t clip = 0; clip < rows.size(); ++clip)
        paths[clip] = rows[clip].path->text();
    w.grava_atalhos(paths);
    accept();
}

void Tform_config::BitBtn2Click() { reject(); }

bool Tform_config::eventFilter(QObject* watched, QEvent* event)
{
    auto* dragged = qobject_cast<QWidget*>(watched);
    const auto type = event->type();
    if (type != QEvent::MouseButtonPress && type != QEvent::MouseMove
        && type != QEvent::MouseButtonRelease)
        return false;
    const auto* mouse = static_cast<QMouseEvent*>(event);
    switch (type) {
    case QEvent::MouseButtonPress:
        if (mouse->button() != Qt::LeftButton)
            return false;
        Panel1MouseDown(dragged, mouse->position().toPoint());
        return true;
    case QEvent::MouseMove:
        Panel1MouseMove(dragged, mouse->position().toPoint());
        return dragging_;
    case QEvent::MouseButtonRelease:
        if (mouse->button() != Qt::LeftButton)
            return false;
        Panel1MouseUp(dragged, mouse->position().toPoint());
        return true;
    default:
        return false;
    }
}

// Linux desktops give no drawing context over the whole screen: the outline is a rubber band
// window of its own.
void Tform_config::Panel1MouseDown(QWidget*, QPoint point)
{
    pressPoint_ = point;
    outline_ = frameGeometry();
    outlineBand_ = std::make_unique<QRubberBand>(QRubberBand::Rectangle);
    outlineBand_->setGeometry(outline_);
    outlineBand_->show();
    dragging_ = true;
}

void Tform_config::Panel1MouseMove(QWidget*, QPoint point)
{
    if (!dragging_)
        return;
    outline_ = frameGeometry().translated(point - pressPoint_);
    outlineBand_->setGeometry(outline_);
}

void Tform_config::Panel1MouseUp(QWidget*, QPoint point)
{
    if (!dragging_)
        return;
    outlineBand_.reset();
    move(pos() + (point - pressPoint_));
    dragging_ = false;
}
