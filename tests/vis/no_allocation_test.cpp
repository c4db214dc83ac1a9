// A monitor tick draws a frame and computes a level twenty times a second for as long as a deck
// plays: after the first frame, none of that may touch the heap. This program counts the C
// library's allocations made by the testing thread.
#include "vis/meter_vis.h"
#include "vis/osc_vis.h"
#include "vis/spectrum_vis.h"
#include "vis_fixtures.h"
#include "support/allocation_counter.h"

#include <QPainter>
#include <gtest/gtest.h>

TEST(NoAllocationPerFrame, CounterSeesQtAllocations)
{
    EXPECT_GT(allocation_counter::during([] { QImage image(kBoxWidth, kBoxHeight, QImage::Format_RGB32); }), 0)
        << "without this the checks below would pass for nothing";
}

TEST(NoAllocationPerFrame, DeckTicksInEveryMode)
{
    QImage paintBox(kBoxWidth, kBoxHeight, QImage::Format_RGB32);
    QPainter target(&paintBox);
    TOcilloScope scope(kBoxWidth, kBoxHeight);
    scope.Scale = 45;
    TSpectrum spectrum(kBoxWidth, kBoxHeight);
    spectrum.BarWidth = 5;
    spectrum.DrawType = 1;
    spectrum.HeightCap = 45;
    TMeter meter(0, 100);

    TSampleBlock samples;
    TFFTBlock fft;
    for (size_t i = 0; i < samples.size(); ++i)
        samples[i] = frameWord(int16_t((i * 977) % 65536 - 32768), int16_t((i * 313) % 65536 - 32768));
    for (size_t i = 0; i < fft.size(); ++i)
        fft[i] = float(i % 17) / 100.0f;

    auto tick = [&] {
        scope.Draw(target, samples, 0, kBoxHeight / 2);
        spectrum.Draw(target, fft, 0, 5);
        meter.Level(fft, 0, 5);
    };
    for (int mode = 0; mode <= 2; ++mode) {
        scope.DrawType = mode;
        spectrum.DrawType = mode % 2;
        tick();  // the first frame in a mode may set up the painter's state
        EXPECT_EQ(allocation_counter::during([&] {
                      for (int frame = 0; frame < 50; ++frame)
                          tick();
                  }),
                  0)
            << "scope mode " << mode;
    }
}
