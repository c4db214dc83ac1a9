// The auto-mix: in the playing deck's monitor tick, the time trigger and the sensitivity
// trigger that fade it out and start the other deck, and the "Auto Mix" and "Sensibilidade"
// switches. Main thread only.
#include "app/UMIXER.h"
#include "app/dialogs.h"
#include "audio/TCorvoBass.h"
#include "audio/engine.h"
#include "widgets/LedButton.h"
#include "widgets/LedGauge.h"
#include "widgets/SpinEdit.h"

#include <QFileInfo>
#include <QListWidget>

namespace {

// Within this many milliseconds of the end a quiet tick hands over.
constexpr uint32_t kQuietEndingMs = 25000;

// Length minus position as the channel counts them; a position past the end gives a very
// large remaining time, never a negative one.
uint32_t remainingMs(TCorvoBass& channel) { return uint32_t(channel.GetLength()) - uint32_t(channel.GetPosition()); }

} // namespace

void Tform_mixer::LEDButton1Click() { switchAutoMix(); }
void Tform_mixer::LEDButton2Click() { RxSpinEdit1->setEnabled(!LEDButton2->isOn()); }

// A deck whose stop handler runs is not ready yet: a Play then would replay the track that has
// just ended instead of its next entry.
void Tform_mixer::autoMixTimeTrigger(Deck& x)
{
    Deck& y = otherDeck(x);
    if (x.mixing || x.playingOut || !LEDButton1->isOn() || !x.channel->Playing || y.listBox->count() < 1)
        return;
    if (remainingMs(*x.channel) >= uint32_t(RxSpinEdit7->value()))
        return;
    if (!y.channel || y.channel->Playing || y.stopping)
        return;
    handOver(x, y);
}

void Tform_mixer::autoMixLevelTrigger(Deck& x)
{
    Deck& y = otherDeck(x);
    if (!LEDButton2->isOn() || !LEDButton1->isOn() || y.channel->Playing || y.stopping || x.mixing || x.playingOut)
        return;
    const uint32_t remaining = remainingMs(*x.channel);
    if (remaining >= kQuietEndingMs || remaining <= uint32_t(RxSpinEdit7->value()))
        return;
    // The gauge holds the level of this very tick, set by the monitor's visual step.
    if (x.levelGauge->value() < RxSpinEdit1->value() + 10)
        handOver(x, y);
}

void Tform_mixer::handOver(Deck& from, Deck& to)
{
    // Nobody is at the desk to notice a deck whose file went missing or cannot play: fading
    // into it would end the music. When it has no playable entry at all the playing deck is
    // left to play to its end, and is not offered again. The load messages wait for nobody.
    const Unattended unattended;
    if (!readyToPlay(to) && !loadPlayableEntry(to, loadSelectedEntry(to))) {
        from.playingOut = true;
        return;
    }
    from.channel->FadeOut(tempo_fade);
    from.stopReason = mixer::StopReason::AutoMix;
    // Blocks both triggers for this deck until it plays again.
    from.mixing = true;
    playDeck(to);
}

void Tform_mixer::switchAutoMix()
{
    // The button raises its click before it flips: it still shows the state being left.
    const bool switchingOn = !LEDButton1->isOn();
    for (Deck* d : {&deckA, &deckB}) {
        d->loopButton->setEnabled(!switchingOn);
        d->loopButton->setOn(false);
    }
    RxSpinEdit7->setEnabled(switchingOn);
    RxSpinEdit1->setEnabled(switchingOn);
    LEDButton2->setOn(switchingOn);
    if (!switchingOn) {
        // The silence that follows is the operator's: the silence watch keeps out of it.
        vigia.operatorStopped = true;
        return;
    }
    // A deck that plays keeps its track: the load leaves it alone.
    for (Deck* d : {&deckB, &deckA})
        if (d->listBox->count() > 0)
            (this->*d->listClick)();
}

void Tform_mixer::connectAutoMixHandlers()
{
    connect(LEDButton1, &LedButton::clicked, this, &Tform_mixer::LEDButton1Click);
    connect(LEDButton2, &LedButton::clicked, this, &Tform_mixer::LEDButton2Click);
}

void Tform_mixer::autoMixAfterAdvance(Deck& d, bool loaded)
{
    if (!LEDButton1->isOn())
        return;
    // Nobody is there to answer for a file that is gone or unreadable: the deck goes on to the
    // next entry it can load, at most once round its list, instead of replaying its last track
    // at the next hand-over.
    loaded = loadPlayableEntry(d, loaded);
    Deck& other = otherDeck(d);
    if (d.mixing || d.playingOut || other.listBox->count() < 1)
        return;
    // The track ended by itself after the other deck had handed over to it, before its own
    // hand-over could fire (the other deck was still fading, or stopping): it carries the music
    // on, or both decks would fall silent.
    if (loaded && other.mixing)
        playDeck(d);
    // The track ended with no hand-over at all (the operator dragged it to its end between two
    // monitor ticks): it hands over now, as its time trigger would have.
    else if (!other.channel->Playing && !other.stopping)
        handOver(d, other);
}

bool Tform_mixer::loadPlayableEntry(Deck& d, bool loaded)
{
    for (int tries = 1; !loaded && tries < d.listBox->count(); ++tries) {
        selectNextEntry(d);
        loaded = loadSelectedEntry(d);
    }
    return loaded;
}

bool Tform_mixer::readyToPlay(Deck& d)
{
    audio::StreamInfo info;
    return audio::streamInfo(d.channel->Stream, info) && QFileInfo(d.channel->FilePath).isFile();
}
