// The equaliser panel (switch, ten bands, master volume), shared by both decks, and each
// deck's flanger, echo and cut switches with the flanger's intensity. Main thread only.
#include "app/UMIXER.h"
#include "audio/TCorvoBass.h"
#include "widgets/TrackBar.h"

#include <QCheckBox>

void Tform_mixer::bsSkinCheckRadioBox1Click()
{
    const bool on = bsSkinCheckRadioBox1->isChecked();
    canal_a->SetEQ(on);
    canal_b->SetEQ(on);
    for (int band = 0; band < 10; ++band)
        applyEqualiserBand(band);
}

void Tform_mixer::Trackbar6Change()
{
    canal_a->setVolume(uint32_t(Trackbar6->value()));
    canal_b->setVolume(uint32_t(Trackbar6->value()));
}

void Tform_mixer::TrackBar20Change() { applyEqualiserBand(0); }
void Tform_mixer::Trackbar19Change() { applyEqualiserBand(1); }
void Tform_mixer::TrackBar7Change() { applyEqualiserBand(2); }
void Tform_mixer::TrackBar8Change() { applyEqualiserBand(3); }
void Tform_mixer::TrackBar9Change() { applyEqualiserBand(4); }
void Tform_mixer::TrackBar10Change() { applyEqualiserBand(5); }
void Tform_mixer::TrackBar11Change() { applyEqualiserBand(6); }
void Tform_mixer::TrackBar12Change() { applyEqualiserBand(7); }
void Tform_mixer::bsSkinTrackBar1Change() { applyEqualiserBand(8); }
void Tform_mixer::bsSkinTrackBar2Change() { applyEqualiserBand(9); }

void Tform_mixer::applyEqualiserBand(int band)
{
    const TrackBar* sliders[10] = {TrackBar20, Trackbar19, TrackBar7,  TrackBar8,       TrackBar9,
                                   TrackBar10, TrackBar11, TrackBar12, bsSkinTrackBar1, bsSkinTrackBar2};
    const int centre = int(audio::kEqCentres[band]);
    canal_a->EQBand(band, centre, sliders[band]->value());
    canal_b->EQBand(band, centre, sliders[band]->value());
}

void Tform_mixer::CheckBox2Click() { switchFlanger(deckA); }
void Tform_mixer::CheckBox5Click() { switchFlanger(deckB); }
void Tform_mixer::Flanger1Change() { setFlangerIntensity(deckA); }
void Tform_mixer::Flanger2Change() { setFlangerIntensity(deckB); }
void Tform_mixer::CheckBox6Click() { switchEcho(deckA); }
void Tform_mixer::CheckBox8Click() { switchEcho(deckB); }
void Tform_mixer::CheckBox7Click() { switchCut(deckA); }
void Tform_mixer::CheckBox9Click() { switchCut(deckB); }

void Tform_mixer::switchFlanger(Deck& d) { d.channel->SetFlanger(d.flangerBox->isChecked()); }
void Tform_mixer::setFlangerIntensity(Deck& d) { d.channel->FlangerParams(130, 120, d.flangerIntensity->value()); }
void Tform_mixer::switchEcho(Deck& d) { d.channel->SetEcho(d.echoBox->isChecked()); }
void Tform_mixer::switchCut(Deck& d) { d.channel->SetCut(d.cutBox->isChecked()); }
