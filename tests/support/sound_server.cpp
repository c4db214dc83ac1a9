#include "support/sound_server.h"

#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QRegularExpression>
#include <QThread>

#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace test {

namespace {

QString socketPath;

QProcessEnvironment clientEnvironment()
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("PULSE_SERVER", "unix:" + socketPath);
    return env;
}

// Starts `program` with the environment `env` and `stdoutFd` as its standard output (-1: none);
// the child is killed when this process ends, however it ends. Returns its pid, 0 on failure.
int spawn(const QStringList& command, const QProcessEnvironment& env, int stdoutFd)
{
    // Everything the child needs is built before fork: other threads may hold the allocator.
    std::vector<QByteArray> argBytes, envBytes;
    for (const QString& a : command)
        argBytes.push_back(a.toLocal8Bit());
    for (const QString& e : env.toStringList())
        envBytes.push_back(e.toLocal8Bit());
    std::vector<char*> argv, envp;
    for (QByteArray& a : argBytes)
        argv.push_back(a.data());
    for (QByteArray& e : envBytes)
        envp.push_back(e.data());
    argv.push_back(nullptr);
    envp.push_back(nullptr);
    const int quiet = ::open("/dev/null", O_WRONLY | O_CLOEXEC);
    const pid_t parent = getpid();
    const pid_t pid = fork();
    if (pid == 0) {
        prctl(PR_SET_PDEATHSIG, SIGKILL);
        if (getppid() != parent)
            _exit(127);
        dup2(stdoutFd >= 0 ? stdoutFd : quiet, STDOUT_FILENO);
        dup2(quiet, STDERR_FILENO);
        execvpe(argv[0], argv.data(), envp.data());
        _exit(127);
    }
    ::close(quiet);
    return pid > 0 ? pid : 0;
}

void end(int& pid)
{
    if (pid <= 0)
        return;
    kill(pid, SIGTERM);
    for (int i = 0; i < 200 && waitpid(pid, nullptr, WNOHANG) == 0; ++i)
        QThread::msleep(10);
    if (waitpid(pid, nullptr, WNOHANG) == 0) {
        kill(pid, SIGKILL);
        waitpid(pid, nullptr, 0);
    }
    pid = 0;
}

} // namespace

SoundServer& SoundServer::shared()
{
    static SoundServer server;
    return server;
}

