// The window's close step: the exit question, the dry stops and the settings file written from
// the controls.
#include "app/UMIXER.h"
#include "app/dialogs.h"
#include "app/funcoes.h"
#include "app/session.h"
#include "audio/TCorvoBass.h"
#include "config/settings_controls.h"
#include "config/settings_file.h"
#include "widgets/LedButton.h"
#include "widgets/SpinEdit.h"
#include "widgets/TrackBar.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>

namespace {

// The 30 lines of the settings file in the order they are always written, then the names of the
// two chosen outputs, which the next start prefers to their numbers.
QStringList settingsLines(const Tform_mixer& w)
{
    QStringList lines;
    const auto add = [&lines](const QString& key, int64_t value) { lines << key + u'=' + QString::number(value); };
    add("CAPTURAGR", w.captura_geral->isOn());
    add("AUTOMIXAR", w.LEDButton1->isOn());
    add("WAV", w.Checkbox3->isChecked());
    add("MP3", w.Checkbox4->isChecked());
    add("OGG", w.Checkbox1->isChecked());
    add("WMA", w.checkbox_wma->isChecked());
    add("CLIPS", 0);
    add("TEMPO_MIX", w.RxSpinEdit7->value());
    add("GRAFICO01", static_cast<uint16_t>(w.grafico_a));
    add("GRAFICO02", static_cast<uint16_t>(w.grafico_b));
    add("DEVICE_TRANSMISSAO", w.device_transmissao);
    add("DEVICE_CUE", w.device_cue);
    add("ATIVA_SENSOR", w.LEDButton2->isOn());
    add("VLR_SENSOR", w.RxSpinEdit1->value());
    add("DRIVE", w.DriveComboBox1->currentIndex());
    add("BUFFERS", 3000);
    add("FADE", w.tempo_fade);
    add("BT_CAPTURAGR", w.captura_geral->isOn());
    add("EQ_ATIVA", w.bsSkinCheckRadioBox1->isChecked());
    add("EQ_VOLUME", w.Trackbar6->value());
    const std::array<TrackBar*, 10> bands = bandSliders(w);
    for (int band = 0; band < 10; ++band)
        add(settings::bandKey(band), bands[band]->value());
    lines << "PLACA_MUSICAS=" + w.canal_a->DeviceName(w.device_transmissao);
    lines << "PLACA_CUE=" + w.canal_00->DeviceName(w.device_cue);
    return lines;
}

} // namespace

void Tform_mixer::FormClose(QCloseEvent* event)
{
    if (!confirma(QStringLiteral("Deseja Sair do Arvesto Voltaria ??"))) {
        event->ignore();
        return;
    }
    BitBtn4Click();
    BitBtn8Click();
    const QStringList lines = settingsLines(*this);
    if (canal_00->Playing)
        BitBtn23Click();
    // The stop handlers run inside the dry stops; a deck they left playing is stopped again.
    if (canal_a->Playing)
        BitBtn4Click();
    if (canal_b->Playing)
        BitBtn8Click();
    if (!settings::writeLines(lines))
        dialogs().message(QStringLiteral("Erro ao Gravar arquivo do sistema"));
    session::close(*this);
    lista_a.clear();
    lista_b.clear();
}
