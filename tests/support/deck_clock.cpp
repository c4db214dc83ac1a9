#include "support/deck_clock.h"

#include "audio/TCorvoBass.h"
#include "audio/TThreadedTimer.h"
#include "audio/engine.h"

#include <QEvent>
#include <QTimer>

namespace test {

RealTimersStopped::RealTimersStopped(Tform_mixer& window) : w_(window) { cover(); }

RealTimersStopped::~RealTimersStopped()
{
    for (QTimer* t : w_.findChildren<QTimer*>())
        t->removeEventFilter(this);
    for (TThreadedTimer* t : w_.findChildren<TThreadedTimer*>())
        t->removeEventFilter(this);
}

void RealTimersStopped::cover()
{
    // Installing a filter again only moves it to the front.
    for (QTimer* t : w_.findChildren<QTimer*>())
        t->installEventFilter(this);
    for (TThreadedTimer* t : w_.findChildren<TThreadedTimer*>())
        t->installEventFilter(this);
}

bool RealTimersStopped::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Timer && qobject_cast<QTimer*>(watched))
        return true;
    // A threaded timer's tick arrives as a queued call whose thread waits until it has run:
    // it runs with the timer disabled, which frees the thread and does nothing else.
    if (event->type() == QEvent::MetaCall) {
        if (auto* t = qobject_cast<TThreadedTimer*>(watched)) {
            const bool enabled = t->Enabled();
            t->setEnabled(false);
            t->event(event);
            t->setEnabled(enabled);
            return true;
        }
    }
    return false;
}

void DeckClock::monitorTick(Deck& d)
{
    QMetaObject::invokeMethod(d.monitorTimer, "timeout", Qt::DirectConnection);
}

void DeckClock::period(std::vector<float>* heard)
{
    audio::renderManual(kPeriodMs, 1, heard);
    now_ += kPeriodMs;
    Deck* decks[2] = {&w_.deckA, &w_.deckB};
    for (Deck* d : decks)
        if (now_ % 60 == 0 && d->channel->EndTimer->Enabled())
            d->channel->CheckEnd();
    for (int i = 0; i < 2; ++i) {
        TThreadedTimer* fade = decks[i]->channel->FadeTimer;
        if (!fade->Enabled()) {
            fadeElapsed_[i] = 0;
            continue;
        }
        for (fadeElapsed_[i] += kPeriodMs; fade->Enabled() && fadeElapsed_[i] >= fade->Interval();)
        {
            fadeElapsed_[i] -= fade->Interval();
            decks[i]->channel->FadeStep();
        }
    }
    for (Deck* d : decks)
        if (now_ % 50 == 0 && d->monitorTimer->isActive())
            monitorTick(*d);
}

} // namespace test
