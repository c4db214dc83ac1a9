// voltaria-bench [NAME...]: runs every registered benchmark, or only those named;
// voltaria-bench --help lists them.
#include "bench.h"
#include "bench_window.h"

#include "app/paths.h"
#include "app/time_format.h"
#include "audio/engine.h"

#include <QElapsedTimer>
#include <algorithm>
#include <QApplication>
#include <cstdio>

namespace bench {

std::vector<Benchmark>& registry()
{
    static std::vector<Benchmark> all;
    return all;
}

void report(const std::string& name, double ours, const std::string& unit, double anchor,
            const std::string& anchorWhat, double ratio, const std::string& goal)
{
    std::printf("%-28s ours %.3f %s | anchor %.3f %s (%s) | ratio %.3f | goal %s\n", name.c_str(), ours,
                unit.c_str(), anchor, unit.c_str(), anchorWhat.c_str(), ratio, goal.c_str());
    std::fflush(stdout);
}

WindowSurroundings::WindowSurroundings(Dialogs* answering)
{
    app::setDataFolder(data_.path());
    app::setScreenSize(QSize(1024, 768));
    timefmt::setStorePath(data_.filePath("user-locale.ini"));
    setDialogs(answering ? answering : &silent_);
    audio::useManualBackend();
}

WindowSurroundings::~WindowSurroundings()
{
    setDialogs(nullptr);
    app::setDataFolder(QString());
    app::setScreenSize(QSize());
    timefmt::setStorePath(QString());
}

double bestMs(int runs, const std::function<void()>& work)
{
    double best = 1e300;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer timer;
        timer.start();
        work();
        best = std::min(best, timer.nsecsElapsed() / 1e6);
    }
    return best;
}

} // namespace bench

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    const QStringList wanted = app.arguments().mid(1);
    if (wanted.contains("--help") || wanted.contains("-h")) {
        std::printf("usage: voltaria-bench [NAME...]   (no name: every benchmark)\n\nbenchmarks:\n");
        for (const auto& b : bench::registry())
            std::printf("  %-22s %s\n", b.name.c_str(), b.what.c_str());
        return 0;
    }
    for (const QString& name : wanted) {
        const auto& all = bench::registry();
        if (std::none_of(all.begin(), all.end(), [&](const bench::Benchmark& b) { return name.toStdString() == b.name; })) {
            std::fprintf(stderr, "voltaria-bench: no benchmark named %s (see --help)\n", qPrintable(name));
            return 2;
        }
    }
    for (const auto& b : bench::registry()) {
        if (!wanted.isEmpty() && !wanted.contains(QString::fromStdString(b.name)))
            continue;
        b.run();
    }
    return 0;
}
