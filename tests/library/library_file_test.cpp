// The library file's lines: parsing odd lines, the grid columns, and the guarded removal.
#include "base/textfile.h"
#include "library/library_file.h"
#include "library/time_slice.h"

#include <QBuffer>
#include <gtest/gtest.h>

using library::LibraryEntry;

TEST(LibraryFile, ParsesOddLines)
{
    const QString longPath = "/m/" + QString(300, 'x') + ".mp3"; // kept whole, not cut at 255
    struct Case {
        QString line;
        LibraryEntry entry;
    };
    const Case cases[] = {
        {"SONG.MP3#/m/song.mp3", {"SONG.MP3", "/m/song.mp3"}},
        {"no separator at all", {"", "no separator at all"}},
        // The first "#" a path follows splits, so file names holding "#" survive.
        {"A#B#/m/a#b.mp3", {"A#B", "/m/a#b.mp3"}},
        {"FAIXA #1.MP3#/m/Faixa #1.mp3", {"FAIXA #1.MP3", "/m/Faixa #1.mp3"}},
        {"FAIXA #1.MP3#c:\\M\\FAIXA #1.MP3", {"FAIXA #1.MP3", "c:\\M\\FAIXA #1.MP3"}},
        {"A#B#C", {"A", "B#C"}},        // no path after any "#": the first one splits, as before
        {"A#C:B#/x", {"A#C:B", "/x"}}, // a drive letter needs ":\" after it
        {"#/m/x.mp3", {"", "/m/x.mp3"}},
        {"X.MP3#", {"X.MP3", ""}},
        {"", {"", ""}},
        {"LONG.MP3#" + longPath, {"LONG.MP3", longPath}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(library::parseLine(c.line), c.entry) << c.line.toStdString();
}

TEST(LibraryFile, WindowsListWithCrOnlyEndsFillsTheColumns)
{
    QBuffer buffer;
    buffer.setData("A\xc7\xc3O.MP3#C:\\M\\A\xc7\xc3O.MP3\rB.MP3#C:\\M\\B.MP3\rgarbage\r");
    buffer.open(QIODevice::ReadOnly);
    library::TimeSlice slice;
    const library::LibraryColumns columns = library::columnsFromLines(textfile::readLines(buffer), slice);
    EXPECT_EQ(columns.counters, (QStringList{"1", "2", "3"}));
    EXPECT_EQ(columns.descriptions, (QStringList{QString::fromUtf8("AÇÃO.MP3"), "B.MP3", ""}));
    EXPECT_EQ(columns.paths, (QStringList{QString::fromUtf8("C:\\M\\AÇÃO.MP3"), "C:\\M\\B.MP3", "garbage"}));
}

TEST(LibraryFile, CaptureLineUpperCasesOnlyTheDescription)
{
    EXPECT_EQ(library::captureLine("/música/", QString::fromUtf8("Ação.mp3")),
              QString::fromUtf8("AÇÃO.MP3#/música/Ação.mp3"));
}

TEST(LibraryFile, RemovalTakesOnlyTheLineTheRowShows)
{
    const QStringList file{"A#/a", "B#/b", "C#/c"};
    struct Case {
        int row;
        LibraryEntry shown;
        QStringList after;
    };
    const Case cases[] = {
        {2, {"B", "/b"}, {"A#/a", "C#/c"}},
        {1, {"A", "/a"}, {"B#/b", "C#/c"}},
        {3, {"C", "/c"}, {"A#/a", "B#/b"}},
        {2, {"X.MP3", "/folder/X.MP3"}, file}, // the grid lists a folder, not the library
        {2, {"C", "/c"}, file},                 // the grid and the file disagree
        {4, {"", ""}, file},                    // past the end
        {0, {"", ""}, file},                    // the header row
    };
    for (const Case& c : cases) {
        QStringList lines = file;
        const bool removed = library::removeEntryLine(lines, c.row, c.shown);
        EXPECT_EQ(removed, c.after != file);
        EXPECT_EQ(lines, c.after) << "row " << c.row;
    }
}
