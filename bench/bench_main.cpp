// voltaria-bench [NAME...]: runs every registered benchmark, or only those named.
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
    for (const auto& b : bench::registry()) {
        if (!wanted.isEmpty() && !wanted.contains(QString::fromStdString(b.name)))
            continue;
        b.run();
    }
    return 0;
}
