// A deck's own controls: seeking with the position slider, pan, frequency and the LED that
// brings back the track's own frequency. Main thread only.
#include "app/UMIXER.h"
#include "audio/TCorvoBass.h"
#include "mixer/deck_buttons.h"
#include "widgets/TrackBar.h"

#include <QTimer>

void Tform_mixer::trackbar1Track() { seekDeck(deckA); }
void Tform_mixer::trackbar5Track() { seekDeck(deckB); }
void Tform_mixer::trackPanChange() { panDeck(deckA); }
void Tform_mixer::TrackBar2Change() { panDeck(deckB); }
void Tform_mixer::trackFrequenciaChange() { pitchDeck(deckA); }
void Tform_mixer::TrackBar4Change() { pitchDeck(deckB); }
void Tform_mixer::MMLED1Click() { restoreOwnFrequency(deckA); }
void Tform_mixer::MMLED2Click() { restoreOwnFrequency(deckB); }

void Tform_mixer::seekDeck(Deck& d)
{
    if (!d.channel->Playing)
        return;
    Timer3->stop();
    d.monitorTimer->stop();
    // The slider's position is already where the operator put it; its value follows after.
    d.channel->SetPosition(d.positionSlider->sliderPosition());
    d.monitorTimer->start();
    Timer3->start();
    if (d.seekPlaysAgain)
        d.channel->Play();
    enableTransport(d, true);
}

void Tform_mixer::panDeck(Deck& d)
{
    const int value = d.panSlider->value();
    d.channel->setPan(d.panInverted ? -value : value);
}

void Tform_mixer::pitchDeck(Deck& d) { d.channel->setFrequency(uint32_t(d.frequencySlider->value())); }

void Tform_mixer::restoreOwnFrequency(Deck& d)
{
    d.channel->setFrequency(d.ownFrequency);
    d.frequencySlider->setValue(int(d.ownFrequency));
}
