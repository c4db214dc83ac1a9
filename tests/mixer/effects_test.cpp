// The equaliser panel shared by both decks, each deck's effect boxes, and Play putting the
// equaliser and master volume back on a freshly loaded track.
#include "deck_fixture.h"

#include "audio/engine.h"
#include "widgets/TrackBar.h"

#include <QCheckBox>
#include <cmath>
#include <functional>
#include <optional>

namespace {

// The band as the engine holds it; nothing when the equaliser is off on that stream.
std::optional<TEQBlock> bandOf(TCorvoBass* channel, int band)
{
    TEQBlock block;
    block.band = band;
    if (!audio::effectGetParameters(channel->Stream, audio::kEqualiser, &block))
        return std::nullopt;
    return block;
}

bool effectOn(TCorvoBass* channel, int type)
{
    char block[24] = {};
    return audio::effectGetParameters(channel->Stream, type, block);
}

// The largest bend in the left channel between two frames: about A·w² for a steady tone,
// the size of the jump for a click.
double roughest(const std::vector<float>& stereo, size_t from, size_t to)
{
    double most = 0;
    for (size_t i = std::max<size_t>(from, 1); i + 1 < std::min(to, stereo.size() / 2); ++i)
        most = std::max(most, std::fabs(double(stereo[2 * i + 2]) - 2.0 * stereo[2 * i] + stereo[2 * i - 2]));
    return most;
}

} // namespace

class Effects : public DeckTest
{
public:
    void SetUp() override
    {
        DeckTest::SetUp();
        // The 1.2 s tracks are shorter than the mix time: on a loaded machine a monitor tick
        // let in by a press would hand over and fade a deck under the test.
        w->LEDButton1->setOn(false);
        for (Deck* d : {&w->deckA, &w->deckB}) {
            fill(*d, threeTracks());
            clickRow(*d, 0);
            press(d->playButton);
        }
    }
};

TEST_F(Effects, BandsReachBothDecksOnlyWhileTheEqualiserIsOn)
{
    w->TrackBar10->setValue(20);
    EXPECT_FALSE(bandOf(w->canal_a, 5));
    EXPECT_FALSE(bandOf(w->canal_b, 5));

    w->bsSkinCheckRadioBox1->click();
    w->TrackBar10->setValue(18);
    w->TrackBar10->setValue(20);
    for (TCorvoBass* channel : {w->canal_a, w->canal_b}) {
        const std::optional<TEQBlock> band = bandOf(channel, 5);
        ASSERT_TRUE(band);
        EXPECT_EQ(band->centre, 1000.0f);
        EXPECT_EQ(band->gain, 10.0f);
    }
}

// The audio type boxes share the equaliser switch's handler: every band is sent again, or
// the equaliser comes off both decks when its box is unticked.
TEST_F(Effects, AnAudioTypeBoxReappliesTheEqualiser)
{
    w->bsSkinCheckRadioBox1->click();
    w->bsSkinTrackBar2->setValue(4);
    w->canal_b->EQBand(9, 16000, 10);
    ASSERT_EQ(bandOf(w->canal_b, 9)->gain, 0.0f);
    w->Checkbox3->click();
    EXPECT_EQ(bandOf(w->canal_b, 9)->gain, -6.0f);
    EXPECT_EQ(bandOf(w->canal_a, 9)->gain, -6.0f);

    w->bsSkinCheckRadioBox1->setChecked(false);
    w->Checkbox3->click();
    EXPECT_FALSE(bandOf(w->canal_a, 9));
    EXPECT_FALSE(bandOf(w->canal_b, 9));
}

// A load strips the effects from the stream; Play puts the equaliser and the master volume
// back, but not the flanger, echo or cut.
TEST_F(Effects, PlayReappliesTheEqualiserAndMasterVolumeOnly)
{
    Deck& a = w->deckA;
    w->bsSkinCheckRadioBox1->click();
    w->TrackBar20->setValue(15);
    a.echoBox->click();
    ASSERT_TRUE(effectOn(a.channel, audio::kEcho));
    press(a.stopButton);
    clickRow(a, 1);
    EXPECT_FALSE(bandOf(a.channel, 0));
    w->Trackbar6->setValue(70);
    press(a.playButton);
    ASSERT_TRUE(bandOf(a.channel, 0));
    EXPECT_EQ(bandOf(a.channel, 0)->gain, 5.0f);
    EXPECT_EQ(bandOf(a.channel, 0)->centre, 32.0f);
    EXPECT_EQ(a.channel->volume(), 70u);
    EXPECT_FALSE(effectOn(a.channel, audio::kEcho));
    EXPECT_TRUE(a.echoBox->isChecked());
}

// Each deck's boxes switch its own channel's effect.
TEST_F(Effects, EffectBoxesActOnTheirOwnDeck)
{
    const struct {
        QCheckBox* box;
        TCorvoBass* own;
        TCorvoBass* other;
        int type;
    } rows[] = {
        {w->CheckBox2, w->canal_a, w->canal_b, audio::kFlanger}, {w->CheckBox5, w->canal_b, w->canal_a, audio::kFlanger},
        {w->CheckBox6, w->canal_a, w->canal_b, audio::kEcho},    {w->CheckBox8, w->canal_b, w->canal_a, audio::kEcho},
    };
    for (const auto& row : rows) {
        const std::string name = row.box->objectName().toStdString();
        row.box->click();
        EXPECT_TRUE(effectOn(row.own, row.type)) << name;
        EXPECT_FALSE(effectOn(row.other, row.type)) << name;
        row.box->click();
        EXPECT_FALSE(effectOn(row.own, row.type)) << name;
    }
}

