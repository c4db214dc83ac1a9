// TVoltariaScan on generated trees: masks, sort, depth rule, links, unreadable folders, stop.
#include "library/VoltariaScan.h"
#include "temp_tree.h"

#include <unistd.h>

namespace {

QStringList scan(const QString& start, const QStringList& masks, quint16 depth, bool subDirectories = true)
{
    TVoltariaScan scanner;
    scanner.FilePath = start;
    scanner.SearchFilter = masks;
    scanner.xnivel = depth;
    scanner.SubDirectories = subDirectories;
    scanner.Search();
    return scanner.SearchResult();
}

} // namespace

TEST(VoltariaScan, MixedMasksGiveOneSortedListOfLibraryLines)
{
    TempTree tree;
    tree.file("c.Mp3");
    tree.file("b.wav");
    tree.file("sub/a.MP3");
    tree.file(".hidden.mp3");
    tree.file("skip.ogg");
    tree.file("mp3"); // no extension: not a match
    tree.folder("pasta.mp3"); // a folder matching the mask is an entry like a file
    const QString r = tree.root();
    EXPECT_EQ(scan(r, {"*.mp3", "*.wav"}, 200),
              (QStringList{".HIDDEN.MP3#" + r + ".hidden.mp3", "A.MP3#" + r + "sub/a.MP3", "B.WAV#" + r + "b.wav",
                           "C.MP3#" + r + "c.Mp3", "PASTA.MP3#" + r + "pasta.mp3"}));
}

TEST(VoltariaScan, UpperCasesAccentedNamesButKeepsThePathAsSpelled)
{
    TempTree tree;
    tree.file(QString::fromUtf8("Canção/ação.mp3"));
    EXPECT_EQ(scan(tree.root(), {"*.mp3"}, 200),
              QStringList{QString::fromUtf8("AÇÃO.MP3#") + tree.path(QString::fromUtf8("Canção/ação.mp3"))});
}

TEST(VoltariaScan, DepthCountsSlashesFromTheRoot)
{
    TempTree tree;
    tree.file("0.mp3");
    tree.file("a/1.mp3");
    tree.file("a/b/2.mp3");
    tree.file("a/b/c/3.mp3");
    tree.file("a/b/c/d/4.mp3");
    const int rootSlashes = tree.root().count('/');
    // Subfolders of a folder are walked while its path holds at most xnivel "/": files come from
    // (xnivel - rootSlashes + 1) levels below the start, whatever the start folder.
    struct Case {
        int depth;
        int found;
    };
    for (const Case c : {Case{rootSlashes - 1, 1}, Case{rootSlashes, 2}, Case{rootSlashes + 2, 4}, Case{rootSlashes + 3, 5},
                         Case{rootSlashes + 10, 5}}) {
        EXPECT_EQ(scan(tree.root(), {"*.mp3"}, quint16(c.depth)).size(), c.found) << "xnivel " << c.depth;
    }
    EXPECT_EQ(scan(tree.root(), {"*.mp3"}, 200, false), QStringList{"0.MP3#" + tree.path("0.mp3")});
}

TEST(VoltariaScan, NeverFollowsLinksToFolders)
{
    TempTree tree;
    tree.file("a/song.mp3");
    tree.link("a/loop", tree.path(""));         // a loop back to the root
    tree.link("a/loop.mp3", tree.path("a"));    // a link to a folder, named like a track: listed, not walked
    tree.link("link.mp3", tree.path("a/song.mp3"));
    EXPECT_EQ(scan(tree.root(), {"*.mp3"}, 200),
              (QStringList{"LINK.MP3#" + tree.path("link.mp3"), "LOOP.MP3#" + tree.path("a/loop.mp3"),
                           "SONG.MP3#" + tree.path("a/song.mp3")}));
}

TEST(VoltariaScan, SkipsFoldersItCannotReadSilently)
{
    TempTree tree;
    tree.file("0.mp3");
    tree.file("locked/1.mp3");
    tree.file("vanishing/2.mp3");
    tree.file("z/3.mp3");
    ASSERT_TRUE(QFile::setPermissions(tree.path("locked"), QFileDevice::Permissions()));
    TVoltariaScan scanner;
    scanner.FilePath = tree.root();
    scanner.SearchFilter = {"*.mp3"};
    scanner.xnivel = 200;
    // A folder removed between its listing and its walk fails to open like an unreadable one.
    scanner.OnFileFound = [&](const QString&) { QDir(tree.path("vanishing")).removeRecursively(); };
    scanner.Search();
    QFile::setPermissions(tree.path("locked"), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    const QStringList result = scanner.SearchResult();
    EXPECT_TRUE(result.contains("0.MP3#" + tree.path("0.mp3")));
    EXPECT_TRUE(result.contains("3.MP3#" + tree.path("z/3.mp3")));
    EXPECT_FALSE(result.contains("2.MP3#" + tree.path("vanishing/2.mp3")));
    if (geteuid() != 0) { // root reads any folder
        EXPECT_EQ(result.size(), 2);
    }
}

TEST(VoltariaScan, StopKeepsThePartialResultSorted)
{
    TempTree tree;
    for (const char* name : {"e.mp3", "d.mp3", "a/c.mp3", "a/b.mp3", "b/a.mp3"})
        tree.file(name);
    TVoltariaScan scanner;
    scanner.FilePath = tree.root();
    scanner.SearchFilter = {"*.mp3"};
    scanner.xnivel = 200;
    int found = 0;
    scanner.OnFileFound = [&](const QString&) {
        if (++found == 2)
            scanner.Stop();
    };
    QStringList ready;
    scanner.OnReady = [&](const QStringList& result) { ready = result; };
    scanner.Search();
    ASSERT_EQ(scanner.SearchResult().size(), 2); // the entry that stopped it is the last one
    EXPECT_LT(scanner.SearchResult()[0], scanner.SearchResult()[1]);
    EXPECT_EQ(ready, scanner.SearchResult());

    // The next search starts afresh and replaces the result.
    scanner.OnFileFound = nullptr;
    scanner.Search();
    EXPECT_EQ(scanner.SearchResult().size(), 5);
}

TEST(VoltariaScan, FindingNothingGivesAnEmptyResult)
{
    TempTree tree;
    tree.file("a.mp3");
    TVoltariaScan scanner;
    scanner.FilePath = tree.root();
    scanner.SearchFilter = {"*.mp3"};
    scanner.xnivel = 20;
    scanner.Search();
    ASSERT_EQ(scanner.SearchResult().size(), 1);
    for (const auto& [start, masks] : {std::pair{tree.root(), QStringList{}}, std::pair{tree.root(), QStringList{"*.ogg"}},
                                       std::pair{tree.path("missing/"), QStringList{"*.mp3"}}}) {
        scanner.FilePath = start;
        scanner.SearchFilter = masks;
        scanner.Search();
        EXPECT_TRUE(scanner.SearchResult().isEmpty()) << start.toStdString();
    }
}
