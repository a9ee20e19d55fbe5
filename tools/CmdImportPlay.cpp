#include "ToolCommand.h"

#include "core/app/ImportedPlays.h"
#include "core/playimport/PlayImport.h"

#include <QStandardPaths>

namespace tiradex {

namespace {
int run(const QStringList &args)
{
    QString file;
    QString title;
    bool dryRun = false;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString &arg = args.at(i);
        if (arg == QStringLiteral("--title") && i + 1 < args.size()) {
            title = args.at(++i);
        } else if (arg == QStringLiteral("--dry-run")) {
            dryRun = true;
        } else if (file.isEmpty() && !arg.startsWith(QLatin1String("--"))) {
            file = arg;
        } else {
            printErr(QStringLiteral("import-play: unexpected argument \"%1\"").arg(arg));
            return 2;
        }
    }
    if (file.isEmpty()) {
        printErr(QStringLiteral("import-play: a FILE is needed"));
        return 2;
    }
    PlayImport import = PlayImport::fromFile(file);
    QString error;
    if (!title.isEmpty() && !import.setTitle(title, &error)) {
        printErr(QStringLiteral("import-play: ") + error);
        return 2;
    }
    printOut(import.reportText().chopped(1));
    if (!import.canImport())
        return 1;
    if (dryRun)
        return 0;
    const std::optional<GeneratedPlay> play = import.build(&error);
    const QString appFolder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    const std::optional<PlayCatalogueEntry> entry =
        play
            ? StoreImportedPlay(appFolder, import.title(), play->text, play->charactersFile, &error)
            : std::nullopt;
    if (!entry) {
        printErr(QStringLiteral("import-play: ") + error);
        return 1;
    }
    printOut(QStringLiteral("Stored as %1 in %2").arg(entry->playCode, appFolder));
    return 0;
}
} // namespace

extern const ToolCommand kImportPlayCommand = {
    "import-play", "import a play of your own (play text or XML)",
    "Usage: tiradex-tool import-play FILE [--title TITLE] [--dry-run]\n\n"
    "Reads a play in the play text form (ACT and SCENE headings, each reply\n"
    "opened by its speaker's name alone on a line in capitals) or in the XML\n"
    "form of the public-domain Shakespeare edition, and prints what the import\n"
    "makes of it: title, acts, scenes, replies, characters, and every line it\n"
    "could not place or had to change, with its line number.\n"
    "Without --dry-run the play is stored in the application folder\n"
    "(XDG_DATA_HOME/Tiradex) and listed in the \"Plays\" menu; its code is\n"
    "printed. Exit status 0, or 1 when the report holds errors.",
    run};

} // namespace tiradex
