// Library benchmarks: a capture of a 100 000-file tree against find with the same patterns, and a
// 100 000-entry library loaded into the grid, searched once and stepped once by the type-ahead,
// each against the plainest loop over the same texts.
#include "bench.h"
#include "bench_window.h"

#include "app/UMIXER.h"
#include "base/textfile.h"
#include "library/VoltariaScan.h"
#include "library/library_file.h"
#include "library/locale_text.h"
#include "widgets/MultiSwitch.h"
#include "widgets/StringGrid.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <cstdlib>
#include <functional>
#include <random>

namespace {

constexpr int fileCount = 100000;
constexpr int libraryLines = 100000;

const QStringList words{"love", "night", "dance", "blue", "rock", "song", "heart", "rain", "fire", "dream",
                        "city", "road", "summer", "moon", "gold", "river", "baby", "time", "zero", "wild"};

// 10 x 10 x 10 leaf folders of 100 names each: 60 MP3, 20 WAV, 10 OGG and 10 JPEG files, made once
// and kept in the temporary folder for later runs.
QString captureTree()
{
    const QString root = QDir::tempPath() + "/voltaria-bench-tree-100k/";
    if (QFile::exists(root + ".complete"))
        return root;
    QDir(root).removeRecursively();
    const char* extensions[] = {".mp3", ".wav", ".ogg", ".jpg"};
    int made = 0;
    for (int a = 0; a < 10; ++a)
        for (int b = 0; b < 10; ++b)
            for (int c = 0; c < 10; ++c) {
                const QString folder = root + QString("Artist %1/Album %2/Disc %3/").arg(a).arg(b).arg(c);
                QDir().mkpath(folder);
                for (int i = 0; i < 100; ++i, ++made) {
                    const char* extension = extensions[i < 60 ? 0 : i < 80 ? 1 : i < 90 ? 2 : 3];
                    QFile(folder + QString("%1 %2 %3%4").arg(words[i % 20]).arg(made).arg(words[(i * 7) % 20]).arg(extension))
                        .open(QIODevice::WriteOnly);
                }
            }
    QFile(root + ".complete").open(QIODevice::WriteOnly);
    std::printf("made a tree of %d files in %s\n", made, qPrintable(root));
    return root;
}

// The main window's surroundings for a benchmark: no sound card, no boxes on screen.
void captureBenchmark()
{
    const bench::WindowSurroundings surroundings;
    const QString root = captureTree();
    const QStringList masks{"*.mp3", "*.wav", "*.wma", "*.ogg"};
    TVoltariaScan scanner;
    scanner.FilePath = root;
    scanner.SearchFilter = masks;
    scanner.xnivel = 200;
    const QString find = "find '" + root + "' \\( -iname '*.mp3' -o -iname '*.wav' -o -iname '*.wma' -o -iname '*.ogg' \\) > /dev/null";
    std::system(find.toLocal8Bit().constData()); // the same warm caches for both
    const double ours = bench::bestMs(3, [&] { scanner.Search(); });
    const double anchor = bench::bestMs(3, [&] { std::system(find.toLocal8Bit().constData()); });
    std::printf("  %lld entries found of %d files\n", qlonglong(scanner.SearchResult().size()), fileCount);
    bench::report("capture walk 100k files", ours, "ms", anchor, "find -iname, 4 patterns", ours / anchor, "<= 1.5");

    // What the operator waits for: the walk, the grid and the library file.
    Tform_mixer window;
    window.DriveComboBox1->addItem("bench", root);
    window.DriveComboBox1->setCurrentIndex(window.DriveComboBox1->count() - 1);
    window.MMSwitch1->setPosition(3);
    for (QCheckBox* box : {window.Checkbox4, window.Checkbox3, window.checkbox_wma, window.Checkbox1})
        box->setChecked(true);
    const double button = bench::bestMs(3, [&] { window.BitBtn13Click(); });
    if (window.StringGrid1->RowCount() - 1 != scanner.SearchResult().size())
        std::abort();
    bench::report("capture button 100k files", button, "ms", anchor, "find -iname, 4 patterns", button / anchor,
                  "<= 1.5");
}

// Library lines as a capture writes them, in its order.
QStringList libraryFileLines()
{
    std::mt19937 random(5);
    QStringList lines;
    lines.reserve(libraryLines);
    for (int i = 0; i < libraryLines; ++i) {
        const QString artist = words[random() % 20] + ' ' + words[random() % 20];
        const QString name = QString("%1 - %2 %3 %4.mp3").arg(artist, words[random() % 20], words[random() % 20]).arg(i);
        lines.append(library::captureLine(QString("/home/dj/Música/%1/Album %2/").arg(artist).arg(i % 50), name));
    }
    library::sortCaseInsensitive(lines);
    return lines;
}

void libraryBenchmarks()
{
    const bench::WindowSurroundings surroundings;
    const QString file = surroundings.file("lista.upd");
    textfile::writeFileLines(file, libraryFileLines());

    Tform_mixer window;
    const double load = bench::bestMs(3, [&] { window.carrega_lista(); });
    const double read = bench::bestMs(3, [&] {
        QFile in(file);
        in.open(QIODevice::ReadOnly);
        const QStringList lines = QString::fromUtf8(in.readAll()).split(QStringLiteral("\r\n"));
        if (lines.size() < libraryLines)
            std::abort();
    });
    bench::report("load 100k-line lista.upd", load, "ms", read, "read and split the file", load / read, "< 1000 ms");

    QStringList descriptions;
    for (int row = 1; row < window.StringGrid1->RowCount(); ++row)
        descriptions.append(window.StringGrid1->Cells(1, row));

    const QString needle = QStringLiteral("wild zero");
    int matches = 0;
    const double search = bench::bestMs(5, [&] {
        window.edit1->setText(needle);
        window.Edit1KeyPress(QChar(13));
        matches = window.StringGrid2->RowCount() - 1;
    });
    int plainMatches = 0;
    const double plainSearch = bench::bestMs(5, [&] {
        plainMatches = 0;
        for (const QString& description : descriptions)
            plainMatches += description.left(50).contains(needle, Qt::CaseInsensitive);
    });
    std::printf("  search \"%s\": %d rows (plain loop %d)\n", qPrintable(needle), matches, plainMatches);
    bench::report("search 100k rows", search, "ms", plainSearch, "contains() over the descriptions", search / plainSearch,
                  "< 100 ms");

    int landed = 0;
    const double typeAhead = bench::bestMs(5, [&] {
        window.texto_busca.clear();
        window.StringGrid1->setRow(1);
        window.StringGrid1KeyDown(Qt::Key_Z);
        landed = window.StringGrid1->Row();
    });
    int plainRow = 0;
    const double plainTypeAhead = bench::bestMs(5, [&] {
        plainRow = 0;
        for (qsizetype i = 0; i < descriptions.size() && plainRow == 0; ++i) {
            if (descriptions[i].startsWith(u'Z', Qt::CaseInsensitive))
                plainRow = int(i) + 1;
        }
    });
    std::printf("  type-ahead \"Z\": row %d (plain loop %d)\n", landed, plainRow);
    bench::report("type-ahead step 100k rows", typeAhead, "ms", plainTypeAhead, "startsWith() down to the row",
                  typeAhead / plainTypeAhead, "< 10 ms");
}

const bench::Register capture("library_capture", "capture of a 100 000-file tree against find with the same patterns", captureBenchmark);
const bench::Register library("library_grid", "100 000-entry library: load into the grid, search, type-ahead", libraryBenchmarks);

} // namespace
