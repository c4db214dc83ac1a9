#include "support/deck_clock.h"

#include "audio/TCorvoBass.h"
#include "audio/TThreadedTimer.h"
#include "audio/engine.h"

#include <QTimer>

namespace test {

void DeckClock::monitorTick(Deck& d)
{
    QMetaObject::invokeMethod(d.monitorTimer, "timeout", Qt::DirectConnection);
}

void DeckClock::period(std::vector<float>* heard)
{
    audio::renderManual(kPeriodMs, 1, heard);
    now_ += kPeriodMs;
    Deck* decks[2] = {&w_.deckA, &w_.deckB};
    for (TCorvoBass* channel : {w_.canal_a, w_.canal_b, w_.canal_atalho})
        if (now_ % 60 == 0 && channel->EndTimer->Enabled())
            channel->CheckEnd();
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
    if (w_.TimerVigia->isActive() && now_ % w_.TimerVigia->interval() == 0)
        QMetaObject::invokeMethod(w_.TimerVigia, "timeout", Qt::DirectConnection);
}

} // namespace test
