// The window's show step: the settings file into the controls, then the channels on their
// devices and the rest of the start-up.
#include "app/UMIXER.h"
#include "app/dialogs.h"
#include "app/funcoes.h"
#include "app/paths.h"
#include "app/session.h"
#include "audio/TCorvoBass.h"
#include "config/settings_controls.h"
#include "config/settings_file.h"
#include "library/drive_list.h"
#include "widgets/LedButton.h"
#include "widgets/SpinEdit.h"
#include "widgets/StringGrid.h"
#include "widgets/TrackBar.h"

#include <QCheckBox>
#include <QComboBox>
#include <functional>
#include <vector>

namespace {

// Switches that are only read here and set after the channels are opened, with their presets.
struct HeldSwitches {
    bool autoMix = true;
    bool wav = false;
    bool mp3 = true;
    bool sensor = true;
    QString mixTime = QStringLiteral("3000");
};

// A check box set from code runs its click handler as the operator's click does, even when the
// state stays as it was.
void setTicked(QCheckBox* box, bool ticked)
{
    box->setChecked(ticked);
    emit box->clicked(ticked);
}

// One key of the reading: its value when the key is missing, and what the value does; false
// when the value cannot be taken, which ends the reading there.
struct ReadStep {
    QString key;
    QString fallback;
    std::function<bool(const QString& value)> take;
};

ReadStep integer(const QString& key, const QString& fallback, std::function<void(int32_t)> take)
{
    return {key, fallback, [take = std::move(take)](const QString& value) {
                const std::optional<int32_t> number = settings::toInteger(value);
                if (number)
                    take(*number);
                return number.has_value();
            }};
}

ReadStep switchKey(const QString& key, const QString& fallback, std::function<void(bool)> take)
{
    return integer(key, fallback, [take = std::move(take)](int32_t value) { take(value == 1); });
}

// Selects the saved drive and makes its root the capture folder; false when the index names
// no entry (the list is then left without a selection).
bool takeDrive(Tform_mixer& w, int32_t index)
{
    w.DriveComboBox1->setCurrentIndex(index);
    if (index < 0 || index >= w.DriveComboBox1->count())
        return false;
    w.pasta_captura = library::rootFolder(w.DriveComboBox1->itemData(index).toString());
    return true;
}

// The keys in the order they are read and applied.
std::vector<ReadStep> readingOrder(Tform_mixer& w, HeldSwitches& held)
{
    std::vector<ReadStep> steps{
        switchKey("AUTOMIXAR", "1", [&](bool on) { held.autoMix = on; }),
        switchKey("WAV", "0", [&](bool on) { held.wav = on; }),
        switchKey("MP3", "1", [&](bool on) { held.mp3 = on; }),
        integer("CLIPS", "0", [](int32_t) {}),
        {"TEMPO_MIX", "3000",
         [&](const QString& value) {
             held.mixTime = value;
             return true;
         }},
        integer("GRAFICO01", "0", [&](int32_t v) { w.grafico_a = static_cast<int16_t>(static_cast<uint16_t>(v)); }),
        integer("GRAFICO02", "0", [&](int32_t v) { w.grafico_b = static_cast<int16_t>(static_cast<uint16_t>(v)); }),
        integer("DEVICE_TRANSMISSAO", "1", [&](int32_t v) { w.device_transmissao = static_cast<int16_t>(v); }),
        integer("DEVICE_CUE", "1", [&](int32_t v) { w.device_cue = static_cast<int16_t>(v); }),
        switchKey("ATIVA_SENSOR", "1", [&](bool on) { held.sensor = on; }),
        integer("VLR_SENSOR", "20", [&](int32_t v) { w.RxSpinEdit1->setValue(v); }),
        {"DRIVE", "1",
         [&](const QString& value) {
             const std::optional<int32_t> index = settings::toInteger(value);
             return index && takeDrive(w, *index);
         }},
        integer("FADE", "6000", [&](int32_t v) { w.tempo_fade = v; }),
        switchKey("BT_CAPTURAGR", "0", [&](bool on) { w.captura_geral->setOn(on); }),
        switchKey("EQ_ATIVA", "0", [&](bool on) { setTicked(w.bsSkinCheckRadioBox1, on); }),
        integer("EQ_VOLUME", "75", [&](int32_t v) { w.Trackbar6->setValue(v); }),
    };
    const std::array<TrackBar*, 10> bands = bandSliders(w);
    for (int band = 0; band < 10; ++band)
        steps.push_back(integer(settings::bandKey(band), "10", [slider = bands[band]](int32_t v) { slider->setValue(v); }));
    steps.push_back(switchKey("OGG", "0", [&](bool on) { setTicked(w.Checkbox1, on); }));
    steps.push_back(switchKey("WMA", "0", [&](bool on) { setTicked(w.checkbox_wma, on); }));
    return steps;
}

// Applies the keys in order up to the first value that cannot be taken; false when one stopped it.
bool readSettings(Tform_mixer& w, const QStringList& lines, HeldSwitches& held)
{
    for (const ReadStep& step : readingOrder(w, held))
        if (!step.take(busca_valor(lines, step.key, step.fallback)))
            return false;
    return true;
}

// A remembered output name wins over its number, which names another output once a card is
// unplugged; an output absent now gets a number of its own, whose channels wait for it.
void takeOutputName(const QStringList& lines, const QString& key, TCorvoBass& channel, int16_t& device)
{
    const QString name = busca_valor(lines, key, QString());
    if (!name.isEmpty())
        device = static_cast<int16_t>(channel.DeviceNumber(name));
}

} // namespace

void Tform_mixer::FormShow()
{
    HeldSwitches held;
    tempo_fade = 5000;
    StringGrid1->setColWidths(0, 0);

    QStringList lines = settings::readLines();
    if (!readSettings(*this, lines, held))
        dialogs().message(QStringLiteral(
            "Erro na Leitura (INI)\rFeche o Voltaria e execute novamente\rPara atualização dos dados"));

    takeOutputName(lines, QStringLiteral("PLACA_MUSICAS"), *canal_a, device_transmissao);
    takeOutputName(lines, QStringLiteral("PLACA_CUE"), *canal_00, device_cue);
    // A line of its own after the thirty: a file without it, or with a bad value, leaves it off.
    VigiaSilencio1->setChecked(settings::toInteger(busca_valor(lines, QStringLiteral("VIGIA"), "0")) == 1);
    saida_musicas = device_transmissao;
    saida_cue = device_cue;
    canal_00->OpenDevice(saida_cue, this);
    for (TCorvoBass* channel : {canal_a, canal_b, canal_atalho})
        channel->OpenDevice(saida_musicas, this);
    lines.clear();
    carrega_atalhos();

    LEDButton1->setOn(held.autoMix);
    setTicked(Checkbox3, held.wav);
    setTicked(Checkbox4, held.mp3);
    LEDButton2->setOn(held.sensor);
    // A mix time that is no number gets the preset, as when the reading stopped before it.
    RxSpinEdit7->setValue(settings::toInteger(held.mixTime).value_or(3000));

    setWindowTitle(QStringLiteral("Arvesto Voltaria-PRO 4.1 - ") + QString::fromLatin1(app::webAddress));
    abre_biblioteca();
    session::start(*this);
}
