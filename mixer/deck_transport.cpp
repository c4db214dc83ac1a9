// Deck transport: loading the selected playlist entry, Play, the dry stop, Fade, Loop, the
// double click and the playlist's context menu. Main thread only.
#include "app/UMIXER.h"
#include "app/dialogs.h"
#include "app/media_load.h"
#include "app/funcoes.h"
#include "base/path_bytes.h"
#include "audio/TCorvoBass.h"
#include "audio/engine.h"
#include "library/path_case.h"
#include "mixer/deck_buttons.h"
#include "widgets/LedButton.h"
#include "widgets/LedLamp.h"
#include "widgets/LedText.h"
#include "widgets/TrackBar.h"

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>
#include <climits>

namespace {

// Through the path's own bytes: a name that is not UTF-8 exists too.
bool fileExists(const QString& path) { return base::isFile(path); }

} // namespace

void Tform_mixer::ListBox1Click() { loadSelectedEntry(deckA); }
void Tform_mixer::ListBox2Click() { loadSelectedEntry(deckB); }
void Tform_mixer::BitBtn2Click() { playDeck(deckA); }
void Tform_mixer::BitBtn6Click() { playDeck(deckB); }
void Tform_mixer::BitBtn4Click() { stopDeckDry(deckA); }
void Tform_mixer::BitBtn8Click() { stopDeckDry(deckB); }
void Tform_mixer::BitBtn5Click() { fadeDeck(deckA); }
void Tform_mixer::BitBtn9Click() { fadeDeck(deckB); }
void Tform_mixer::ListBox1DblClick() { playIfStopped(deckA); }
void Tform_mixer::ListBox2DblClick() { playIfStopped(deckB); }
void Tform_mixer::loop_esquerdaClick() { switchLoop(deckA); }
void Tform_mixer::loop_direitaClick() { switchLoop(deckB); }
void Tform_mixer::Play1Click() { playDeck(deckA); }
void Tform_mixer::Stop1Click() { stopDeckDry(deckA); }
void Tform_mixer::MenuItem1Click() { playDeck(deckB); }
void Tform_mixer::MenuItem3Click() { stopDeckDry(deckB); }
void Tform_mixer::PopupMenu5Popup() { prepareListMenu(deckA); }
void Tform_mixer::PopupMenu6Popup() { prepareListMenu(deckB); }

bool Tform_mixer::loadSelectedEntry(Deck& d)
{
    const int row = d.listBox->currentRow();
    // While the deck plays a click only moves the selection; the next advance starts there.
    if (row < 0 || d.listBox->count() < 1 || d.channel->Playing || row >= d.paths.size())
        return false;
    // Lists brought from Windows may spell a path in other letter case than the disk does.
    const QString path = library::existingPathIgnoringCase(d.paths[row]);
    if (!fileExists(path)) {
        mensagem(d.missingFileNamesPath ? "Arquivo ->" + path + " - Não Localizado !!"
                                        : QStringLiteral("Arquivo Selecionado não localizado !!!"));
        d.playButton->setEnabled(false);
        return false;
    }
    if (!carrega_midia(*d.channel, path)) {
        // Nothing playable was loaded, so Play stays off rather than pretend to play.
        d.playButton->setEnabled(false);
        return false;
    }
    if (d.loadClearsDisplays) {
        limpa_grafico(d.number);
        limpa_mixer(d.number);
    }
    const int64_t length = d.channel->GetLength();
    d.positionSlider->setMaximum(int(std::min<int64_t>(length, INT_MAX)));
    d.frequencySlider->setEnabled(true);
    d.ownFrequencyLed->setEnabled(true);
    d.panSlider->setEnabled(true);
    d.positionSlider->setEnabled(true);
    const std::optional<QString> duration = texto_tempo(length);
    if (!duration)
        return true;
    d.durationText->setText(*duration);
    d.playButton->setEnabled(true);
    d.listBox->setToolTip(d.channel->FilePath.trimmed());
    d.title->setText(d.channel->FileName);
    d.frequencyText->setText(QString::number(d.channel->frequency()));
    return true;
}

void Tform_mixer::playDeck(Deck& d)
{
    if (!fileExists(d.channel->FilePath))
        return;
    if (QListWidgetItem* current = d.listBox->currentItem())
        d.listBox->scrollToItem(current, QAbstractItemView::PositionAtTop);
    d.mixing = false;
    d.playingOut = false;
    if (d.playRestartsStatusFirst)
        label5->move(Panel18->width(), label5->y());
    reapplySoundSettings(d);
    // Not playing yet, so this is the rate the track was loaded with.
    d.ownFrequency = d.channel->frequency();
    d.frequencySlider->setValue(int(d.ownFrequency));
    d.channel->SetPosition(0);
    d.channel->Play();
    if (d.channel->Playing) {
        // From here on the track ends by itself unless a stop path says otherwise.
        d.stopReason = mixer::StopReason::End;
        registro.started(*d.channel, d.channelName);
    }
    TrackBar18Change();
    if (!d.playRestartsStatusFirst)
        label5->move(Panel18->width(), label5->y());
    d.monitorTimer->start();
    enableTransport(d, true);
    if (LEDButton1->isOn()) {
        d.loopButton->setEnabled(false);
    } else {
        d.loopButton->setEnabled(true);
        d.channel->Loop = d.loopButton->isOn();
    }
}

void Tform_mixer::reapplySoundSettings(Deck& d)
{
    d.channel->SetEQ(bsSkinCheckRadioBox1->isChecked());
    for (int band = 0; band < 10; ++band)
        applyEqualiserBand(band);
    Trackbar6Change();
}

void Tform_mixer::stopDeckDry(Deck& d)
{
    // Stopping the timer first tells the stop handler to reload the same entry.
    d.monitorTimer->stop();
    if (d.dryStopClearsDisplays)
        limpa_grafico(d.number);
    if (!d.channel->Playing)
        return;
    d.stopReason = mixer::StopReason::Dry;
    d.channel->Stop(); // the stop handler runs inside
    enableTransport(d, false);
    if (d.dryStopClearsDisplays)
        limpa_mixer(d.number);
}

void Tform_mixer::fadeDeck(Deck& d)
{
    if (!d.channel->Playing)
        return;
    d.channel->FadeOut(tempo_fade);
    d.stopReason = mixer::StopReason::Fade;
    d.playButton->setEnabled(true);
    d.fadeButton->setEnabled(false);
    d.mixing = true;
}

void Tform_mixer::playIfStopped(Deck& d)
{
    if (!d.channel->Playing)
        playDeck(d);
}

void Tform_mixer::switchLoop(Deck& d)
{
    // The button raises its click before it flips: the state after the click is the opposite.
    if (!d.loopOnlyWhilePlaying || d.channel->Playing)
        d.channel->Loop = !d.loopButton->isOn();
}

void Tform_mixer::prepareListMenu(Deck& d)
{
    d.menuPlay->setEnabled(d.playButton->isEnabled());
    d.menuStop->setEnabled(d.stopButton->isEnabled());
    d.menuDelete->setEnabled(!d.monitorTimer->isActive() && d.listBox->count() >= 1);
}
