// Files, devices and call orders that must neither crash nor hang the channel.
#include "channel_fixture.h"

#include "audio/messages.h"

#include <QDir>
#include <QFile>
#include <cmath>

class BadInput : public ChannelTest
{
};

TEST_F(BadInput, UnopenableFilesLeaveNoStreamAndNoMessage)
{
    QFile empty(path("empty.mp3"));
    ASSERT_TRUE(empty.open(QIODevice::WriteOnly));
    empty.close();
    QFile text(path("text.mp3"));
    ASSERT_TRUE(text.open(QIODevice::WriteOnly));
    text.write("this is not an mp3 file at all\r\nsecond line\r\n");
    text.close();
    for (const QString& file : {path("empty.mp3"), path("text.mp3"), path("missing.mp3")}) {
        SCOPED_TRACE(file.toStdString());
        canal.LoadFile(file);
        EXPECT_EQ(canal.Stream, 0u);
        EXPECT_EQ(canal.GetLength(), 0);
        EXPECT_EQ(canal.GetPosition(), 0);
        EXPECT_EQ(canal.FileName, QFileInfo(file).fileName());
    }
    EXPECT_TRUE(media::takeMessages().isEmpty());
    // Play on a refused load: the next tick takes it as the end of the track.
    canal.Play();
    canal.CheckEnd();
    EXPECT_EQ(stops, 1);
}

// A truncated MP3 whose header still claims the full length must still reach its end.
TEST_F(BadInput, TruncatedMp3EndsWhereItsDataEnds)
{
    const QString full = media::lame(wav("t.wav", 4.0, media::sine(440, kRate)), path("full.mp3"));
    QFile in(full);
    ASSERT_TRUE(in.open(QIODevice::ReadOnly));
    const QByteArray bytes = in.readAll();
    QFile out(path("cut.mp3"));
    ASSERT_TRUE(out.open(QIODevice::WriteOnly));
    out.write(bytes.left(bytes.size() / 2 + 17));
    out.close();
    canal.LoadFile(path("cut.mp3"));
    EXPECT_NEAR(double(canal.GetLength()), 2000.0, 100.0);
    canal.Play();
    render(3000);
    EXPECT_EQ(canal.GetPosition(), canal.GetLength());
    canal.CheckEnd();
    EXPECT_EQ(stops, 1);
}

TEST_F(BadInput, EightBitSourceIsRefusedWithItsMessage)
{
    canal.LoadFile(wav("u8.wav", 1.0, media::sine(440, kRate), kRate, 2, 8));
    EXPECT_EQ(media::takeMessages(), QStringList{"16-bit stereo sources only. Please select another."});
    EXPECT_FALSE(canal.Loaded);
    canal.Play();
    EXPECT_FALSE(canal.Playing);
    EXPECT_EQ(canal.GetLength(), 0);

    // A later good load works; a refused one after it keeps Loaded but leaves no stream.
    canal.LoadFile(wav("ok.wav", 1.0, media::sine(440, kRate)));
    EXPECT_TRUE(canal.Loaded);
    canal.LoadFile(path("u8.wav"));
    EXPECT_TRUE(canal.Loaded);
    EXPECT_EQ(canal.GetLength(), 0);
}

TEST_F(BadInput, MonoFortyEightKilohertzPlaysOnBothSides)
{
    canal.LoadFile(wav("m.wav", 2.0, media::sine(440, 48000, 0.5), 48000, 1));
    EXPECT_TRUE(media::takeMessages().isEmpty());
    EXPECT_EQ(canal.FrequencyCache, 48000u);
    canal.Play();
    const std::vector<float> heard = render(500);
    EXPECT_NEAR(media::rms(heard, 2000, 20000, 0), 0.5 / std::sqrt(2.0), 0.02);
    EXPECT_NEAR(media::rms(heard, 2000, 20000, 1), 0.5 / std::sqrt(2.0), 0.02);
    EXPECT_NEAR(double(canal.GetPosition()), 500.0, 20.0);
}

TEST_F(BadInput, FileDeletedWhilePlayingPlaysToItsEnd)
{
    canal.LoadFile(wav("gone.wav", 2.0, media::sine(440, kRate)));
    canal.Play();
    render(200);
    ASSERT_TRUE(QFile::remove(path("gone.wav")));
    render(2000);
    EXPECT_EQ(canal.GetPosition(), 2000);
    canal.CheckEnd();
    EXPECT_EQ(stops, 1);
}

TEST_F(BadInput, LoadingIntoAPlayingChannel)
{
    const QString a = wav("a.wav", 2.0, media::sine(440, kRate));
    const QString b = wav("b.wav", 2.0, media::sine(660, kRate));
    canal.LoadFile(a);
    canal.Play();
    render(100);
    // The next end-watcher tick stops the channel and fires OnStop...
    canal.LoadFile(b);
    EXPECT_FALSE(canal.Playing);
    EXPECT_TRUE(canal.EndTimer->Enabled());
    canal.CheckEnd();
    EXPECT_EQ(stops, 1);
    // ...unless Play came first, as the preview and the clips do.
    canal.LoadFile(a);
    canal.Play();
    canal.CheckEnd();
    EXPECT_EQ(stops, 1);
}

TEST_F(BadInput, StopOnAChannelThatNeverLoaded)
{
    canal.Playing = true;
    canal.Stop();
    EXPECT_FALSE(canal.Playing);
    EXPECT_EQ(stops, 0);
}

