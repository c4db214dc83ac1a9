// The deck monitor: every 50 ms while a deck plays, its time display (elapsed or remaining),
// duration, position slider (its range too, once the length is counted) and gauge, and
// frequency; for a stopped deck, the length once it is known. Main thread only.
#include "app/UMIXER.h"
#include "app/funcoes.h"
#include "audio/TCorvoBass.h"
#include "widgets/LedGauge.h"
#include "widgets/LedPanel.h"
#include "widgets/TrackBar.h"

#include <QLabel>
#include <QListWidget>
#include <climits>

namespace {

int clampedToInt(int64_t value) { return int(std::clamp<int64_t>(value, 0, INT_MAX)); }

// The slider's range follows the counted length, but not under the operator's hand: a range
// changed mid-drag would move the knob's meaning, so it waits for the release.
void fitSliderToLength(TrackBar* slider, int64_t length)
{
    if (!slider->isSliderDown() && slider->maximum() != clampedToInt(length))
        slider->setMaximum(clampedToInt(length));
}

} // namespace

void Tform_mixer::Timer1Timer() { monitorTick(deckA); }
void Tform_mixer::Timer2Timer() { monitorTick(deckB); }
bool Tform_mixer::Display_c01(const QString& time) { return showTime(deckA, time); }
bool Tform_mixer::Display_c02(const QString& time) { return showTime(deckB, time); }
void Tform_mixer::MMLEDPanel1Click() { switchTimeMode(deckA); }
void Tform_mixer::MMLEDPanel3Click() { switchTimeMode(deckB); }

// An MP3's true length is counted after the load returns: a stopped deck shows it once known.
// The lamps' tick calls this, as a stopped deck's own monitor does not run; a playing deck's
// monitor fits its slider itself.
void Tform_mixer::showKnownLength(Deck& d)
{
    const int64_t length = d.channel->GetLength();
    if (!d.channel->Loaded || !d.positionSlider->isEnabled() || d.positionSlider->maximum() == clampedToInt(length))
        return;
    fitSliderToLength(d.positionSlider, length);
    if (const std::optional<QString> duration = texto_tempo(length))
        d.durationText->setText(*duration);
}

void Tform_mixer::monitorTick(Deck& d)
{
    if (!d.channel->Playing) {
        // The stop handler held back while the operator held the slider (the track ended
        // between two ticks): the focus does not outlive the track, and the end is handled now.
        if (d.positionSlider->hasFocus() && !d.stopping) {
            d.listBox->setFocus();
            deckStopped(d);
        }
        return;
    }
    drawDeckView(d);
    // The slider keeps the focus only right after the operator used it.
    if (d.positionSlider->hasFocus())
        d.listBox->setFocus();
    autoMixTimeTrigger(d);
    const int64_t length = d.channel->GetLength();
    const int64_t position = d.channel->GetPosition();
    // A time of 24 hours or more is no time of day: the displays keep their last values.
    const std::optional<QString> time = texto_tempo(d.timeMode == 2 ? length - position : position);
    if (!time || !showTime(d, *time))
        return;
    const std::optional<QString> duration = texto_tempo(length);
    if (!duration)
        return;
    d.durationText->setText(*duration);
    // The range before the value: a position past the header's estimate is not cut to it.
    fitSliderToLength(d.positionSlider, length);
    d.positionSlider->setValue(clampedToInt(position));
    d.frequencyText->setText(QString::number(d.channel->frequency()));
    d.positionGauge->setRange(0, clampedToInt(length));
    d.positionGauge->setValue(clampedToInt(position));
    autoMixLevelTrigger(d);
}

bool Tform_mixer::showTime(Deck& d, const QString& time)
{
    bool minutesRead = false, secondsRead = false;
    const int minutes = time.mid(0, 2).toInt(&minutesRead);
    const int seconds = time.mid(3, 2).toInt(&secondsRead);
    if (!minutesRead || !secondsRead)
        return false;
    d.minutesPanel->setValue(minutes);
    d.secondsPanel->setValue(seconds);
    return true;
}

void Tform_mixer::switchTimeMode(Deck& d) { d.timeMode = d.timeMode + 1 > 2 ? 1 : d.timeMode + 1; }

