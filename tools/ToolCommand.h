#pragma once

#include <QString>
#include <QStringList>

namespace tiradex {

// One command of tiradex-tool.
struct ToolCommand
{
    const char *name;    // word on the command line, e.g. "convert"
    const char *summary; // one line for the command list
    const char *usage;   // full help text, shown by "tiradex-tool NAME --help"
    // Runs the command with the arguments after its name; returns the exit
    // status. Messages go to standard output and errors to standard error.
    int (*run)(const QStringList &args);
};

// Prints `text` and a line end to standard output / standard error.
void printOut(const QString &text);
void printErr(const QString &text);

// True when `args` asks for help ("--help" or "-h").
bool wantsHelp(const QStringList &args);

} // namespace tiradex
