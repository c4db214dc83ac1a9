// A folder on a file system that is full but for a few kilobytes, for the tests of files written
// on a full disk. As root (CI) it is a small tmpfs mounted for the test and filled up; where
// mounting is not permitted the body runs in a child process under a file-size limit, so a
// write fails midway there too (the limit's signal ignored, the write getting EFBIG instead).
#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace test {

// Bytes left free by default: one page, less than any file of the tests but not nothing, so a
// write fails midway.
inline constexpr qint64 fullDiskRoom = 4096;

// Fills the file system of `folder` with pages of filler until it refuses one, then gives back
// `room` bytes (whole pages). Returns the number of filler pages left.
inline int fillUp(const QString& folder, qint64 room = fullDiskRoom)
{
    const QDir dir(folder);
    const QByteArray page(4096, 'f');
    int pages = 0;
    for (;; ++pages) {
        QFile filler(dir.filePath(QString("filler%1").arg(pages)));
        if (!filler.open(QIODevice::WriteOnly) || filler.write(page) != page.size() || !filler.flush()) {
            filler.close();
            filler.remove();
            break;
        }
    }
    for (qint64 back = 0; back < room / page.size() && pages > 0; ++back)
        QFile::remove(dir.filePath(QString("filler%1").arg(--pages)));
    return pages;
}

// Gives the file system of a folder filled by fillUp its room back; false where the disk is
// only a limit on the size of files, which stays.
inline bool freeRoom(const QString& folder)
{
    const QDir dir(folder);
    const QStringList fillers = dir.entryList({"filler*"}, QDir::Files);
    for (const QString& filler : fillers)
        QFile::remove(dir.filePath(filler));
    return !fillers.isEmpty();
}

// Writes `before` into `name` in the folder while there is room, then fills the file system, so
// that only `room` bytes (whole pages) are left; body then runs with the folder. Each failure of
// body fails the calling test, in the child process too.
inline void onFullDisk(const QByteArray& before, const QString& name, const std::function<void(const QString&)>& body,
                       qint64 room = fullDiskRoom)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QByteArray mountPoint = QFile::encodeName(dir.path());
    if (::mount("tmpfs", mountPoint.constData(), "tmpfs", 0, "size=1m") == 0) {
        {
            QFile old(dir.filePath(name));
            ASSERT_TRUE(old.open(QIODevice::WriteOnly) && old.write(before) == before.size() && old.flush());
        }
        ASSERT_GT(fillUp(dir.path(), room), 0);
        body(dir.path());
        ::umount2(mountPoint.constData(), MNT_DETACH);
        return;
    }
    // Not permitted to mount: a limit on the size of any file written, in a child process.
    {
        QFile old(dir.filePath(name));
        ASSERT_TRUE(old.open(QIODevice::WriteOnly) && old.write(before) == before.size());
    }
    std::fflush(nullptr);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        ::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{rlim_t(room), rlim_t(room)};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        body(dir.path());
        std::fflush(nullptr);
        ::_exit(::testing::Test::HasFailure() ? 1 : 0);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "the full-disk body failed in its child process";
}

} // namespace test
