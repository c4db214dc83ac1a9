// The LED status line: the product or visit line running right to left while no deck or both
// decks play, the playing deck's title sliding in while one deck plays alone, and a steady
// warning while nothing can be heard. Its position is the LED text's left edge inside its panel,
// which clips it.
#include "app/UMIXER.h"
#include "app/paths.h"
#include "app/tray.h"
#include "audio/TCorvoBass.h"
#include "widgets/LedText.h"
#include "widgets/Palette.h"

#include <QLabel>
#include <QLocale>
#include <QTimer>

namespace {
const QString kNoSound = QStringLiteral("SEM SAÍDA DE SOM");
} // namespace

void Tform_mixer::Timer6Timer()
{
    // While the music output has failed (the silent clock keeps the decks' time), the decks
    // count on with nothing heard: the line says so, red and still, and so does the tray's tip.
    const bool heard = canal_a->OutputHeard();
    label5->setLedColor(heard ? skin::statusText : skin::ledRed);
    Systray1->setAlert(heard ? QString() : kNoSound);
    if (!heard) {
        if (Timer6->interval() != 200)
            Timer6->setInterval(200);
        label5->setText(kNoSound);
        label5->move((Panel18->width() - label5->textWidth()) / 2, label5->y());
        return;
    }
    const bool aPlays = Timer1->isActive(), bPlays = Timer2->isActive();
    const int left = label5->x();
    if (aPlays == bPlays) {
        if (Timer6->interval() != 200)
            Timer6->setInterval(200);
        label5->setText(app::wallClock().time().minute() % 2 == 1 ? app::productLine() : app::visitLine());
        // Runs out on the left, then enters again 3 pixels inside the right border.
        if (left + label5->width() > 3)
            label5->move(left - 3, label5->y());
        else
            label5->move(Panel18->width() - 3, label5->y());
        return;
    }
    if (Timer6->interval() != 45)
        Timer6->setInterval(45);
    const Deck& d = aPlays ? deckA : deckB;
    const QString title = d.title->text();
    label5->setText(QLocale::system().toUpper(title.left(qMax(0, title.size() - 4)) + " - " + d.durationText->text()));
    // Slides in until its left edge is at 2 or less, then rests.
    if (left > 2)
        label5->move(left - 5, label5->y());
}
