// A monitor tick draws a frame and computes a level twenty times a second for as long as a deck
// plays: after the first frame, none of that may touch the heap. This program counts the C
// library's allocations (operator new ends there too) made by the testing thread while armed.
#include "vis/meter_vis.h"
#include "vis/osc_vis.h"
#include "vis/spectrum_vis.h"
#include "vis_fixtures.h"

#include <QPainter>
#include <cstddef>
#include <gtest/gtest.h>

extern "C" {
void* __libc_malloc(size_t size);
void* __libc_calloc(size_t count, size_t size);
void* __libc_realloc(void* pointer, size_t size);
}

namespace {

thread_local bool armed = false;
thread_local long allocations = 0;

void noteAllocation()
{
    if (armed)
        ++allocations;
}

// Allocations made by the calling thread while body runs.
template <typename Body>
long allocationsDuring(Body body)
{
    allocations = 0;
    armed = true;
    body();
    armed = false;
    return allocations;
}

} // namespace

extern "C" void* malloc(size_t size)
{
    noteAllocation();
    return __libc_malloc(size);
}

extern "C" void* calloc(size_t count, size_t size)
{
    noteAllocation();
    return __libc_calloc(count, size);
}

extern "C" void* realloc(void* pointer, size_t size)
{
    noteAllocation();
    return __libc_realloc(pointer, size);
}

TEST(NoAllocationPerFrame, CounterSeesQtAllocations)
{
    EXPECT_GT(allocationsDuring([] { QImage image(kBoxWidth, kBoxHeight, QImage::Format_RGB32); }), 0)
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
        EXPECT_EQ(allocationsDuring([&] {
                      for (int frame = 0; frame < 50; ++frame)
                          tick();
                  }),
                  0)
            << "scope mode " << mode;
    }
}
