// The inside of a copy of the test program (support/own_copy.h) that plays on the null device in
// real time: a test whose engine must start with the real backend, in a process of its own.
#pragma once

#include "support/recording_dialogs.h"

#include "app/paths.h"
#include "app/time_format.h"
#include "audio/TCorvoBass.h"

#include <QCoreApplication>
#include <QFile>
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

} // namespace test
