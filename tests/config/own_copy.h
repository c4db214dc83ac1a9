// Runs tests of this program in a copy of its own. The engine keeps the backend it started with,
// so a test on real outputs cannot share a process with the tests on the manual backend.
#pragma once

#include <QCoreApplication>
#include <QProcess>
#include <gtest/gtest.h>

namespace test {

// Runs the tests that `filter` names in a copy with `variable` set to `value`, and fails when
// one of them fails, or when the copy does not finish within two minutes instead of hanging.
inline void runOwnCopy(const QString& filter, const QString& variable, const QString& value)
{
    QProcess copy;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(variable, value);
    copy.setProcessEnvironment(env);
    copy.setProcessChannelMode(QProcess::MergedChannels);
    copy.start(QCoreApplication::applicationFilePath(), {"--gtest_filter=" + filter});
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
