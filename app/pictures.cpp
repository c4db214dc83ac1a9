#include "app/pictures.h"

#include "widgets/Palette.h"

#include <QPainter>

namespace app {

QPixmap logoPicture(QSize size)
{
    QPixmap picture(size);
    picture.fill(skin::panel);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    QFont font("Sans", 16, QFont::Black);
    painter.setFont(font);
    painter.setPen(skin::ledGreen);
    painter.drawText(picture.rect(), Qt::AlignCenter, "ARVESTO VOLTARIA-PRO IV");
    return picture;
}

} // namespace app
