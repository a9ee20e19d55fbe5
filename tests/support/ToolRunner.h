#pragma once

#include <QByteArray>
#include <QProcess>
#include <QStringList>

namespace tiradex {

// Runs a program as a separate process, as the checks outside the test suite
// do. A run that does not start, or does not end normally within the
// timeout, has exit code -1.
struct ToolRun
{
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

struct RunOptions
{
    QByteArray input; // written to the standard input, which is then closed
    QString folder;   // working folder; "" for the current one
    int timeoutMs = 60000;
};

inline ToolRun runProgram(const QString &program, const QStringList &args,
                          const RunOptions &options = {})
{
    QProcess process;
    if (!options.folder.isEmpty())
        process.setWorkingDirectory(options.folder);
    process.start(program, args);
    ToolRun run;
    if (!process.waitForStarted(30000))
        return run;
    process.write(options.input);
    process.closeWriteChannel();
    if (!process.waitForFinished(options.timeoutMs) || process.exitStatus() != QProcess::NormalExit)
        return run;
    run.exitCode = process.exitCode();
    run.out = process.readAllStandardOutput();
    run.err = process.readAllStandardError();
    return run;
}

// The built tiradex-tool.
inline ToolRun runTool(const QStringList &args, const RunOptions &options = {})
{
    return runProgram(QStringLiteral(TIRADEX_BUILD_DIR "/bin/tiradex-tool"), args, options);
}

} // namespace tiradex
