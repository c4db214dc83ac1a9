// Tests that play through the real outputs of the test sound server and listen to its monitors.
#pragma once

#include "audio/media.h"
#include "support/sound_server.h"

#include "audio/TCorvoBass.h"
#include "audio/messages.h"

#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>
#include <cmath>
#include <functional>

namespace soundtest {

inline constexpr int kRate = 44100;

// Two tones that do not repeat within a second, so a recording can only line up at one place.
inline double tune(int64_t i, int) { return 0.3 * std::sin(2 * M_PI * 440.0 * i / kRate) + 0.2 * std::sin(2 * M_PI * 1187.0 * i / kRate); }

// How many 20 ms blocks of the heard sound equal the file somewhere, at its level and unchanged
// but for the rate converter's filter, which every stream passes (a phase error of about 0.008
// on this tune; 5 % off its level is 0.025).
// Each block is lined up on its own, so the gaps a loaded machine leaves in the sound (the
// server plays silence when the output's thread comes late) spoil their own blocks only; a
// wrong level, a wrong channel or a resampled sound spoils every block. The volume's ramp at the
// start is left out.
inline int matchingMs(const std::vector<float>& heard)
{
    static const std::vector<float> second = [] { // the tune repeats every second
        std::vector<float> one(kRate);
        for (int i = 0; i < kRate; ++i)
            one[size_t(i)] = float(tune(i, 0));
        return one;
    }();
    constexpr float kError = 0.015f;
    const int64_t frames = int64_t(heard.size() / 2), block = kRate / 50;
    const int64_t first = media::firstAbove(heard, 0.02);
    int matching = 0;
    for (int64_t from = first + 2048; first >= 0 && from + block <= frames; from += block)
        for (int64_t offset = 0; offset < kRate; ++offset) {
            int64_t i = 0;
            while (i < block && std::fabs(heard[size_t(2 * (from + i))] - second[size_t((offset + i) % kRate)]) < kError
                   && std::fabs(heard[size_t(2 * (from + i) + 1)] - second[size_t((offset + i) % kRate)]) < kError)
                ++i;
            if (i == block) {
                matching += 20;
                break;
            }
        }
    return matching;
}

inline double peak(const std::vector<float>& heard)
{
    float p = 0;
    for (float v : heard)
        p = std::max(p, std::fabs(v));
    return p;
}

// Polls `done` until it holds or `ms` milliseconds have passed.
inline bool waitUntil(const std::function<bool()>& done, int ms)
{
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() > ms)
            return false;
        QThread::msleep(20);
    }
    return true;
}

// Waits until the recording holds `ms` milliseconds after the first sound in it (false after 8 s:
// a null output that was idle may take a second or two to start taking sound).
inline bool waitForSound(test::Recording& recording, int ms)
{
    return waitUntil(
        [&] {
            const std::vector<float> heard = recording.samples();
            const int64_t onset = media::firstAbove(heard, 0.02);
            return onset >= 0 && int64_t(heard.size() / 2) - onset >= int64_t(ms) * kRate / 1000;
        },
        8000);
}

class SoundTest : public ::testing::Test
{
public:
    void SetUp() override
    {
        ASSERT_TRUE(server.running()) << server.error().toStdString();
        audio::setMessageSink([this](const QString& text) { messages << text; });
    }
    void TearDown() override { audio::setMessageSink({}); }

    QString tuneFile(double seconds)
    {
        return media::writeWav(dir.filePath("tune.wav"), kRate, 2, 16, int64_t(seconds * kRate), &tune);
    }

    test::SoundServer& server = test::SoundServer::shared();
    QTemporaryDir dir;
    QStringList messages;
};

} // namespace soundtest
