#include "app/tray.h"

#include <QEvent>
#include <QPainter>
#include <QTimer>
#include <QWidget>

namespace {

// A yellow LED "V" on black, readable at the notification area's small sizes.
QIcon voltariaIcon()
{
    QPixmap picture(32, 32);
    picture.fill(Qt::black);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(255, 236, 98), 5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.drawPolyline(QPolygon({QPoint(7, 7), QPoint(16, 26), QPoint(25, 7)}));
    return QIcon(picture);
}

} // namespace

TSystray::TSystray(QWidget* window, const QString& hint)
    : QObject(window), window_(window), icon_(new QSystemTrayIcon(voltariaIcon(), this)), hint_(hint)
{
    icon_->setToolTip(hint);
    connect(icon_, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason reason) {
        if (reason == QSystemTrayIcon::DoubleClick)
            DblClick();
    });
    window_->installEventFilter(this);
}

void TSystray::setAlert(const QString& alert)
{
    const QString tip = alert.isEmpty() ? hint_ : alert;
    if (icon_->toolTip() != tip)
        icon_->setToolTip(tip); // a shown icon takes it in place
}

void TSystray::AppMinimize()
{
    if (icon_->isVisible() || !trayAvailable())
        return;
    icon_->show();
    // Hidden once the minimise has finished, so the window manager drops its taskbar button.
    QTimer::singleShot(0, window_, [window = window_] {
        if (window->isMinimized())
            window->hide();
    });
}

void TSystray::AppRestore()
{
    if (icon_->isVisible())
        icon_->hide();
}

void TSystray::DblClick()
{
    window_->showNormal();
    window_->raise();
    window_->activateWindow();
    AppRestore();
}

bool TSystray::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == window_ && event->type() == QEvent::WindowStateChange) {
        if (window_->isMinimized())
            AppMinimize();
        else
            AppRestore();
    }
    return false;
}
