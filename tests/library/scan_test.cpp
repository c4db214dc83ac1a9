// TVoltariaScan on generated trees: masks, sort, depth rule, links, unreadable folders, stop.
#include "base/path_bytes.h"
#include "library/VoltariaScan.h"
#include "library/mount_table.h"
#include "temp_tree.h"

#include <fcntl.h>
#include <sys/stat.h>
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

// Catches a depth counted from "/" instead of from the drive's root, and an off-by-one at either
// end: the root holds one "/", and a folder's subfolders are walked while it holds at most xnivel.
TEST(VoltariaScan, DepthCountsSlashesFromTheDrivesRoot)
{
    TempTree tree;
    tree.file("0.mp3");
    tree.file("a/1.mp3");
    tree.file("a/b/2.mp3");
    tree.file("a/b/c/3.mp3");
    tree.file("a/b/c/d/4.mp3");
    struct Case {
        quint16 depth;
        int fromRoot, fromA; // files found starting at the root, and at a/ (its own always)
    };
    for (const Case c : {Case{0, 1, 1}, Case{1, 2, 1}, Case{3, 4, 3}, Case{4, 5, 4}, Case{10, 5, 4}}) {
        TVoltariaScan scanner;
        scanner.RootPath = tree.root();
        scanner.SearchFilter = {"*.mp3"};
        scanner.xnivel = c.depth;
        scanner.FilePath = tree.root();
        scanner.Search();
        EXPECT_EQ(scanner.SearchResult().size(), c.fromRoot) << "xnivel " << c.depth;
        scanner.FilePath = tree.path("a/");
        scanner.Search();
        EXPECT_EQ(scanner.SearchResult().size(), c.fromA) << "xnivel " << c.depth << " from a/";
    }
    EXPECT_EQ(scan(tree.root(), {"*.mp3"}, 200, false), QStringList{"0.MP3#" + tree.path("0.mp3")});
}

// Catches names that are not UTF-8 turned into U+FFFD (a path that opens nothing) and names with
// a line break written as two library lines.
TEST(VoltariaScan, KeepsTheBytesOfNamesThatAreNotUtf8AndLeavesOutLineBreaks)
{
    TempTree tree;
    const QByteArray root = QFile::encodeName(tree.root());
    for (const QByteArray& name : {QByteArray("M\xfasica.mp3"), QByteArray("pasta\x87/a.mp3"), QByteArray("two\nlines.mp3"),
                                   QByteArray("cr\rx/b.mp3"), QByteArray("ok.mp3")}) {
        const QByteArray path = root + name;
        if (name.contains('/')) {
            ASSERT_EQ(::mkdir((root + name.left(name.indexOf('/'))).constData(), 0755), 0);
        }
        ASSERT_EQ(::close(::open(path.constData(), O_CREAT | O_WRONLY, 0644)), 0) << path.toStdString();
    }
    const QStringList lines = scan(tree.root(), {"*.mp3"}, 200);
    QList<QByteArray> paths;
    for (const QString& line : lines) {
        const QString path = line.mid(line.indexOf("#/") + 1);
        EXPECT_TRUE(base::isFile(path)) << line.toStdString();
        paths.append(base::pathToBytes(path));
    }
    std::sort(paths.begin(), paths.end());
    EXPECT_EQ(paths, (QList<QByteArray>{root + "M\xfasica.mp3", root + "ok.mp3", root + "pasta\x87/a.mp3"}));
    // The description shows the foreign name readably (as Windows-1252 reads it).
    EXPECT_TRUE(lines.join('|').contains(QString::fromUtf8("MÚSICA.MP3#")));
}

// Catches a capture of "/" that lists the kernel's virtual file systems, and network mounts
// that are walked (a lost server hangs the walk).
TEST(VoltariaScan, StaysOffVirtualAndNetworkFileSystems)
{
    const QByteArray mountinfo = "22 1 0:21 / /proc rw - proc proc rw\n"
                                 "23 1 8:1 / / rw,relatime shared:1 - ext4 /dev/sda1 rw\n"
                                 "24 23 0:50 / /mnt/nas rw shared:9 - nfs4 nas:/music rw\n"
                                 "25 23 0:51 / /media/u/Win\\040Share rw - cifs //pc/share rw\n"
                                 "26 23 0:52 / /home/u/remote rw - fuse.sshfs u@h: rw\n"
                                 "27 23 8:17 / /media/u/STICK rw - vfat /dev/sdb1 rw\n"
                                 "28 23 0:53 / /tmp rw - tmpfs tmpfs rw\n";
    const auto folders = library::foldersNotToWalk(mountinfo);
    for (const char* skipped : {"/proc/", "/sys/", "/dev/", "/run/", "/mnt/nas/", "/media/u/Win Share/", "/home/u/remote/"})
        EXPECT_TRUE(folders.count(skipped)) << skipped;
    for (const char* walked : {"/", "/media/u/STICK/", "/tmp/"})
        EXPECT_FALSE(folders.count(walked)) << walked;

    // The real thing: "/" and one level below it, every name taken.
    TVoltariaScan scanner;
    scanner.FilePath = "/";
    scanner.SearchFilter = {"*"};
    scanner.xnivel = 1;
    scanner.Search();
    EXPECT_TRUE(scanner.SearchResult().contains("ETC#/etc")); // the walk did run
    for (const QString& line : scanner.SearchResult()) {
        for (const char* virtualFolder : {"#/proc/", "#/sys/", "#/dev/", "#/run/"})
            ASSERT_FALSE(line.contains(virtualFolder)) << line.toStdString();
    }
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
