#include "app/uabertura.h"

#include "app/paths.h"

#include <QLabel>
#include <QPainter>

namespace {
QPixmap splashPicture(QSize size)
{
    QPixmap picture(size);
    picture.fill(Qt::black);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QColor(0x30, 0xff, 0x60));
    QFont title("Sans", 17, QFont::Bold);
    painter.setFont(title);
    painter.drawText(QRect(0, 10, size.width(), 40), Qt::AlignCenter, "Arvesto Voltaria-Pro IV");
    painter.setPen(QColor(0xc0, 0xc0, 0xc0));
    painter.setFont(QFont("Sans", 9));
    painter.drawText(QRect(0, 52, size.width(), 24), Qt::AlignCenter, QString::fromLatin1(app::webAddress));
    return picture;
}
} // namespace

Tform_abertura::Tform_abertura(QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
{
    setObjectName("form_abertura");
    setFixedSize(340, 88);
    QPalette black = palette();
    black.setColor(QPalette::Window, Qt::black);
    setPalette(black);
    setAutoFillBackground(true);
    setCursor(Qt::WaitCursor);
    ControlBar1 = new QLabel(this);
    ControlBar1->setObjectName("ControlBar1");
    ControlBar1->setGeometry(rect());
    ControlBar1->setPixmap(splashPicture(size()));
    const QSize screen = app::screenSize();
    move((screen.width() - width()) / 2, (screen.height() - height()) / 2);
}
