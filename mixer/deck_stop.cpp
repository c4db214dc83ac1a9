// What a deck does when its channel stops: after a fade or the end of the track it advances
// to the next playlist entry (wrapping to the first), after a dry stop it reloads the same
// one. Runs on the main thread, nested inside the channel's Stop.
#include "app/UMIXER.h"
#include "app/dialogs.h"
#include "app/paths.h"
#include "audio/TCorvoBass.h"
#include "mixer/deck_buttons.h"
#include "widgets/LedButton.h"
#include "widgets/LedGauge.h"
#include "widgets/TrackBar.h"

#include <QApplication>
#include <QListWidget>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QTimer>
#include <optional>

void Tform_mixer::Canal_aStop(QObject*) { deckStopped(deckA); }
void Tform_mixer::Canal_bStop(QObject*) { deckStopped(deckB); }

void Tform_mixer::deckStopped(Deck& d)
{
    trackStopped(d);
    // Until the next entry is loaded the auto-mix must not start this deck again.
    const QScopedValueRollback<bool> stopping(d.stopping, true);
    if (d.stopRunsPendingEventsFirst) {
        QApplication::processEvents();
        // A Play among those events has started the deck again: this stop is over.
        if (d.channel->Playing)
            return;
    }
    // With Auto Mix on a box about the next entry must not hold this handler, and with it the
    // hand-over and the silence watch, until someone answers it.
    std::optional<Unattended> unattended;
    if (LEDButton1->isOn())
        unattended.emplace();
    // While the operator holds the position slider the deck keeps its state; the monitor
    // hands the focus back to the playlist on its next tick.
    if (d.positionSlider->hasFocus())
        return;
    // A dry stop has already stopped the monitor.
    const bool advancing = d.monitorTimer->isActive();
    if (advancing)
        selectNextEntry(d);
    d.monitorTimer->stop();
    limpa_grafico(d.number);
    if (!d.stopClearsOnlyWhenMixing || d.mixing)
        limpa_mixer(d.number);
    d.positionGauge->setValue(0);
    d.levelGauge->setValue(0);
    for (QPushButton* button : {d.playButton, d.stopButton, d.fadeButton})
        button->setDown(false);
    enableTransport(d, false);
    if (d.stopDisablesLoop)
        d.loopButton->setEnabled(false);
    const bool loaded = loadSelectedEntry(d);
    if (advancing)
        autoMixAfterAdvance(d, loaded);
}

void Tform_mixer::trackStopped(Deck& d)
{
    // A channel that was not playing may raise its stop again: that is no stop of a track.
    if (d.stopReason == mixer::StopReason::None)
        return;
    registro.stopped(*d.channel, d.stopReason);
    vigia.lastStopped = &d;
    vigia.operatorStopped = mixer::operatorStop(d.stopReason);
    vigia.silentSince = app::wallClock();
    d.stopReason = mixer::StopReason::None;
}

void Tform_mixer::selectNextEntry(Deck& d)
{
    const int row = d.listBox->currentRow();
    d.listBox->setCurrentRow(row + 1 > d.listBox->count() - 1 ? 0 : row + 1);
}
