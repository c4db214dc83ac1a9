// The shared text rules: decoding, line splitting, CR LF writing and the atomic replacement.
#include "app/textfile.h"

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