// The stop handler runs nested in Stop and may stop, load and play the same channel again.
TEST_F(BadInput, StopHandlerMayUseTheChannelAgain)
{
    const QString next = wav("next.wav", 2.0, media::sine(660, kRate));
    canal.LoadFile(wav("first.wav", 2.0, media::sine(440, kRate)));
    canal.OnStop = [&](QObject*) {
        ++stops;
        canal.Stop(); // no second event, no recursion
        canal.LoadFile(next);
        canal.Play();
    };
    canal.Play();
    render(100);
    canal.Stop();
    EXPECT_EQ(stops, 1);
    EXPECT_TRUE(canal.Playing);
    EXPECT_EQ(canal.FilePath, next);
    const std::vector<float> heard = render(200);
    EXPECT_GT(media::rms(heard, 0, heard.size() / 2), 0.3);
}

TEST_F(BadInput, DevicesThatDoNotExistOrRepeat)
{
    TCorvoBass other;
    other.OpenDevice(99);
    EXPECT_EQ(media::takeMessages(), QStringList{"Inicialização da Device com Problemas"});
    EXPECT_EQ(other.EndTimer, nullptr);
    EXPECT_EQ(other.Device, 0);
    other.LoadFile(wav("x.wav", 0.5, media::sine(440, kRate)));
    other.Play();
    other.FadeOut(100);
    other.Stop();

    canal.OpenDevice(1);
    EXPECT_EQ(media::takeMessages(), QStringList{"Canal já Criado - Verifique"});

    // Two channels on one device share its initialisation.
    TCorvoBass second;
    second.OpenDevice(1);
    EXPECT_TRUE(media::takeMessages().isEmpty());
    EXPECT_EQ(std::count(TCorvoBass::InitializedDevices().begin(), TCorvoBass::InitializedDevices().end(), 1), 1);

    EXPECT_EQ(canal.DeviceCount(), 3);
    EXPECT_EQ(canal.DeviceName(1), "Saída padrão do sistema");
    EXPECT_EQ(canal.DeviceName(3), "Sem saída de som");
    EXPECT_EQ(canal.DeviceName(4), "");
    EXPECT_EQ(canal.DeviceName(0), "");
}

TEST_F(BadInput, VersionChecksEndTheProgram)
{
    int exits = 0;
    audio::setExitHook([&](int) { ++exits; });
    struct Case {
        uint32_t engine, effects;
        const char* message;
    };
    const Case cases[] = {{1, 2, "ARVESTO-BASS.DLL Detectado Versão diferente de 2.0"},
                          {0, 2, "ARVESTO-BASS.DLL Detectado Versão diferente de 2.0"},
                          {2, 3, "ARVESTO-BASS_FX.DLL Detectado Versão diferente de 2.0"},
                          {0x10002, 0x10002, "ARVESTO-BASS_FX.DLL Detectado Versão diferente de 2.0"}};
    for (const Case& c : cases) {
        audio::setReportedVersions(c.engine, c.effects);
        TCorvoBass fresh;
        fresh.OpenDevice(1);
        EXPECT_EQ(media::takeMessages(), QStringList{QString::fromUtf8(c.message)});
        EXPECT_EQ(fresh.EndTimer, nullptr);
    }
    EXPECT_EQ(exits, 4);
    audio::setReportedVersions(2, 2);
    audio::setExitHook({});
}

// The test looks at the whole path, so an MP3 inside a ".WMA" folder goes to the WMA loader.
TEST_F(BadInput, WmaLoaderChosenByTheWholePath)
{
    ASSERT_TRUE(QDir(dir.path()).mkdir("songs.WMA"));
    const QString mp3 = media::lame(wav("s.wav", 1.0, media::sine(440, kRate)), path("songs.WMA/song.mp3"));
    canal.LoadFile(mp3);
    audio::StreamInfo info;
    ASSERT_TRUE(audio::streamInfo(canal.Stream, info));
    EXPECT_TRUE(info.wmaLoader);
    EXPECT_EQ(canal.FileName, "song.mp3");
    EXPECT_EQ(canal.GetLength(), 1000);
    canal.LoadFile(path("s.wav"));
    ASSERT_TRUE(audio::streamInfo(canal.Stream, info));
    EXPECT_FALSE(info.wmaLoader);
}

// A device whose output fails keeps its channels' time on a silent clock and comes back.
TEST_F(BadInput, FailedDeviceKeepsTimeAndIsReopened)
{
    TCorvoBass card;
    card.OpenDevice(2);
    card.LoadFile(wav("long.wav", 10.0, media::sine(440, kRate, 0.5)));
    card.Play();
    std::vector<float> heard;
    audio::renderManual(200, 2, &heard);
    EXPECT_TRUE(audio::deviceOnline(2));
    EXPECT_GT(media::rms(heard, 0, heard.size() / 2), 0.3);

    audio::setOutputFailing(2, true);
    heard.clear();
    audio::renderManual(500, 2, &heard);
    EXPECT_FALSE(audio::deviceOnline(2));
    EXPECT_EQ(media::rms(heard, 0, heard.size() / 2), 0.0);
    EXPECT_EQ(card.GetPosition(), 700);

    audio::setOutputFailing(2, false);
    heard.clear();
    audio::renderManual(1500, 2, &heard);
    EXPECT_TRUE(audio::deviceOnline(2));
    EXPECT_EQ(card.GetPosition(), 2200);
    EXPECT_GT(media::rms(heard, heard.size() / 2 - 4410, heard.size() / 2), 0.3);
}
