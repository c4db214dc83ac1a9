// Small media made by the audio tests themselves, the manual engine they run on, and a few
// measurements of rendered sound.
#pragma once

#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <functional>
#include <vector>

namespace media {

// Generator of one sample in -1..1 for frame `i` of channel `c`.
using Signal = std::function<double(int64_t i, int c)>;

// Writes a PCM WAV with `bits` 8 or 16, or 32 for float samples written unclamped.
QString writeWav(const QString& path, int rate, int channels, int bits, int64_t frames, const Signal& signal);
// Runs ffmpeg on `input` with the given output arguments; returns the output path ("" on failure).
QString transcode(const QString& input, const QString& output, const QStringList& arguments);
// Runs lame (which writes a Xing/LAME header).
QString lame(const QString& input, const QString& output);

// Writes `first` followed by `second`, byte for byte (joined MP3s, a chained Ogg file).
QString join(const QString& first, const QString& second, const QString& output);

Signal sine(double hz, int rate, double amplitude = 0.5);
Signal click(int64_t at, double amplitude = 0.9);

// RMS of one channel of interleaved stereo frames [from, to).
double rms(const std::vector<float>& stereo, size_t from, size_t to, int channel = 0);
// First frame whose left sample exceeds `threshold` in magnitude; -1 if none.
int64_t firstAbove(const std::vector<float>& stereo, double threshold, size_t from = 0);

// The manual engine shared by every audio test, and the messages the channel showed.
void useTestEngine();
QStringList& shownMessages();
QStringList takeMessages();

} // namespace media
