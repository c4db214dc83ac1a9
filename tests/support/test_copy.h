// Runs one test of this test program in a copy of it: a test whose engine must start with the
// real backend, in a process of its own. The copy gets a fresh temporary folder through the
// environment variable `variable`; a copy that hangs is killed and fails the calling test.
#pragma once

#include "support/recording_dialogs.h"

#include "app/paths.h"
#include "app/time_format.h"
#include "audio/TCorvoBass.h"

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace test {

// Inside the copy: its data folder, the dialogs recorded and a 1024 x 768 screen. `data` is
// empty when this process is not the copy (the test then skips).
struct CopyEnvironment {
    explicit CopyEnvironment(const char* variable) : data(qEnvironmentVariable(variable))
    {
        if (data.isEmpty())
            return;
        setDialogs(&dialogs);
        app::setDataFolder(data);
        app::setScreenSize(QSize(1024, 768));
        timefmt::setStorePath(data + "/user-locale.ini");
        // The null device comes after the real outputs.
        nullDevice = TCorvoBass().DeviceCount();
    }
    ~CopyEnvironment() { setDialogs(nullptr); }
    CopyEnvironment(const CopyEnvironment&) = delete;
    CopyEnvironment& operator=(const CopyEnvironment&) = delete;

    // "VOLTARIA4.INI" with both outputs on the null device, then `more` lines.
    void writeSettings(const QString& more = QString()) const
    {
        QFile file(data + "/VOLTARIA4.INI");
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write((QStringLiteral("DEVICE_TRANSMISSAO=%1\r\nDEVICE_CUE=%1\r\n").arg(nullDevice) + more).toUtf8());
    }

    QString data;
    RecordingDialogs dialogs;
    int nullDevice = 0;
};

inline void runInACopy(const char* filter, const char* variable)
{
    QTemporaryDir data;
    QProcess copy;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(variable, data.path());
    copy.setProcessEnvironment(env);
    copy.setProcessChannelMode(QProcess::MergedChannels);
    copy.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--gtest_filter=") + filter});
    if (!copy.waitForFinished(120000)) {
        copy.kill();
        copy.waitForFinished();
        FAIL() << "the copy did not finish:\n" << copy.readAll().toStdString();
    }
    const QByteArray output = copy.readAll();
    EXPECT_EQ(copy.exitCode(), 0) << output.toStdString();
    EXPECT_TRUE(output.contains("[  PASSED  ] 1 test")) << output.toStdString();
}

} // namespace test
