// Every 500 ms: the "PLAY" lamps and the mix LEDs blink for the playing decks, the buttons that
// must not be used while a deck plays are locked, and a stopped deck shows its length once the
// background count knows it. Main thread only.
#include "app/UMIXER.h"
#include "audio/TCorvoBass.h"
#include "widgets/LedLamp.h"

#include <QLabel>
#include <QListWidget>
#include <QPushButton>

namespace {

void setBackground(QLabel* label, const QColor& colour)
{
    const QString sheet = QString("background: %1;").arg(colour.name());
    if (label->styleSheet() != sheet)
        label->setStyleSheet(sheet);
}

} // namespace

void Tform_mixer::Timer3Timer()
{
    for (Deck* d : {&deckA, &deckB}) {
        if (d->listBox->count() == 0) {
            d->playButton->setEnabled(false);
            d->title->setText("Música:");
        }
        if (!d->channel->Playing)
            showKnownLength(*d);
    }
    lampsAndLocks(deckA, speedbutton1, MMLED4);
    lampsAndLocks(deckB, speedbutton2, MMLED3);
}

void Tform_mixer::lampsAndLocks(Deck& d, QPushButton* mixButton, LedLamp* mixLed)
{
    const bool playing = d.channel->Playing;
    for (QPushButton* locked : {d.clearButton, d.deleteButton, mixButton})
        locked->setEnabled(!playing);
    mixLed->setActive(playing && !mixLed->active());
    setBackground(d.playIndicator, playing ? QColor(255, 0, 0) : QColor(64, 64, 64));
}
