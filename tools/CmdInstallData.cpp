#include "ToolCommand.h"

#include "core/app/ShippedData.h"

#include <QCoreApplication>
#include <QStandardPaths>

namespace tiradex {

namespace {
int run(const QStringList &args)
{
    QString appFolder;
    QString dataFolder = FindShippedDataFolder(QCoreApplication::applicationDirPath());
    for (qsizetype i = 0; i < args.size(); ++i) {
        if (args.at(i) == QStringLiteral("--app-folder") && i + 1 < args.size()) {
            appFolder = args.at(++i);
        } else if (args.at(i) == QStringLiteral("--data") && i + 1 < args.size()) {
            dataFolder = args.at(++i);
        } else {
            printErr(QStringLiteral("install-data: unexpected argument \"%1\"").arg(args.at(i)));
            return 2;
        }
    }
    if (appFolder.isEmpty())
        appFolder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    if (dataFolder.isEmpty()) {
        printErr(QStringLiteral("install-data: the shipped data folder was not found"));
        return 1;
    }
    QString error;
    if (!InstallShippedFiles(dataFolder, appFolder, &error)) {
        printErr(QStringLiteral("install-data: ") + error);
        return 1;
    }
    printOut(QStringLiteral("Application folder ready: ") + appFolder);
    return 0;
}
} // namespace

extern const ToolCommand kInstallDataCommand = {
    "install-data", "copy the shipped plays and sounds into the application folder",
    "Usage: tiradex-tool install-data [--app-folder FOLDER] [--data FOLDER]\n\n"
    "Copies every shipped file (play texts, characters files, del.wav, tiradex.htm)\n"
    "that the application folder lacks. Files that exist there are never\n"
    "overwritten. The application folder defaults to the per-user data folder\n"
    "(~/.local/share/Tiradex).",
    run};

} // namespace tiradex
