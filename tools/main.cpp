// tiradex-tool: command-line front end on the core library.

#include "ToolCommand.h"

#include <QCoreApplication>

#include <cstdio>

namespace tiradex {

// Each command lives in its own Cmd*.cpp file.
extern const ToolCommand kInstallDataCommand;
extern const ToolCommand kPlaygenCommand;
extern const ToolCommand kEncryptCommand;
extern const ToolCommand kDecryptCommand;
extern const ToolCommand kConvertCommand;
extern const ToolCommand kZipCommand;
extern const ToolCommand kUnzipCommand;
extern const ToolCommand kGenSoundCommand;
extern const ToolCommand kImportPlayCommand;
extern const ToolCommand kExportCommand;
extern const ToolCommand kImportCommand;
extern const ToolCommand kStatsCommand;
extern const ToolCommand kDurationsCommand;
extern const ToolCommand kSceneTextCommand;
extern const ToolCommand kNoteTextCommand;
extern const ToolCommand kNoteWriteCommand;
extern const ToolCommand kPracticeTrackCommand;

namespace {
// One command per line, so that adding one stays a one-line change.
// clang-format off
const ToolCommand *const kCommands[] = {
    &kInstallDataCommand,
    &kPlaygenCommand,
    &kEncryptCommand,
    &kDecryptCommand,
    &kConvertCommand,
    &kZipCommand,
    &kUnzipCommand,
    &kGenSoundCommand,
    &kImportPlayCommand,
    &kExportCommand,
    &kImportCommand,
    &kStatsCommand,
    &kDurationsCommand,
    &kSceneTextCommand,
    &kNoteTextCommand,
    &kNoteWriteCommand,
    &kPracticeTrackCommand,
};
// clang-format on

void printUsage()
{
    printOut(QStringLiteral("Usage: tiradex-tool COMMAND [ARGUMENTS]\n\nCommands:"));
    for (const ToolCommand *command : kCommands)
        printOut(QStringLiteral("  %1  %2")
                     .arg(QString::fromLatin1(command->name).leftJustified(12),
                          QString::fromUtf8(command->summary)));
    printOut(QStringLiteral("\n\"tiradex-tool COMMAND --help\" describes one command."));
}
} // namespace

void printOut(const QString &text)
{
    std::fputs(text.toLocal8Bit().constData(), stdout);
    std::fputc('\n', stdout);
}

void printErr(const QString &text)
{
    std::fputs(text.toLocal8Bit().constData(), stderr);
    std::fputc('\n', stderr);
}

bool wantsHelp(const QStringList &args)
{
    return args.contains(QStringLiteral("--help")) || args.contains(QStringLiteral("-h"));
}

} // namespace tiradex

using namespace tiradex;

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("Tiradex"));
    QStringList args = app.arguments().mid(1);
    if (args.isEmpty() || args.first() == QStringLiteral("--help") ||
        args.first() == QStringLiteral("-h")) {
        printUsage();
        return args.isEmpty() ? 2 : 0;
    }
    const QString name = args.takeFirst();
    for (const ToolCommand *command : kCommands) {
        if (name == QLatin1String(command->name)) {
            if (wantsHelp(args)) {
                printOut(QString::fromUtf8(command->usage));
                return 0;
            }
            return command->run(args);
        }
    }
    printErr(
        QStringLiteral("tiradex-tool: unknown command \"%1\"; see tiradex-tool --help").arg(name));
    return 2;
}
