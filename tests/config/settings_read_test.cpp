// The settings file read at the window's first show: defaults, missing keys, the reading that
// stops at its first bad value, clamping, and the lookup that matches a key inside a line.
#include "config/settings_fixture.h"

#include "audio/TCorvoBass.h"
#include "audio/engine.h"
#include "widgets/LedButton.h"
#include "widgets/StringGrid.h"
#include "widgets/TrackBar.h"

#include <QCheckBox>
#include <QComboBox>
#include <QSignalSpy>
#include <gtest/gtest.h>

using namespace settingstest;

namespace {

void expectChannelsOn(const Tform_mixer& w, int music, int cue)
{
    EXPECT_EQ(w.canal_00->Device, cue);
    for (const TCorvoBass* channel : {w.canal_a, w.canal_b, w.canal_atalho})
        EXPECT_EQ(channel->Device, music) << channel->objectName().toStdString();
}

} // namespace

TEST(SettingsRead, NoFileGivesEveryDefaultAndStartsWithoutAMessage)
{
    Started s(std::nullopt);
    EXPECT_EQ(differences(defaultValues(s.home), held(*s.w)).toStdString(), "");
    EXPECT_TRUE(s.h.dialogs.shown.isEmpty());
    expectChannelsOn(*s.w, 1, 1);
    EXPECT_EQ(s.w->StringGrid1->ColWidths(0), 0);
    EXPECT_EQ(s.w->windowTitle(), "Arvesto Voltaria-PRO 4.1 - www.arvesto.example");
}

// Catches a key read into the wrong control (each band has a value of its own) and channels
// opened on the wrong device.
TEST(SettingsRead, EveryKeyReachesItsControl)
{
    Started s(fullFile(false));
    EXPECT_EQ(differences(fullValues(false), held(*s.w)).toStdString(), "");
    EXPECT_TRUE(s.h.dialogs.shown.isEmpty());
    expectChannelsOn(*s.w, 2, 3);
}

// The remembered output names: one that is there wins over its number (numbers move when a card
// is unplugged); one that is not gets a number after the list and its channels wait on the silent
// clock; a file without names, or with empty ones, keeps its numbers.
TEST(SettingsRead, RememberedOutputNameWinsOverItsNumber)
{
    const struct {
        QStringList names;
        int music, cue;
    } cases[] = {
        {{}, 2, 3},
        {{"PLACA_MUSICAS=", "PLACA_CUE="}, 2, 3},
        {{"PLACA_MUSICAS=Sem saída de som", "PLACA_CUE=Placa de teste"}, 3, 2},
        {{"PLACA_MUSICAS=Placa de teste", "PLACA_CUE=Fones USB"}, 2, 4},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.names.join(' ').toStdString());
        Started s(fullFile(false) + c.names);
        EXPECT_TRUE(s.h.dialogs.shown.isEmpty());
        EXPECT_EQ(s.w->device_transmissao, c.music);
        EXPECT_EQ(s.w->device_cue, c.cue);
        expectChannelsOn(*s.w, c.music, c.cue);
        // 2 is a card; 3 the null device and 4 the absent headphones, both on the silent clock.
        EXPECT_EQ(audio::deviceOnline(c.cue), c.cue == 2);
    }
}

// Each key left out on its own takes its default and no other key moves.
TEST(SettingsRead, MissingKeyTakesItsDefaultAlone)
{
    for (const QString& line : fullFile(true)) {
        const QString key = line.section('=', 0, 0);
        SCOPED_TRACE(key.toStdString());
        Started s(withValue(fullFile(true), key, std::nullopt));
        QMap<QString, QString> expected = fullValues(true);
        if (expected.contains(key))
            expected[key] = defaultValues(s.home)[key];
        if (key == "DRIVE")
            expected["pasta_captura"] = s.home;
        EXPECT_EQ(differences(expected, held(*s.w)).toStdString(), "");
        EXPECT_TRUE(s.h.dialogs.shown.isEmpty());
    }
}

// The reading stops at the first value that is no integer or at a drive index beyond the list:
// the keys read before it keep the file's values, the rest what the window held, and the
// start-up goes on with the channels and the caption.
TEST(SettingsRead, BadValueStopsTheReadingThere)
{
    const struct {
        const char* key;
        const char* value; // "count" stands for the number of drives
    } cases[] = {
        {"AUTOMIXAR", "x"},     {"CLIPS", "1.5"},          {"GRAFICO02", ""},  {"DEVICE_CUE", "99999999999"},
        {"DRIVE", "count"},     {"DRIVE", "-1"},           {"DRIVE", "a"},     {"FADE", ""},
        {"BT_CAPTURAGR", "on"}, {"EQ_BANDA05", "abc"},     {"WMA", "1x"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.key) + "=" + c.value);
        QString value = c.value;
        if (value == "count") {
            test::Harness probe;
            value = QString::number(probe.create().DriveComboBox1->count());
        }
        Started s(withValue(fullFile(false), c.key, value));

        QMap<QString, QString> expected = fullValues(false);
        const QMap<QString, QString> initial = initialValues();
        for (qsizetype i = readingOrder.indexOf(c.key); i < readingOrder.size(); ++i)
            if (initial.contains(readingOrder[i]))
                expected[readingOrder[i]] = initial[readingOrder[i]];
        // The saved index is selected before it is checked: a bad one leaves no selection.
        if (QString(c.key) == "DRIVE" && value != "a")
            expected["DRIVE"] = "-1";
        EXPECT_EQ(differences(expected, held(*s.w)).toStdString(), "");
        EXPECT_EQ(s.h.dialogs.texts(), QStringList{readError});
        EXPECT_EQ(s.h.dialogs.beeps, 0);
        expectChannelsOn(*s.w, expected["DEVICE_TRANSMISSAO"].toInt(), expected["DEVICE_CUE"].toInt());
        EXPECT_EQ(s.w->windowTitle(), "Arvesto Voltaria-PRO 4.1 - www.arvesto.example");
    }
}

