// The silence watch: its switch in the window's menu, its tick and the restart it makes.
// Main thread only.
#include "app/UMIXER.h"
#include "app/dialogs.h"
#include "audio/TCorvoBass.h"
#include "widgets/LedButton.h"

#include <QAction>
#include <QListWidget>
#include <QScopedValueRollback>
#include <QTimer>

namespace {

// While it lives, lets at most `left` messages through to the dialogs in use (with the beeps
// that announce them): a list whose files are all gone must not pile up a box per entry and
// per try while nobody is at the desk.
class FewMessages final : public Dialogs
{
public:
    explicit FewMessages(int& left) : left_(left), inner_(dialogs()) { setDialogs(this); }
    ~FewMessages() override { setDialogs(&inner_); }
    FewMessages(const FewMessages&) = delete;
    FewMessages& operator=(const FewMessages&) = delete;

    void beep() override
    {
        if (left_ > 0)
            inner_.beep();
    }
    void message(const QString& text, const QString& caption) override
    {
        if (left_ <= 0)
            return;
        // Counted before the box opens: its event loop may run another tick.
        --left_;
        inner_.message(text, caption);
    }
    void notice(const QString& text) override { inner_.notice(text); }
    bool confirm(const QString& text, const QString& caption) override { return inner_.confirm(text, caption); }
    QString openFileName(const QString& caption, const QString& folder, const QString& filter) override
    {
        return inner_.openFileName(caption, folder, filter);
    }
    QString saveFileName(const QString& caption, const QString& folder, const QString& filter) override
    {
        return inner_.saveFileName(caption, folder, filter);
    }

private:
    int& left_;
    Dialogs& inner_;
};

} // namespace

void Tform_mixer::connectSilenceWatch()
{
    TimerVigia = new QTimer(this);
    TimerVigia->setObjectName("TimerVigia");
    TimerVigia->setInterval(mixer::SilenceWatch::kTickMs);
    connect(TimerVigia, &QTimer::timeout, this, &Tform_mixer::TimerVigiaTimer);
    // toggled, not triggered: the settings file switches it on from code too.
    connect(VigiaSilencio1, &QAction::toggled, this, &Tform_mixer::VigiaSilencio1Click);
}

void Tform_mixer::VigiaSilencio1Click()
{
    vigia.silentMs = -1;
    vigia.messagesLeft = 1;
    if (VigiaSilencio1->isChecked())
        TimerVigia->start();
    else
        TimerVigia->stop();
}

void Tform_mixer::TimerVigiaTimer()
{
    const bool sounding = canal_a->Playing || canal_b->Playing || canal_atalho->Playing;
    // Each new silence may show one message again.
    if (sounding)
        vigia.messagesLeft = 1;
    if (sounding || vigia.restarting || !LEDButton1->isOn() || !vigia.lastStopped || vigia.operatorStopped
        || deckA.stopping || deckB.stopping) {
        vigia.silentMs = -1;
        return;
    }
    // Counted from the first silent tick, which may come just after the stop: never less than 5 s.
    vigia.silentMs = vigia.silentMs < 0 ? 0 : vigia.silentMs + TimerVigia->interval();
    if (vigia.silentMs < mixer::SilenceWatch::kSilenceMs)
        return;
    // Tried again after each further 5 s of silence: a stick plugged back in brings the music back.
    vigia.silentMs = 0;
    restartAfterSilence();
}

void Tform_mixer::restartAfterSilence()
{
    const QScopedValueRollback<bool> busy(vigia.restarting, true);
    const FewMessages few(vigia.messagesLeft);
    Deck& first = *vigia.lastStopped;
    for (Deck* d : {&first, &otherDeck(first)}) {
        // The stop handler has already loaded the deck's next entry; failing that, it goes
        // once round its list.
        if (d->listBox->count() < 1 || (!readyToPlay(*d) && !loadPlayableEntry(*d, loadSelectedEntry(*d))))
            continue;
        playDeck(*d);
        if (d->channel->Playing) {
            registro.restarted(*d->channel, d->channelName, vigia.silentSince);
            return;
        }
    }
}
