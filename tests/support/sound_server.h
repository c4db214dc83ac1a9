// A private PulseAudio server for one test program, with two null outputs "Radio" (sink "radio")
// and "Cue" (sink "cue") whose monitors can be recorded. Nothing of the machine's own sound
// setting is touched: the server has its own runtime folder, no D-Bus, no idle exit, and dies
// with the test program even when it crashes.
//
//   test::SoundServer& server = test::SoundServer::shared(); // started here, once per program;
//   ASSERT_TRUE(server.running()) << server.error();          //   this process's clients now use it
//   test::Recording cue("cue");                               // parec on "cue.monitor" from now on
//   ... play something ...
//   std::vector<float> heard = cue.stop();                    // interleaved stereo at 44.1 kHz
//   server.unloadOutput("cue"); server.loadOutput("cue", "Cue"); // the output unplugged, plugged again
//   server.stop(); server.start();                          // the server restarted
#pragma once

#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <chrono>
#include <cstdint>
#include <mutex>
#include <thread>
#include <vector>

namespace test {

class SoundServer
{
public:
    // The program's server, started on first use and stopped when the program ends.
    static SoundServer& shared();

    bool running() const { return pid_ > 0; }
    int pid() const { return pid_; }
    // Ends the server, or starts it again as it first was (both outputs loaded); false on failure.
    bool stop();
    bool start();
    QString error() const { return error_; }

    // A null output with that sink name and description; false when the server refused it.
    bool loadOutput(const QString& sink, const QString& description);
    bool unloadOutput(const QString& sink);
    // pactl's answer to `arguments` (empty when it failed).
    QString pactl(const QStringList& arguments) const;
    // The server's latency for the first stream playing on `sink`, in microseconds (-1 if none).
    double streamLatencyUs(const QString& sink) const;

    ~SoundServer();

private:
    SoundServer();
    QString moduleOf(const QString& sink) const;

    QTemporaryDir runtime_;
    int pid_ = 0;
    QString error_;
};

// What reaches one output, recorded from its monitor from construction until stop().
class Recording
{
public:
    using Clock = std::chrono::steady_clock;
    // `latencyMs`: the recording's own fragment size, so arrivals can be timed.
    explicit Recording(const QString& sink, int latencyMs = 10);
    ~Recording();

    // Waits until the recording has taken `ms` milliseconds of sound (false after 10 s).
    bool waitFor(int ms);
    std::vector<float> stop();
    // The samples so far, with the time each block arrived (the block ends at `frames`).
    struct Arrival {
        int64_t frames;
        Clock::time_point at;
    };
    std::vector<float> samples(std::vector<Arrival>* arrivals = nullptr);

private:
    void read(int fd);

    int pid_ = 0;
    std::thread reader_;
    std::mutex mutex_;
    std::vector<float> samples_;
    std::vector<Arrival> arrivals_;
};

} // namespace test
