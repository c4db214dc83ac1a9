// The shared text rules: decoding, line splitting, CR LF writing and the atomic replacement.
#include "base/path_bytes.h"
#include "base/textfile.h"
#include "support/full_disk.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

TEST(TextFile, SplitsOnEveryLineEndAndKeepsInnerEmptyLines)
{
    struct Case {
        QByteArray bytes;
        QStringList lines;
    };
    const Case cases[] = {
        {"", {}},
        {"a", {"a"}},
        {"a\r\n", {"a"}},
        {"a\rb\rc\r", {"a", "b", "c"}},        // CR-only files from old Macs
        {"a\nb\r\nc", {"a", "b", "c"}},        // mixed ends, last line unterminated
        {"a\r\n\r\nb\r\n", {"a", "", "b"}},    // an empty line inside stays a line
        {"a\n\r\nb", {"a", "", "b"}},          // LF then CR LF is two ends, not one
        {"\xEF\xBB\xBF" "x\r\n", {"x"}},       // BOM dropped
    };
    for (const Case& c : cases) {
        QBuffer buffer;
        buffer.setData(c.bytes);
        buffer.open(QIODevice::ReadOnly);
        EXPECT_EQ(textfile::readLines(buffer), c.lines) << c.bytes.toStdString();
    }
}

// Catches a reader that reads a file a piece at a time and splits or decodes it otherwise than
// the whole file: a CR LF or a UTF-8 character cut by a piece's end, a line running over one, a
// byte that makes the whole file Windows-1252 only in its last piece; and one that takes a line
// longer than it was given, or drops another line with it.
TEST(TextFile, AFileReadInPiecesGivesTheLinesOfTheWholeFile)
{
    constexpr qsizetype piece = 1 << 20; // the reader's piece
    const QByteArray filler(piece - 1, 'a');
    struct Case {
        const char* name;
        QByteArray bytes;
    };
    const Case cases[] = {
        {"CR LF across pieces", filler + "\r\nb\r\n"},
        {"CR alone at a piece's end", filler + "\rb"},
        {"a line over a piece's end", "x\r\n" + filler + "bcd\r\nlast"},
        {"UTF-8 across pieces", filler + "\xc3\xa7\r\n\xef\xbb\xbfno BOM here"},
        {"Windows-1252 in the last piece only", "\xef\xbb\xbf" "BOM\r\n" + filler + "b\r\n\x80"},
    };
    QTemporaryDir dir;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QString path = dir.filePath("pieces.txt");
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(c.bytes) == c.bytes.size());
        file.close();
        const QStringList whole = textfile::splitLines(textfile::decode(c.bytes));
        QStringList lines;
        ASSERT_TRUE(textfile::readFileLines(path, lines));
        EXPECT_TRUE(lines == whole);
        // One byte under the longest line in characters leaves out the longest lines alone here.
        qsizetype longest = 0;
        for (const QString& line : whole)
            longest = std::max(longest, line.size());
        QStringList shorter = whole;
        shorter.removeIf([&](const QString& line) { return line.size() == longest; });
        lines.clear();
        const textfile::PieceRead result =
            textfile::forEachFileLine(path, longest - 1, [&](QString&& line) { lines << line; });
        EXPECT_TRUE(result.read);
        EXPECT_EQ(result.tooLong, whole.size() - shorter.size());
        EXPECT_TRUE(lines == shorter);
    }
}

TEST(TextFile, ReadsWindows1252WhenNotUtf8)
{
    // 0x80 (euro) and 0x93 (left quote) are the range Latin-1 gets wrong.
    const QByteArray windows("M\xdaSICA \x80 \x93X\x94.MP3");
    EXPECT_EQ(textfile::decode(windows), QString::fromUtf8("MÚSICA € “X”.MP3"));
    EXPECT_EQ(textfile::decode(QString::fromUtf8("MÚSICA").toUtf8()), QString::fromUtf8("MÚSICA"));
}