// The mix time is read as text and converted after the reading: a bad one stops nothing and
// leaves the spin edit at the preset.
TEST(SettingsRead, BadMixTimeFallsBackToThePresetAlone)
{
    Started s(withValue(fullFile(false), "TEMPO_MIX", "abc"));
    QMap<QString, QString> expected = fullValues(false);
    expected["TEMPO_MIX"] = "3000";
    EXPECT_EQ(differences(expected, held(*s.w)).toStdString(), "");
    EXPECT_TRUE(s.h.dialogs.shown.isEmpty());
}

TEST(SettingsRead, ControlsClampWhatIsOutOfTheirRangeAndTheRestIsTakenAsItStands)
{
    const struct {
        const char* key;
        const char* value;
        const char* held;
    } cases[] = {
        {"TEMPO_MIX", "100", "300"},   {"TEMPO_MIX", "9000", "8000"},  {"VLR_SENSOR", "5", "10"},
        {"VLR_SENSOR", "150", "99"},   {"EQ_VOLUME", "-5", "0"},       {"EQ_VOLUME", "101", "100"},
        {"EQ_BANDA01", "-3", "0"},     {"EQ_BANDA10", "25", "20"},     {"FADE", "20", "20"},
        {"FADE", "100000", "100000"},  {"DEVICE_CUE", "7", "7"},       {"DEVICE_TRANSMISSAO", "0", "0"},
        {"GRAFICO01", "-1", "65535"},  {"WAV", "2", "0"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.key) + "=" + c.value);
        Started s(QStringList{QString(c.key) + "=" + c.value});
        EXPECT_EQ(held(*s.w).value(c.key), c.held);
        EXPECT_FALSE(s.h.dialogs.texts().contains(readError));
    }
}

// A key is found inside any line, so a line holding XFADE= stands for FADE when it comes first.
TEST(SettingsRead, KeyIsFoundInsideTheFirstLineThatHoldsIt)
{
    const struct {
        QStringList lines;
        int32_t fade;
    } cases[] = {
        {{"XFADE=1", "FADE=7000"}, 1},
        {{"FADE=7000", "XFADE=1"}, 7000},
    };
    for (const auto& c : cases) {
        Started s(c.lines);
        EXPECT_EQ(s.w->tempo_fade, c.fade) << c.lines.join(' ').toStdString();
    }
}

// Check boxes run their click handler each time they are set, sliders their change handler
// when the value changes, and the LED buttons change without a click.
TEST(SettingsRead, ControlsTakeValuesAsFromTheOperator)
{
    test::Harness h;
    h.writeDataFile("VOLTARIA4.INI", fileBytes({"AUTOMIXAR=0", "MP3=1", "BT_CAPTURAGR=0", "ATIVA_SENSOR=0",
                                                "EQ_ATIVA=1", "EQ_VOLUME=100", "EQ_BANDA03=4", "OGG=1"}));
    Tform_mixer& w = h.create();
    struct Box {
        QCheckBox* box;
        bool ticked;
    };
    const Box boxes[] = {{w.Checkbox3, false}, {w.Checkbox4, true}, {w.Checkbox1, true},
                         {w.checkbox_wma, false}, {w.bsSkinCheckRadioBox1, true}};
    std::vector<std::unique_ptr<QSignalSpy>> clicks;
    for (const Box& b : boxes)
        clicks.push_back(std::make_unique<QSignalSpy>(b.box, &QCheckBox::clicked));
    QSignalSpy volume(w.Trackbar6, &TrackBar::valueChanged), band3(w.TrackBar7, &TrackBar::valueChanged);
    QSignalSpy autoMix(w.LEDButton1, &LedButton::clicked), sensor(w.LEDButton2, &LedButton::clicked),
        capture(w.captura_geral, &LedButton::clicked);

    h.show();

    for (size_t i = 0; i < std::size(boxes); ++i) {
        SCOPED_TRACE(boxes[i].box->objectName().toStdString());
        ASSERT_EQ(clicks[i]->count(), 1);
        EXPECT_EQ(clicks[i]->at(0).at(0).toBool(), boxes[i].ticked);
        EXPECT_EQ(boxes[i].box->isChecked(), boxes[i].ticked);
    }
    EXPECT_EQ(volume.count(), 0);
    EXPECT_EQ(band3.count(), 1);
    EXPECT_EQ(autoMix.count() + sensor.count() + capture.count(), 0);
    EXPECT_FALSE(w.LEDButton1->isOn());
    EXPECT_FALSE(w.LEDButton2->isOn());
    EXPECT_FALSE(w.captura_geral->isOn());
}

// The show step runs on the first show only: showing again reads nothing and opens nothing twice.
TEST(SettingsRead, ReadsOnTheFirstShowOnly)
{
    Started s(QStringList{"FADE=7000"});
    s.w->tempo_fade = 1234;
    s.w->hide();
    s.h.show();
    EXPECT_EQ(s.w->tempo_fade, 1234);
    EXPECT_TRUE(s.h.dialogs.shown.isEmpty());
}
