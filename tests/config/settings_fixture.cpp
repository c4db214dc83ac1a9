#include "config/settings_fixture.h"

#include "audio/TCorvoBass.h"
#include "widgets/LedButton.h"
#include "widgets/SpinEdit.h"
#include "widgets/TrackBar.h"

#include <QCheckBox>
#include <QComboBox>

namespace settingstest {

namespace {
const int bands[10] = {0, 2, 4, 6, 8, 12, 14, 16, 18, 20};
}

QStringList fullFile(bool captureOn)
{
    const QString capture = captureOn ? "1" : "0";
    QStringList lines{"CAPTURAGR=" + capture, "AUTOMIXAR=0",   "WAV=1",       "MP3=0",
                      "OGG=1",                "WMA=1",         "CLIPS=0",     "TEMPO_MIX=4200",
                      "GRAFICO01=1",          "GRAFICO02=2",   "DEVICE_TRANSMISSAO=2", "DEVICE_CUE=3",
                      "ATIVA_SENSOR=0",       "VLR_SENSOR=55", "DRIVE=0",     "BUFFERS=3000",
                      "FADE=8000",            "BT_CAPTURAGR=" + capture, "EQ_ATIVA=1", "EQ_VOLUME=60"};
    for (int band = 0; band < 10; ++band)
        lines << QString("EQ_BANDA%1=%2").arg(band + 1, 2, 10, QChar('0')).arg(bands[band]);
    return lines;
}

QMap<QString, QString> fullValues(bool captureOn)
{
    QMap<QString, QString> values;
    for (const QString& line : fullFile(captureOn))
        values[line.section('=', 0, 0)] = line.section('=', 1);
    values.remove("CAPTURAGR");
    values.remove("CLIPS");
    values.remove("BUFFERS");
    values["pasta_captura"] = "/";
    return values;
}

QMap<QString, QString> defaultValues(const QString& home)
{
    QMap<QString, QString> values{{"AUTOMIXAR", "1"},   {"WAV", "0"},       {"MP3", "1"},
                                  {"OGG", "0"},         {"WMA", "0"},       {"TEMPO_MIX", "3000"},
                                  {"GRAFICO01", "0"},   {"GRAFICO02", "0"}, {"DEVICE_TRANSMISSAO", "1"},
                                  {"DEVICE_CUE", "1"},  {"ATIVA_SENSOR", "1"}, {"VLR_SENSOR", "20"},
                                  {"DRIVE", "1"},       {"pasta_captura", home}, {"FADE", "6000"},
                                  {"BT_CAPTURAGR", "0"}, {"EQ_ATIVA", "0"},  {"EQ_VOLUME", "75"}};
    for (int band = 1; band <= 10; ++band)
        values[QString("EQ_BANDA%1").arg(band, 2, 10, QChar('0'))] = "10";
    return values;
}

QMap<QString, QString> initialValues()
{
    QMap<QString, QString> values = defaultValues(QString());
    values["VLR_SENSOR"] = "40";
    values["DRIVE"] = "0";
    values["FADE"] = "5000";
    values["BT_CAPTURAGR"] = "1";
    values["EQ_VOLUME"] = "100";
    return values;
}

QMap<QString, QString> held(const Tform_mixer& w)
{
    const auto flag = [](bool on) { return QString(on ? "1" : "0"); };
    QMap<QString, QString> values{
        {"AUTOMIXAR", flag(w.LEDButton1->isOn())},
        {"WAV", flag(w.Checkbox3->isChecked())},
        {"MP3", flag(w.Checkbox4->isChecked())},
        {"OGG", flag(w.Checkbox1->isChecked())},
        {"WMA", flag(w.checkbox_wma->isChecked())},
        {"TEMPO_MIX", QString::number(w.RxSpinEdit7->value())},
        {"GRAFICO01", QString::number(uint16_t(w.grafico_a))},
        {"GRAFICO02", QString::number(uint16_t(w.grafico_b))},
        {"DEVICE_TRANSMISSAO", QString::number(w.device_transmissao)},
        {"DEVICE_CUE", QString::number(w.device_cue)},
        {"ATIVA_SENSOR", flag(w.LEDButton2->isOn())},
        {"VLR_SENSOR", QString::number(w.RxSpinEdit1->value())},
        {"DRIVE", QString::number(w.DriveComboBox1->currentIndex())},
        {"pasta_captura", w.pasta_captura},
        {"FADE", QString::number(w.tempo_fade)},
        {"BT_CAPTURAGR", flag(w.captura_geral->isOn())},
        {"EQ_ATIVA", flag(w.bsSkinCheckRadioBox1->isChecked())},
        {"EQ_VOLUME", QString::number(w.Trackbar6->value())},
    };
    const TrackBar* sliders[10] = {w.TrackBar20, w.Trackbar19, w.TrackBar7,  w.TrackBar8,       w.TrackBar9,
                                   w.TrackBar10, w.TrackBar11, w.TrackBar12, w.bsSkinTrackBar1, w.bsSkinTrackBar2};
    for (int band = 0; band < 10; ++band)
        values[QString("EQ_BANDA%1").arg(band + 1, 2, 10, QChar('0'))] = QString::number(sliders[band]->value());
    return values;
}

QByteArray fileBytes(const QStringList& lines)
{
    QByteArray bytes;
    for (const QString& line : lines)
        bytes += line.toUtf8() + "\r\n";
    return bytes;
}

Started::Started(const std::optional<QStringList>& file) : savedHome_(qgetenv("HOME"))
{
    const QString homeFolder = h.dataFile("home");
    qputenv("HOME", homeFolder.toUtf8());
    home = homeFolder + "/";
    if (file)
        h.writeDataFile("VOLTARIA4.INI", fileBytes(*file));
    w = &h.create();
    h.show();
}

Started::~Started() { qputenv("HOME", savedHome_); }

QStringList withValue(QStringList lines, const QString& key, const std::optional<QString>& value)
{
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (lines[i].section('=', 0, 0) != key)
            continue;
        if (value)
            lines[i] = key + "=" + *value;
        else
            lines.removeAt(i);
        break;
    }
    return lines;
}

QString differences(const QMap<QString, QString>& expected, const QMap<QString, QString>& actual)
{
    QString text;
    for (auto it = expected.begin(); it != expected.end(); ++it)
        if (actual.value(it.key()) != it.value())
            text += QString("%1: expected '%2', held '%3'; ").arg(it.key(), it.value(), actual.value(it.key()));
    return text;
}

} // namespace settingstest
