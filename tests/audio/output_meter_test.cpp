// The output meter that the real-time soak reads: 10 ms blocks of what a device played, loud
// while a tone plays and silent after it, none before the first take.
#include "channel_fixture.h"

using OutputMeterTest = ChannelTest;

// Catches a meter that reads nothing, never reads silence, or counts blocks of another size.
TEST_F(OutputMeterTest, ATonesBlocksAreLoudAndTheBlocksAfterItSilent)
{
    canal.LoadFile(wav("tone.wav", 0.3, media::sine(440, kRate, 0.5)));
    std::vector<float> rms;
    render(50);
    EXPECT_EQ(audio::takeOutputLevels(1, rms), 0);
    EXPECT_TRUE(rms.empty()) << "nothing is measured before the first take";
    canal.Play();
    render(500);
    EXPECT_EQ(audio::takeOutputLevels(1, rms), 0);
    ASSERT_EQ(rms.size(), 50u);
    const auto loud = std::count_if(rms.begin(), rms.end(), [](float r) { return r > 0.3f; });
    const auto silent = std::count_if(rms.begin(), rms.end(), [](float r) { return r < 0.001f; });
    EXPECT_NEAR(double(loud), 29, 2); // a 0.5 sine reads 0.35 RMS
    EXPECT_NEAR(double(silent), 20, 2);
    EXPECT_GT(rms.front(), 0.3f);
    EXPECT_LT(rms.back(), 0.001f);
}
