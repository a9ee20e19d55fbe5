#pragma once

#include <QByteArray>
#include <QProcess>
#include <QStringList>

// Runs the built tiradex-tool as a separate process, as the checks outside
// the test suite do. A run that does not end normally within a minute has
// exit code -1.
struct ToolRun
{
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

inline ToolRun runTool(const QStringList &args)
{
    QProcess process;
    process.start(QStringLiteral(TIRADEX_BUILD_DIR "/bin/tiradex-tool"), args);
    ToolRun run;
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit)
        return run;
    run.exitCode = process.exitCode();
    run.out = process.readAllStandardOutput();
    run.err = process.readAllStandardError();
    return run;
}
