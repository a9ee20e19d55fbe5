#include "ToolCommand.h"

#include "core/app/Module1.h"
#include "core/transfer/Transfer.h"
#include "core/transfer/VoxCheck.h"

#include <QDir>
#include <QFileInfo>

namespace tiradex {

namespace {

struct TransferArguments
{
    QString play;
    QString folder;
    TransferRequest request;
};

// Reads the arguments of "export" (folder option "--to") or "import"
// ("--from", and "--replace"); false after printing the usage error.
bool parseArguments(const QString &command, const QStringList &args, bool import,
                    TransferArguments *out)
{
    const QString folderOption = import ? QStringLiteral("--from") : QStringLiteral("--to");
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString &arg = args.at(i);
        const bool takesValue = arg == QStringLiteral("--play") || arg == folderOption ||
                                arg == QStringLiteral("--character");
        if (takesValue && i + 1 >= args.size()) {
            printErr(QStringLiteral("%1: %2 needs a value").arg(command, arg));
            return false;
        }
        if (arg == QStringLiteral("--play")) {
            out->play = args.at(++i);
        } else if (arg == folderOption) {
            out->folder = args.at(++i);
        } else if (arg == QStringLiteral("--character")) {
            out->request.characters.append(args.at(++i));
        } else if (arg == QStringLiteral("--vox")) {
            out->request.categories[int(TransferCategory::Recordings)] = true;
        } else if (arg == QStringLiteral("--notes")) {
            out->request.categories[int(TransferCategory::Notes)] = true;
        } else if (arg == QStringLiteral("--photos")) {
            out->request.categories[int(TransferCategory::Photos)] = true;
        } else if (import && arg == QStringLiteral("--replace")) {
            out->request.replace = true;
        } else {
            printErr(QStringLiteral("%1: unknown argument \"%2\"; see tiradex-tool %1 --help")
                         .arg(command, arg));
            return false;
        }
    }
    if (out->play.isEmpty() || out->folder.isEmpty()) {
        printErr(QStringLiteral("%1: give --play and %2; see tiradex-tool %1 --help")
                     .arg(command, folderOption));
        return false;
    }
    return true;
}

// The state of a play folder given on the command line: the application
// folder is the folder that holds it.
Module1 playState(const QString &playFolder)
{
    const QFileInfo info(QDir::cleanPath(QDir(playFolder).absolutePath()));
    Module1 state;
    state.StartUp(info.absolutePath());
    state.PlayCode = info.fileName();
    state.PlayFolder = info.absoluteFilePath();
    return state;
}

TransferHooks printingHooks()
{
    TransferHooks hooks;
    hooks.message = [](const QString &text) { printOut(text); };
    hooks.space = [](const TransferSpace &space) {
        for (const QString &line : SpaceTexts(space))
            printErr(line);
    };
    return hooks;
}

int run(const QStringList &args, bool import)
{
    const QString command = import ? QStringLiteral("import") : QStringLiteral("export");
    TransferArguments arguments;
    if (!parseArguments(command, args, import, &arguments))
        return 2;
    if (!QFileInfo(arguments.play).isDir()) {
        printErr(
            QStringLiteral("%1: the play folder %2 does not exist").arg(command, arguments.play));
        return 2;
    }
    const Module1 state = playState(arguments.play);
    TransferRequest &request = arguments.request;
    request.folder = arguments.folder;
    for (TransferCategory category : TransferCategories) {
        request.files[int(category)] =
            import ? ListMediumFiles(request.folder, category) : ListPlayFiles(state, category);
    }
    const TransferOutcome outcome =
        import ? ImportFiles(state, request, QueryVolumeSpace, CheckMediumVox, printingHooks())
               : ExportFiles(state, request, QueryVolumeSpace, printingHooks());
    return outcome.copied > 0 ? 0 : 1;
}

int runExport(const QStringList &args)
{
    return run(args, false);
}

int runImport(const QStringList &args)
{
    return run(args, true);
}

} // namespace

extern const ToolCommand kExportCommand = {
    "export", "copy a play's recordings, notes and photos to a transfer folder",
    "Usage: tiradex-tool export --play PLAYFOLDER --to FOLDER --character NAME\n"
    "                           [--character NAME ...] [--vox] [--notes] [--photos]\n\n"
    "Copies the recordings (--vox), notes (--notes) and photos (--photos) of the\n"
    "named characters from the play folder into FOLDER, replacing files of the same\n"
    "name there, after checking the free space of FOLDER's volume. Runs the checks\n"
    "of the export window and prints its messages, one per line, on standard output\n"
    "(the space figures go to standard error). Exit status 0 when at least one file\n"
    "was copied, 1 otherwise, 2 on a usage error.",
    runExport};

extern const ToolCommand kImportCommand = {
    "import", "copy recordings, notes and photos from a transfer folder into a play",
    "Usage: tiradex-tool import --play PLAYFOLDER --from FOLDER --character NAME\n"
    "                           [--character NAME ...] [--vox] [--notes] [--photos]\n"
    "                           [--replace]\n\n"
    "Copies the recordings, notes and photos of the named characters from FOLDER\n"
    "into the play folder. Only files named like a reply's files (_0057_HUBERT.vox)\n"
    "are taken; a file the play has is replaced only with --replace; a recording\n"
    "that is not a packaged take is refused. Runs the checks of the import window\n"
    "and prints its messages, one per line, on standard output (the space figures\n"
    "go to standard error). Exit status 0 when at least one file was copied, 1\n"
    "otherwise, 2 on a usage error.",
    runImport};

} // namespace tiradex
