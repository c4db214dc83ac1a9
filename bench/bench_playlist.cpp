// Opening a 10 000-line playlist file into deck A of the real main window (names derived,
// list box filled, pending events let run between slices), against reading the same file's
// lines with QFile.
#include "bench.h"
#include "bench_window.h"

#include "app/UMIXER.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QListWidget>
#include <algorithm>

namespace {

constexpr int lines = 10000;
constexpr int runs = 5;

void openPlaylist()
{
    const bench::WindowSurroundings surroundings;
    const QString path = surroundings.file("noite.ipk");
    {
        QFile file(path);
        file.open(QIODevice::WriteOnly);
        for (int i = 0; i < lines; ++i)
            file.write(QString("/home/dj/Música/pasta %1/faixa número %2 - artista.mp3\r\n")
                           .arg(i / 100)
                           .arg(i)
                           .toUtf8());
    }

    Tform_mixer window;
    window.show();
    QApplication::processEvents();

    qsizetype anchorLines = 0;
    const double anchor = bench::bestMs(runs, [&] {
        QFile file(path);
        file.open(QIODevice::ReadOnly);
        anchorLines = QString::fromUtf8(file.readAll()).split("\r\n", Qt::SkipEmptyParts).size();
    });
    const double ours = bench::bestMs(runs, [&] { window.OpenDialog1CanClose(path); });
    if (window.ListBox1->count() != lines || anchorLines != lines)
        std::printf("playlist-open: wrong count %d / %lld\n", window.ListBox1->count(), (long long)anchorLines);
    bench::report("playlist-open-10000", ours, "ms", anchor, "QFile lines of the same file", ours / anchor,
                  "well under 1000 ms");
}

bench::Register registerOpen("playlist-open-10000", "opening a 10 000-entry playlist against reading its lines", openPlaylist);

} // namespace