SoundServer::SoundServer() : runtime_("/tmp/voltaria-sound-XXXXXX") // a socket path must stay short
{
    if (!runtime_.isValid()) {
        error_ = "no runtime folder";
        return;
    }
    QFile::setPermissions(runtime_.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    socketPath = runtime_.path() + "/pulse/native";
    if (start()) {
        // This process's clients (SDL among them) talk to this server only.
        qputenv("PULSE_SERVER", ("unix:" + socketPath).toLocal8Bit());
        qputenv("SDL_AUDIODRIVER", "pulseaudio");
    }
}

bool SoundServer::start()
{
    if (pid_)
        return true;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("XDG_RUNTIME_DIR", runtime_.path());
    env.insert("HOME", runtime_.path()); // its cookie and state stay in the private folder
    env.remove("PULSE_SERVER");
    // As root the server must be told it is a per-user one; D-Bus and the default script are left
    // out, the two outputs and the local socket are loaded by hand.
    pid_ = spawn({"pulseaudio", "-n", "--daemonize=no", "--system=false", "--disallow-exit", "--exit-idle-time=-1",
                  "--use-pid-file=no", "--load=module-null-sink sink_name=radio sink_properties=device.description=Radio",
                  "--load=module-null-sink sink_name=cue sink_properties=device.description=Cue",
                  "--load=module-native-protocol-unix auth-anonymous=1"},
                 env, -1);
    if (!pid_) {
        error_ = "pulseaudio could not be started";
        return false;
    }
    for (int i = 0; i < 200; ++i) {
        if (!pactl({"info"}).isEmpty())
            return true;
        if (waitpid(pid_, nullptr, WNOHANG) != 0) {
            pid_ = 0;
            error_ = "pulseaudio ended at start (is it installed?)";
            return false;
        }
        QThread::msleep(50);
    }
    end(pid_);
    error_ = "pulseaudio did not answer within 10 s";
    return false;
}

bool SoundServer::stop()
{
    end(pid_);
    return true;
}

SoundServer::~SoundServer() { end(pid_); }

QString SoundServer::pactl(const QStringList& arguments) const
{
    QProcess process;
    process.setProcessEnvironment(clientEnvironment());
    process.start("pactl", arguments);
    if (!process.waitForFinished(10000) || process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
        process.kill();
        process.waitForFinished(1000);
        return {};
    }
    const QString out = QString::fromUtf8(process.readAllStandardOutput());
    return out.isEmpty() ? QStringLiteral("\n") : out;
}

bool SoundServer::loadOutput(const QString& sink, const QString& description)
{
    return !pactl({"load-module", "module-null-sink", "sink_name=" + sink,
                   "sink_properties=\"device.description='" + description + "'\""})
                .isEmpty();
}

QString SoundServer::moduleOf(const QString& sink) const
{
    for (const QString& line : pactl({"list", "short", "modules"}).split('\n')) {
        const QStringList fields = line.split('\t');
        if (fields.size() >= 3 && fields[1] == "module-null-sink"
            && fields[2].split(' ').contains("sink_name=" + sink))
            return fields[0];
    }
    return {};
}

bool SoundServer::unloadOutput(const QString& sink)
{
    const QString module = moduleOf(sink);
    return !module.isEmpty() && !pactl({"unload-module", module}).isEmpty();
}

double SoundServer::streamLatencyUs(const QString& sink) const
{
    QString sinkIndex;
    for (const QString& line : pactl({"list", "short", "sinks"}).split('\n'))
        if (line.section('\t', 1, 1) == sink)
            sinkIndex = line.section('\t', 0, 0);
    // "Sink: 1" is followed by "Buffer Latency: 23219 usec" and "Sink Latency: 2000 usec".
    double latency = -1;
    bool onSink = false;
    for (const QString& raw : pactl({"list", "sink-inputs"}).split('\n')) {
        const QString line = raw.trimmed();
        if (line.startsWith("Sink Input #"))
            onSink = false;
        else if (line.startsWith("Sink: "))
            onSink = line.mid(6) == sinkIndex;
        else if (onSink && (line.startsWith("Buffer Latency:") || line.startsWith("Sink Latency:"))) {
            const double us = line.section(':', 1).remove("usec").trimmed().toDouble();
            latency = (latency < 0 ? 0 : latency) + us;
        }
    }
    return latency;
}

Recording::Recording(const QString& sink, int latencyMs)
{
    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0)
        return;
    pid_ = spawn({"parec", "-d", sink + ".monitor", "--format=float32le", "--rate=44100", "--channels=2", "--raw",
                  QString("--latency-msec=%1").arg(latencyMs)},
                 clientEnvironment(), fds[1]);
    ::close(fds[1]);
    reader_ = std::thread([this, fd = fds[0]] { read(fd); });
}

Recording::~Recording() { stop(); }

void Recording::read(int fd)
{
    std::vector<char> block(4096);
    std::vector<char> pending;
    for (;;) {
        const ssize_t got = ::read(fd, block.data(), block.size());
        if (got <= 0)
            break;
        const auto at = Clock::now();
        pending.insert(pending.end(), block.begin(), block.begin() + got);
        const size_t whole = pending.size() / sizeof(float) * sizeof(float);
        std::lock_guard<std::mutex> lock(mutex_);
        const size_t before = samples_.size();
        samples_.resize(before + whole / sizeof(float));
        std::memcpy(samples_.data() + before, pending.data(), whole);
        pending.erase(pending.begin(), pending.begin() + long(whole));
        arrivals_.push_back({int64_t(samples_.size() / 2), at});
    }
    ::close(fd);
}

bool Recording::waitFor(int ms)
{
    const size_t wanted = size_t(ms) * 441 / 10 * 2;
    for (int i = 0; i < 1000; ++i) {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            if (samples_.size() >= wanted)
                return true;
        }
        QThread::msleep(10);
    }
    return false;
}

std::vector<float> Recording::samples(std::vector<Arrival>* arrivals)
{
    std::lock_guard<std::mutex> lock(mutex_);
    if (arrivals)
        *arrivals = arrivals_;
    return samples_;
}

std::vector<float> Recording::stop()
{
    end(pid_);
    if (reader_.joinable())
        reader_.join();
    return samples();
}

} // namespace test