TEST(TextFile, WritesUtf8WithCrLfAfterEveryLine)
{
    EXPECT_EQ(textfile::encodeLines({QString::fromUtf8("ção"), "", "b"}), QByteArray("\xc3\xa7\xc3\xa3o\r\n\r\nb\r\n"));
    EXPECT_EQ(textfile::encodeLines({}), QByteArray());
}

TEST(TextFile, ReplaceWritesWholeFilesAndReportsFailure)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("lista.upd");
    ASSERT_TRUE(textfile::writeFileLines(path, {"old", "lines"}));
    ASSERT_TRUE(textfile::writeFileLines(path, {"new"}));
    QStringList lines;
    ASSERT_TRUE(textfile::readFileLines(path, lines));
    EXPECT_EQ(lines, QStringList{"new"});
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"lista.upd"}); // no temporary left behind

    // Failures are reported, not passed off as success.
    EXPECT_FALSE(textfile::writeFileLines(dir.filePath("missing/lista.upd"), {"x"}));
    EXPECT_FALSE(textfile::readFileLines(dir.filePath("missing/lista.upd"), lines));
    ASSERT_TRUE(QDir(dir.path()).mkdir("folder.upd"));
    EXPECT_FALSE(textfile::writeFileLines(dir.filePath("folder.upd"), {"x"}));
}

// Catches a small file (kept in QSaveFile's buffer until commit) replaced by a truncated copy
// with success reported, and a large one failing midway: the old file must stay whole.
TEST(TextFile, FullDiskKeepsTheOldFileWholeAndReportsFailure)
{
    const QByteArray old = "old\r\nlines\r\n";
    for (const qsizetype lines : {1000, 20000}) { // about 10 KB and 200 KB, both past the room left
        SCOPED_TRACE(lines);
        test::onFullDisk(old, "lista.upd", [&](const QString& folder) {
            const QString path = folder + "/lista.upd";
            EXPECT_FALSE(textfile::writeFileLines(path, QStringList(lines, "0123456789")));
            QFile file(path);
            ASSERT_TRUE(file.open(QIODevice::ReadOnly));
            EXPECT_EQ(file.readAll(), old);
            EXPECT_FALSE(QDir(folder).entryList(QDir::Files).join(' ').contains("lista.upd."))
                << "a temporary file was left behind";
        });
    }
}

// Catches a lossy path representation (QFile::decodeName turns foreign bytes into U+FFFD) and a
// text file that cannot carry such a path through a write and a read.
TEST(TextFile, NamesThatAreNotUtf8KeepTheirBytesInMemoryAndInFiles)
{
    const QByteArray cases[] = {
        "/m/M\xfasica.mp3",          // Windows-1252 from a zip file
        "/m/\x87\x82/x.mp3",         // CP437 bytes
        "/m/\xc3",                   // a sequence cut short
        "/m/\xed\xa0\x80.mp3",       // an encoded surrogate is not UTF-8 either
        "/m/\xed\xb2\x80.mp3",       // nor the three bytes that stand for a kept byte in a text file
        "/m/a\xc3\xa7\xc3\xa3o.mp3", // valid UTF-8 stays plain text
    };
    for (const QByteArray& bytes : cases) {
        SCOPED_TRACE(bytes.toHex().toStdString());
        const QString path = base::pathFromBytes(bytes);
        EXPECT_EQ(base::pathToBytes(path), bytes);
        const QStringList lines{"DESCRIPTION#" + path, QString::fromUtf8("AÇÃO")};
        EXPECT_EQ(textfile::splitLines(textfile::decode(textfile::encodeLines(lines))), lines);
    }
    EXPECT_EQ(base::pathFromBytes("/m/a\xc3\xa7\xc3\xa3o.mp3"), QString::fromUtf8("/m/ação.mp3"));
    EXPECT_EQ(base::displayName(base::pathFromBytes("M\xfasica.mp3")), QString::fromUtf8("Música.mp3"));
    // A list from Windows is still read as Windows-1252, even where its bytes look like a kept one.
    EXPECT_EQ(textfile::decode("A\xc7\xc3O#C:\\\xed\xb2\x80"), QString::fromUtf8("AÇÃO#C:\\í²€"));
}