// The cut gate only shows in the sound: deck A alone is heard, cut by its own box only.
TEST_F(Effects, CutBoxesGateTheirOwnDeck)
{
    Deck& a = w->deckA;
    press(w->deckB.stopButton);
    press(a.stopButton);
    fill(a, {track("five.wav", 5000)});
    clickRow(a, 3);
    press(a.playButton);
    const auto quietestWindow = [this] {
        std::vector<float> heard;
        audio::renderManual(600, 1, &heard);
        double quietest = 1;
        for (size_t from = 0; from + 441 <= heard.size() / 2; from += 441)
            quietest = std::min(quietest, media::rms(heard, from, from + 441));
        return quietest;
    };
    ASSERT_GT(quietestWindow(), 0.1);
    w->CheckBox9->click();
    EXPECT_GT(quietestWindow(), 0.1);
    w->CheckBox7->click();
    EXPECT_LT(quietestWindow(), 0.01);
    w->CheckBox7->click();
    EXPECT_GT(quietestWindow(), 0.1);
}

TEST_F(Effects, FlangerIntensityAndEchoParameters)
{
    w->CheckBox5->click();
    w->Flanger2->setValue(12);
    TFlangerBlock flanger;
    ASSERT_TRUE(audio::effectGetParameters(w->canal_b->Stream, audio::kFlanger, &flanger));
    EXPECT_FLOAT_EQ(flanger.first, 1.3f);
    EXPECT_EQ(flanger.frequency, 44100u);
    EXPECT_EQ(flanger.second, 120.0f);
    EXPECT_EQ(flanger.level, 12.0f);

    w->CheckBox6->click();
    TEchoBlock echo;
    ASSERT_TRUE(audio::effectGetParameters(w->canal_a->Stream, audio::kEcho, &echo));
    EXPECT_EQ(echo.dry, 1.0f);
    EXPECT_EQ(echo.wet, 1.0f);
    EXPECT_EQ(echo.feedback, 0.0f);
    EXPECT_EQ(echo.delay, 1.0f);
}

// The master volume reaches a playing deck only; a stopped deck keeps its cached volume.
TEST_F(Effects, MasterVolumeReachesOnlyAPlayingDeck)
{
    press(w->deckB.stopButton);
    const uint32_t stoppedVolume = w->canal_b->VolumeCache;
    w->Trackbar6->setValue(0);
    EXPECT_EQ(w->canal_a->volume(), 0u);
    EXPECT_EQ(w->canal_b->VolumeCache, stoppedVolume);
}

// A setting changed while the deck plays a steady tone is heard without a click: the sound
// around the change bends no more sharply than the steady sound before it or once it has
// settled. A format box re-sending the equaliser used to restart every band's filter.
TEST_F(Effects, ChangesDuringPlayMakeNoClick)
{
    const auto equaliser = [this] {
        w->bsSkinCheckRadioBox1->click();
        w->TrackBar20->setValue(20);
        w->Trackbar19->setValue(16);
        w->TrackBar9->setValue(4);
        w->TrackBar11->setValue(15);
    };
    const struct {
        const char* what;
        std::function<void()> before, change;
    } rows[] = {
        {"a format box with the equaliser on", equaliser, [this] { w->Checkbox3->click(); }},
        {"a band moved by 10 dB", equaliser, [this] { w->TrackBar9->setValue(14); }},
        {"the equaliser switched off", equaliser, [this] { w->bsSkinCheckRadioBox1->click(); }},
        {"the flanger switched off", [this] { w->CheckBox2->click(); w->Flanger1->setValue(12); },
         [this] { w->CheckBox2->click(); }},
        {"the flanger's intensity moved", [this] { w->CheckBox2->click(); }, [this] { w->Flanger1->setValue(15); }},
        {"the echo switched off", [this] { w->CheckBox6->click(); }, [this] { w->CheckBox6->click(); }},
        {"the cut switched off while shut", [this] { w->CheckBox7->click(); }, [this] { w->CheckBox7->click(); }},
    };
    constexpr size_t kMs = kRate / 1000;
    for (const auto& row : rows) {
        fresh();
        Deck& a = w->deckA;
        fill(a, {track("tone.wav", 3000)});
        clickRow(a, 0);
        press(a.playButton);
        row.before();
        // The echo's first repeat is heard after a second; the cut is shut at 1.4 s.
        audio::renderManual(1100);
        std::vector<float> heard;
        audio::renderManual(300, 1, &heard);
        row.change();
        audio::renderManual(300, 1, &heard);
        const double steady = std::max(roughest(heard, 0, 300 * kMs), roughest(heard, 500 * kMs, 600 * kMs));
        EXPECT_LT(roughest(heard, 300 * kMs, 400 * kMs), 1.5 * steady) << row.what;
    }
}
