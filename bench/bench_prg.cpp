// "PRG" on a 100 000-entry library in the real main window (10 001 rows dealt out to the two deck
// playlists, pending events let run between slices), against appending the same rows to the two
// list boxes and path lists directly.
#include "bench.h"
#include "bench_window.h"

#include "app/UMIXER.h"
#include "widgets/StringGrid.h"

#include <QApplication>
#include <QListWidget>
#include <cstdio>

namespace {

constexpr int entries = 100000;
constexpr int dealt = 10001;
constexpr int runs = 5;

void emptyPlaylists(Tform_mixer& window)
{
    window.bitbtn17Click();
    window.BitBtn19Click();
}

void autoProgramming()
{
    const bench::WindowSurroundings surroundings;
    Tform_mixer window;
    window.show();
    QApplication::processEvents();
    std::vector<QStringList> columns(3);
    for (int i = 1; i <= entries; ++i) {
        columns[0].append(QString::number(i));
        columns[1].append(QString("ARTISTA %1 - FAIXA %2.MP3").arg(i % 700).arg(i));
        columns[2].append(QString("/home/dj/Música/Artista %1/faixa %2.mp3").arg(i % 700).arg(i));
    }
    window.StringGrid1->setRows(columns);

    const double ours = bench::bestMs(runs, [&] {
        emptyPlaylists(window);
        window.BitBtn24Click();
    });
    if (window.ListBox1->count() + window.ListBox2->count() != dealt)
        std::printf("prg: dealt %d rows\n", window.ListBox1->count() + window.ListBox2->count());

    const double anchor = bench::bestMs(runs, [&] {
        emptyPlaylists(window);
        for (int row = 1; row <= dealt; ++row) {
            const bool toA = row % 2 == 1;
            (toA ? window.ListBox1 : window.ListBox2)->addItem(columns[1][row - 1]);
            (toA ? window.lista_a : window.lista_b).append(columns[2][row - 1]);
        }
    });
    bench::report("prg 100k-entry library", ours, "ms", anchor, "the same 10001 rows appended directly", ours / anchor,
                  "well under 1000 ms");
}

bench::Register registerPrg("prg-100000", "PRG dealing a 100 000-entry library against appending the same rows directly",
                           autoProgramming);

} // namespace
