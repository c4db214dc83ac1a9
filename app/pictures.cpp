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
    // As large as the picture's height allows, and narrowed until the name fits its width.
    const QString name = "ARVESTO VOLTARIA-PRO IV";
    QFont font("Sans");
    font.setWeight(QFont::Black);
    int pixels = size.height() / 2;
    font.setPixelSize(pixels);
    while (pixels > 6 && QFontMetrics(font).horizontalAdvance(name) > size.width() - 12)
        font.setPixelSize(--pixels);
    painter.setFont(font);
    painter.setPen(skin::ledGreen);
    painter.drawText(picture.rect(), Qt::AlignCenter, name);
    return picture;
}

} // namespace app
