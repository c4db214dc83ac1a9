// Connects the settings, clips and cue controls to their handlers, and the window's first show
// and its close requests to the show and close steps.
#include "app/UMIXER.h"
#include "app/long_operation.h"
#include "config/uform_config.h"

#include <QAction>
#include <QCloseEvent>
#include <QComboBox>
#include <QPointer>
#include <QPushButton>

namespace {

// Runs the show step once, when the window first becomes visible, and the close step on every
// request to close it; a refused close goes no further.
class WindowSteps final : public QObject
{
public:
    explicit WindowSteps(Tform_mixer* window) : QObject(window), window_(window) {}

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched != window_)
            return false;
        if (event->type() == QEvent::Show && !shown_) {
            shown_ = true;
            window_->FormShow();
        } else if (event->type() == QEvent::Close) {
            // Closed among the events a long operation lets run: taken once the operation ends.
            if (app::LongOperation::holdClose(window_)) {
                event->ignore();
                return true;
            }
            window_->FormClose(static_cast<QCloseEvent*>(event));
            return !event->isAccepted();
        }
        return false;
    }

private:
    Tform_mixer* window_;
    bool shown_ = false;
};

} // namespace

void Tform_mixer::SRColorButton2Click()
{
    // A device change may close this window inside the dialog's loop.
    QPointer<Tform_mixer> self(this);
    (new Tform_config(*this))->exec();
    // The window takes the keys again (F2 to F11), also where no window manager hands them back.
    if (self)
        activateWindow();
}

void Tform_mixer::connectConfigHandlers()
{
    installEventFilter(new WindowSteps(this));
    connectCueButton();
    connect(SRColorButton2, &QPushButton::clicked, this, &Tform_mixer::SRColorButton2Click);
    using Handler = void (Tform_mixer::*)();
    const Handler clipHandlers[10] = {
        &Tform_mixer::PlayAtalho011Click, &Tform_mixer::PlayAtalho012Click, &Tform_mixer::PlayAtalho013Click,
        &Tform_mixer::PlayAtalho014Click, &Tform_mixer::PlayAtalho051Click, &Tform_mixer::PlayAtalho061Click,
        &Tform_mixer::PlayAtalho071Click, &Tform_mixer::PlayAtalho081Click, &Tform_mixer::PlayAtalho091Click,
        &Tform_mixer::PlayAtalho101Click};
    for (int clip = 0; clip < 10; ++clip)
        connect(PlayAtalho[clip], &QAction::triggered, this, clipHandlers[clip]);
}
