// The manual mixes: "Mix A", "Mix B" and F12 hand the music from the playing deck to the other
// one. Main thread only.
#include "app/UMIXER.h"
#include "audio/TCorvoBass.h"
#include "widgets/TrackBar.h"

#include <QPushButton>
#include <QTimer>

void Tform_mixer::SpeedButton1Click() { mixTowards(deckA, deckB); }
void Tform_mixer::SpeedButton2Click() { mixTowards(deckB, deckA); }

void Tform_mixer::mixTowards(Deck& to, Deck& from)
{
    if (to.mixNeedsBothChannels && (!to.channel || !from.channel))
        return;
    // Equal, not both true: with the playing side silent and the other's Play off the mix
    // still runs, and Play then restarts whatever the deck last loaded.
    if (to.playButton->isEnabled() != from.channel->Playing)
        return;
    Trackbar18->setValue(100);
    TrackBar18Change();
    playDeck(to);
    fadeDeck(from);
    // The record tells a mix from the Fade button.
    if (from.channel->Playing)
        from.stopReason = mixer::StopReason::Mix;
}

// Towards whichever deck is silent: a mix button is disabled while its own deck plays.
void Tform_mixer::FadeMix1Click()
{
    if (Timer2->isActive() && speedbutton1->isEnabled())
        SpeedButton1Click();
    if (Timer1->isActive() && speedbutton2->isEnabled())
        SpeedButton2Click();
}
