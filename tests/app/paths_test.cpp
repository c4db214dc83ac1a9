// Where the program keeps its files when no test chose a folder: beside the executable when
// that folder takes new files, otherwise the user's data folder, created on demand.
#include "app/paths.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <unistd.h>

TEST(DataFolder, BesideTheExecutableOnlyWhenThatFolderTakesNewFiles)
{
    QTemporaryDir scratch;
    const QString writable = scratch.filePath("portavel");
    const QString readOnly = scratch.filePath("somente-leitura");
    QDir().mkpath(writable);
    QDir().mkpath(readOnly);
    QFile::setPermissions(readOnly, QFile::ReadOwner | QFile::ExeOwner);
    const bool root = ::geteuid() == 0;

    struct Case
    {
        const char* what;
        QString executableFolder;
        bool besideExecutable;
    };
    int n = 0;
    for (const Case& c : {Case{"a writable folder (build folder, portable copy)", writable, true},
                          // root may write anywhere, so the permission alone cannot keep it out of /usr
                          Case{"an installed program under /usr", "/usr/bin", false},
                          Case{"the same, spelt with a dot", "/usr/./bin/", false},
                          Case{"a folder that is gone", scratch.filePath("sumiu"), false},
                          Case{"a read-only folder", readOnly, root}}) {
        SCOPED_TRACE(c.what);
        const QString user = scratch.filePath(QString("home%1/.local/share/voltaria").arg(++n));
        const QString chosen = app::defaultDataFolder(c.executableFolder, user);
        EXPECT_EQ(chosen, c.besideExecutable ? c.executableFolder : user);
        EXPECT_EQ(QDir(user).exists(), !c.besideExecutable) << "the user's folder is created only when it is used";
    }
    QFile::setPermissions(readOnly, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}
