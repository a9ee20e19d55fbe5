#include "ToolCommand.h"

#include "core/transfer/ZipClass.h"
#include "core/transfer/ZipExtractionClass.h"

namespace tiradex {

namespace {
int runZip(const QStringList &args)
{
    if (args.size() < 2) {
        printErr(QStringLiteral("zip: give the archive and at least one file; see tiradex-tool zip "
                                "--help"));
        return 2;
    }
    ZipClass archive;
    for (qsizetype i = 1; i < args.size(); ++i) {
        if (!archive.AddFile(args.at(i))) {
            printErr(QStringLiteral("zip: ") + archive.errorString());
            return 1;
        }
    }
    if (!archive.WriteZip(args.first(), true)) {
        printErr(QStringLiteral("zip: ") + archive.errorString());
        return 1;
    }
    return 0;
}

int runUnzip(const QStringList &args)
{
    QStringList positional;
    bool overwrite = true;
    bool preservePath = true;
    for (const QString &arg : args) {
        if (arg == QStringLiteral("--no-overwrite")) {
            overwrite = false;
        } else if (arg == QStringLiteral("--flat")) {
            preservePath = false;
        } else if (arg.startsWith(QStringLiteral("--"))) {
            printErr(QStringLiteral("unzip: unknown option \"%1\"").arg(arg));
            return 2;
        } else {
            positional.append(arg);
        }
    }
    if (positional.size() != 2) {
        printErr(QStringLiteral("unzip: give the archive and the folder; see tiradex-tool unzip "
                                "--help"));
        return 2;
    }
    ZipExtractionClass reader;
    bool errorRaised = false;
    QObject::connect(&reader, &ZipExtractionClass::Status, &reader,
                     [](const QString &text) { printOut(text); });
    QObject::connect(&reader, &ZipExtractionClass::ZipError, &reader,
                     [&errorRaised](int number, const QString &description) {
                         errorRaised = true;
                         printErr(QStringLiteral("ZipError %1: %2").arg(number).arg(description));
                     });
    if (!reader.OpenZip(positional.at(0)))
        return 1;
    const bool extracted = reader.Extract(positional.at(1), preservePath, overwrite);
    reader.CloseZip();
    return extracted && !errorRaised ? 0 : 1;
}
} // namespace

extern const ToolCommand kZipCommand = {
    "zip", "write a ZIP archive the way recordings are packed",
    "Usage: tiradex-tool zip ARCHIVE FILE...\n\n"
    "Writes ARCHIVE with one deflated member per FILE, in the order given, each\n"
    "stored under its bare file name. An existing ARCHIVE is replaced.\n"
    "Exit status 1 when a file cannot be added or the archive cannot be written.",
    runZip};

extern const ToolCommand kUnzipCommand = {
    "unzip", "extract a ZIP archive the way recordings are unpacked",
    "Usage: tiradex-tool unzip ARCHIVE FOLDER [--no-overwrite] [--flat]\n\n"
    "Extracts every member of ARCHIVE into FOLDER (created when missing),\n"
    "keeping the members' folders unless --flat is given, replacing existing\n"
    "files unless --no-overwrite is given. Each status line goes to standard\n"
    "output, each error to standard error as \"ZipError NUMBER: TEXT\".\n"
    "Exit status 1 when the extraction fails or any error was raised.",
    runUnzip};

} // namespace tiradex
