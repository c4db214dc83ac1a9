// LED bar gauge: clamping and the colour zones at the change points.
#include "widgets/LedGauge.h"

#include <gtest/gtest.h>

namespace {

using Zone = LedGauge::Zone;

TEST(LedGauge, PicksTheZoneAtTheChangePoints)
{
    struct Case {
        int min, max, value;
        Zone zone;
    };
    // 0..100 with the default points 45 and 75, a range not starting at 0, and a wide range
    // in milliseconds where percent * span overflows 32 bits.
    const Case cases[] = {
        {0, 100, 0, Zone::Green},        {0, 100, 44, Zone::Green},       {0, 100, 45, Zone::Yellow},
        {0, 100, 74, Zone::Yellow},      {0, 100, 75, Zone::Red},         {0, 100, 100, Zone::Red},
        {100, 300, 189, Zone::Green},    {100, 300, 190, Zone::Yellow},   {100, 300, 250, Zone::Red},
        {0, 60000000, 26999999, Zone::Green}, {0, 60000000, 27000000, Zone::Yellow},
    };
    for (const Case& c : cases) {
        LedGauge g;
        g.setRange(c.min, c.max);
        EXPECT_EQ(g.zoneOf(c.value), c.zone) << c.min << ".." << c.max << " at " << c.value;
    }
}

TEST(LedGauge, ColourPointsCanMove)
{
    LedGauge g;
    g.setColorPoints(50, 90);
    EXPECT_EQ(g.zoneOf(49), Zone::Green);
    EXPECT_EQ(g.zoneOf(50), Zone::Yellow);
    EXPECT_EQ(g.zoneOf(90), Zone::Red);
}

TEST(LedGauge, ClampsValuesToTheRange)
{
    LedGauge g;
    const std::pair<int, int> cases[] = {{-5, 0}, {0, 0}, {57, 57}, {100, 100}, {114, 100}};
    for (const auto& [given, held] : cases) {
        g.setValue(given);
        EXPECT_EQ(g.value(), held) << given;
    }
    // A narrower range clamps the value already held.
    g.setRange(0, 50);
    EXPECT_EQ(g.value(), 50);
    EXPECT_EQ(g.minimum(), 0);
    EXPECT_EQ(g.maximum(), 50);
}

} // namespace
