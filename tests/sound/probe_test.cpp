// The probe's command line: asking for help prints the usage and succeeds; an option it does not
// know is refused with the usage, never probed as a file that is reported as missing.
#include <QProcess>
#include <gtest/gtest.h>

namespace {

struct ProbeRun {
    int exitCode = -1;
    QString out, err;
};

ProbeRun runProbe(const QStringList& args)
{
    QProcess probe;
    probe.start(qEnvironmentVariable("VOLTARIA_TEST_BINARY_DIR") + "/../bench/voltaria-probe", args);
    if (!probe.waitForFinished(60000)) {
        probe.kill();
        probe.waitForFinished();
        return {};
    }
    return {probe.exitCode(), QString::fromUtf8(probe.readAllStandardOutput()),
            QString::fromUtf8(probe.readAllStandardError())};
}

} // namespace

TEST(ProbeCommandLine, HelpAndUnknownOptionsShowTheUsage)
{
    struct Case {
        QStringList args;
        int exitCode;
        bool usageOnStdout;
    };
    for (const Case& c : {Case{{"--help"}, 0, true}, Case{{"-h"}, 0, true}, Case{{"--bogus"}, 2, false},
                          Case{{}, 2, false}}) {
        SCOPED_TRACE(c.args.join(' ').toStdString());
        const ProbeRun run = runProbe(c.args);
        EXPECT_EQ(run.exitCode, c.exitCode);
        const QString& usage = c.usageOnStdout ? run.out : run.err;
        EXPECT_TRUE(usage.startsWith("usage: voltaria-probe")) << usage.toStdString();
        EXPECT_TRUE(usage.contains("--render") && usage.contains("--devices")) << usage.toStdString();
        // Nothing was probed: no JSON object names the argument as a file.
        EXPECT_FALSE(run.out.contains("\"file\"")) << run.out.toStdString();
    }
}
