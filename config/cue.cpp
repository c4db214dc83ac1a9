// The cue button: whether a preview started from the library grid sounds on the cue device or
// beside the decks on the music device, and the device rule the preview applies. Main thread.
#include "app/UMIXER.h"
#include "audio/TCorvoBass.h"
#include "widgets/StringGrid.h"

#include <QPushButton>

namespace {

// On: pure red and held down; off: the button's initial grey, released.
void showCue(QPushButton* button, bool on)
{
    QPalette look = button->palette();
    look.setColor(QPalette::Button, on ? QColor(255, 0, 0) : QColor(128, 128, 128));
    button->setPalette(look);
    button->setChecked(on);
}

} // namespace

void Tform_mixer::SRColorButton1Click()
{
    // A playing preview keeps the device it started on; the click changes nothing, not even the
    // button's own held state.
    if (canal_00->Playing) {
        SRColorButton1->setChecked(cue_ligado);
        return;
    }
    showCue(SRColorButton1, !cue_ligado);
    // The switch is taken back from the button, so the two never disagree.
    cue_ligado = SRColorButton1->isChecked();
}

int16_t Tform_mixer::previewDevice() const
{
    // The search results are always previewed on the cue device, whatever the switch says. The
    // outputs are those in force, not the numbers the configuration dialog keeps for the next start.
    if (!StringGrid2->isHidden())
        return saida_cue;
    return cue_ligado ? saida_cue : saida_musicas;
}

void Tform_mixer::connectCueButton()
{
    SRColorButton1->setCheckable(true);
    showCue(SRColorButton1, cue_ligado);
    connect(SRColorButton1, &QPushButton::clicked, this, [this] { SRColorButton1Click(); });
}
