// The main window's periphery: its caption, the logo that opens the maker's web address, the
// "Sair" button, the about box on F1 and the notification-area icon.
#include "app/LinkLabel.h"
#include "app/UMIXER.h"
#include "app/about.h"
#include "app/paths.h"
#include "app/tray.h"

#include <QAction>
#include <QEvent>
#include <QPushButton>
#include <QTimer>

namespace {

// The caption is set again on every paint of the window.
class PaintHook final : public QObject
{
public:
    explicit PaintHook(Tform_mixer* window) : QObject(window), window_(window) { window->installEventFilter(this); }

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched == window_ && event->type() == QEvent::Paint)
            window_->FormPaint();
        return false;
    }

private:
    Tform_mixer* window_;
};

} // namespace

void Tform_mixer::FormPaint() { setWindowTitle(app::productLine()); }

void Tform_mixer::Image1Click() { app::openWebAddress(); }

void Tform_mixer::BitBtn11Click() { close(); }

void Tform_mixer::Sobre1Click()
{
    // A fresh box at each opening, so its credits start again from the bottom; it is destroyed
    // when it closes.
    auto* box = new Tform_about(this);
    box->exec();
    // The window takes the keys again (F1 to F12), also where no window manager hands them back.
    activateWindow();
}

void Tform_mixer::connectPeripheryHandlers()
{
    connect(Timer6, &QTimer::timeout, this, &Tform_mixer::Timer6Timer);
    new PaintHook(this);
    connect(Image1, &LinkLabel::clicked, this, &Tform_mixer::Image1Click);
    connect(bitbtn11, &QPushButton::clicked, this, &Tform_mixer::BitBtn11Click);
    connect(Sobre1, &QAction::triggered, this, &Tform_mixer::Sobre1Click);
    Systray1 = new TSystray(this, QStringLiteral("Arvesto Voltaria-Pro 4.0"));
    Systray1->setObjectName("Systray1");
}
