// The running cost of the status line, which scrolls all day: the real main window shown with
// no deck playing, its event loop run for a while with the line scrolling, against the same
// window with the line stopped. CPU time of the whole process per second of wall time.
// voltaria-bench status-line-cpu [under xvfb-run with QT_QPA_PLATFORM=xcb to include X11].
#include "bench.h"
#include "bench_window.h"

#include "app/UMIXER.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>
#include <ctime>

namespace {

constexpr int seconds = 20;

double processCpuMs()
{
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

struct Run {
    double cpuPercent; // of one core
    int steps;
};

Run runFor(Tform_mixer& window, bool scrolling)
{
    scrolling ? window.Timer6->start() : window.Timer6->stop();
    int steps = 0;
    const QMetaObject::Connection counting =
        QObject::connect(window.Timer6, &QTimer::timeout, [&steps] { ++steps; });
    QEventLoop loop;
    QTimer::singleShot(seconds * 1000, &loop, &QEventLoop::quit);
    QElapsedTimer wall;
    wall.start();
    const double cpu0 = processCpuMs();
    loop.exec();
    const double cpu = processCpuMs() - cpu0;
    QObject::disconnect(counting);
    return {100.0 * cpu / double(wall.elapsed()), steps};
}

void statusLineCpu()
{
    const bench::WindowSurroundings surroundings;
    Tform_mixer window;
    window.show();
    QApplication::processEvents();
    const Run idle = runFor(window, false);
    const Run scrolling = runFor(window, true);
    std::printf("status-line-cpu: %d steps in %d s scrolling (5 a second expected)\n", scrolling.steps, seconds);
    bench::report("status-line-cpu", scrolling.cpuPercent, "% of a core", idle.cpuPercent,
                  "same window, line stopped", scrolling.cpuPercent / std::max(idle.cpuPercent, 1e-3),
                  "under 1 % of a core");
}

bench::Register registerStatusLine("status-line-cpu", "CPU of the shown window with the status line scrolling, no deck playing",
                                   statusLineCpu);

} // namespace
