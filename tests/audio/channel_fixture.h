// A channel opened on the manual engine's first device, with the media folder of one test.
#pragma once

#include "media.h"

#include "audio/TCorvoBass.h"
#include "audio/TThreadedTimer.h"
#include "audio/engine.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

class ChannelTest : public ::testing::Test
{
public:
    static constexpr int kRate = 44100;

    void SetUp() override
    {
        media::useTestEngine();
        canal.OpenDevice(1);
        canal.OnStop = [this](QObject* sender) {
            EXPECT_EQ(sender, &canal);
            ++stops;
        };
        media::takeMessages();
    }

    QString path(const QString& name) const { return dir.filePath(name); }
    QString wav(const QString& name, double seconds, const media::Signal& signal, int rate = kRate, int channels = 2,
                int bits = 16)
    {
        return media::writeWav(path(name), rate, channels, bits, int64_t(seconds * rate), signal);
    }
    // Renders on every device and returns what device 1 played.
    static std::vector<float> render(int ms)
    {
        std::vector<float> out;
        audio::renderManual(ms, 1, &out);
        return out;
    }

    QTemporaryDir dir;
    TCorvoBass canal;
    int stops = 0;
};
