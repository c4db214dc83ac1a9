#include "app/about.h"

#include "app/LinkLabel.h"
#include "app/paths.h"
#include "app/pictures.h"

#include <QFrame>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QTimer>

namespace {

const QColor yellow(255, 255, 0);

QLabel* text(QWidget* parent, const char* name, QRect rect, const QString& caption = {})
{
    auto* label = new QLabel(caption, parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setGeometry(rect);
    return label;
}

// The maker's address in red, underlined, with a hand cursor.
LinkLabel* addressLabel(QWidget* parent, const char* name, QRect rect)
{
    auto* label = new LinkLabel(parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setGeometry(rect);
    QFont font("Arial", 9);
    font.setUnderline(true);
    label->setFont(font);
    label->setStyleSheet("color: red;");
    label->setCursor(Qt::PointingHandCursor);
    label->setToolTip("Atualize seu software");
    return label;
}

QFrame* blackPanel(QWidget* parent, const char* name, QRect rect)
{
    auto* panel = new QFrame(parent);
    panel->setObjectName(QString::fromLatin1(name));
    panel->setGeometry(rect);
    panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    return panel;
}

// Ten LED bars of a level display, the box's second picture.
QPixmap barsPicture(QSize size)
{
    QPixmap picture(size);
    picture.fill(Qt::black);
    QPainter painter(&picture);
    const int bars = 10, step = size.width() / bars;
    const int heights[bars] = {30, 55, 80, 65, 95, 70, 50, 85, 60, 40};
    for (int bar = 0; bar < bars; ++bar) {
        const int top = size.height() * (100 - heights[bar]) / 100;
        for (int y = size.height() - 4; y >= top; y -= 4) {
            const int percent = 100 * (size.height() - y) / size.height();
            const QColor led = percent > 75 ? QColor(255, 48, 40) : percent > 45 ? yellow : QColor(48, 232, 72);
            painter.fillRect(bar * step + 1, y, step - 2, 3, led);
        }
    }
    return picture;
}

} // namespace

Tform_about::Tform_about(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
{
    setObjectName("form_about");
    // FormClose: the box is destroyed when it closes.
    setAttribute(Qt::WA_DeleteOnClose);
    setFixedSize(535, 318);
    setStyleSheet("Tform_about, QFrame { background: black; } QLabel { color: yellow; }"
                  "#Panel1, #Panel3 { border: 1px solid #3a3a3a; }");
    buildBox();
    FormCreate();
    const QSize screen = app::screenSize();
    move((screen.width() - width()) / 2, (screen.height() - height()) / 2);
}

void Tform_about::buildBox()
{
    Panel1 = blackPanel(this, "Panel1", QRect(8, 8, 300, 302));
    Image1 = text(Panel1, "Image1", QRect(8, 8, 284, 50));
    Image1->setPixmap(app::logoPicture(Image1->size()));
    ProductName = text(Panel1, "ProductName", QRect(8, 68, 284, 26));
    ProductName->setFont(QFont("Sans", 14, QFont::Bold));
    Version = text(Panel1, "Version", QRect(8, 98, 284, 20), QStringLiteral("Versão: 4.1"));
    Label1 = addressLabel(Panel1, "Label1", QRect(8, 122, 284, 20));
    Image3 = text(Panel1, "Image3", QRect(8, 152, 120, 80));
    Image3->setPixmap(barsPicture(Image3->size()));
    Label4 = text(Panel1, "Label4", QRect(8, 244, 284, 20),
                  QStringLiteral("Todos os direitos reservados."));
    Label5 = text(Panel1, "Label5", QRect(8, 268, 284, 20), QStringLiteral("2024 - 2026"));

    Panel3 = blackPanel(this, "Panel3", QRect(316, 8, 211, 260));
    sistemas = text(Panel3, "sistemas", QRect(2, 0, 207, 18));
    cidade = text(Panel3, "cidade", QRect(2, 0, 207, 18), QStringLiteral("Curitiba - PR"));
    Label2 = addressLabel(Panel3, "Label2", QRect(2, 0, 207, 18));
    Label3 = text(Panel3, "Label3", QRect(2, 0, 207, 18), QStringLiteral("Edição Linux - 2026"));
    for (QLabel* credit : {sistemas, cidade, static_cast<QLabel*>(Label2), Label3})
        credit->setAlignment(Qt::AlignHCenter | Qt::AlignTop);

    OKButton = new QPushButton("OK", this);
    OKButton->setObjectName("OKButton");
    OKButton->setGeometry(384, 276, 75, 30);
    OKButton->setDefault(true);
    Timer1 = new QTimer(this);
    Timer1->setObjectName("Timer1");
    Timer1->setInterval(100);

    connect(Timer1, &QTimer::timeout, this, &Tform_about::Timer1Timer);
    connect(Label1, &LinkLabel::clicked, this, &Tform_about::Label1Click);
    connect(Label2, &LinkLabel::clicked, this, &Tform_about::Label1Click);
    connect(OKButton, &QPushButton::clicked, this, &Tform_about::OKButtonClick);
}

// The credits move only while the box is on screen; the copy kept hidden from start-up costs
// nothing.
void Tform_about::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    Timer1->start();
}

void Tform_about::hideEvent(QHideEvent* event)
{
    Timer1->stop();
    QDialog::hideEvent(event);
}

void Tform_about::FormCreate()
{
    const int bottom = Panel3->height();
    sistemas->move(sistemas->x(), bottom);
    cidade->move(cidade->x(), bottom + 30);
    Label2->move(Label2->x(), bottom + 70);
    Label3->move(Label3->x(), bottom + 110);
    ProductName->setText("Arvesto Voltaria");
    Label1->setText(QString::fromLatin1(app::webAddress));
    Label2->setText(QString::fromLatin1(app::webAddress));
    sistemas->setText(QStringLiteral("Arvesto Sistemas de Áudio"));
}

void Tform_about::Timer1Timer()
{
    const struct {
        QLabel* label;
        int below; // where it re-enters: this far below `sistemas`
    } credits[] = {{sistemas, 0}, {cidade, 30}, {Label2, 70}, {Label3, 110}};
    for (const auto& c : credits) {
        if (c.label->y() > 1)
            continue;
        const int top = c.label == sistemas ? Panel3->height() : sistemas->y() + c.below;
        c.label->move(c.label->x(), top);
    }
    for (const auto& c : credits)
        c.label->move(c.label->x(), c.label->y() - 1);
}

void Tform_about::Label1Click() { app::openWebAddress(); }

void Tform_about::OKButtonClick() { close(); }
