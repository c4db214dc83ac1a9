// A folder tree built in a temporary folder for the capture and listing tests.
#pragma once

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

class TempTree {
public:
    // The root folder with its trailing "/", as the capture takes it.
    QString root() const { return dir_.path() + '/'; }
    QString path(const QString& relative) const { return root() + relative; }

    void file(const QString& relative) const
    {
        QDir().mkpath(QFileInfo(path(relative)).path());
        QFile f(path(relative));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly)) << relative.toStdString();
    }
    void folder(const QString& relative) const { ASSERT_TRUE(QDir().mkpath(path(relative))); }
    void link(const QString& relative, const QString& target) const
    {
        ASSERT_TRUE(QFile::link(target, path(relative))) << relative.toStdString();
    }

private:
    QTemporaryDir dir_;
};
