#include "ToolCommand.h"

#include "core/app/Module1.h"
#include "core/app/TextCodec.h"
#include "core/cipher/CryptFiles.h"
#include "core/play/CharactersFile.h"
#include "core/play/PlayConverter.h"

#include <QDir>
#include <QFileInfo>

namespace tiradex {

namespace {

struct ConvertArguments
{
    QString text;
    QString characters;
    QString out;
    bool keepLineBreaks = true;
};

// Reads the arguments; on a mistake returns false with the message in *error.
bool parseArguments(const QStringList &args, ConvertArguments *parsed, QString *error)
{
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString &arg = args.at(i);
        QString *target = nullptr;
        if (arg == QLatin1String("--text"))
            target = &parsed->text;
        else if (arg == QLatin1String("--characters"))
            target = &parsed->characters;
        else if (arg == QLatin1String("--out"))
            target = &parsed->out;
        if (target) {
            if (i + 1 >= args.size() || args.at(i + 1).isEmpty()) {
                *error = QStringLiteral("%1 needs a value").arg(arg);
                return false;
            }
            *target = args.at(++i);
        } else if (arg == QLatin1String("--no-line-breaks")) {
            parsed->keepLineBreaks = false;
        } else {
            *error = QStringLiteral("unexpected argument \"%1\"").arg(arg);
            return false;
        }
    }
    const char *missing = parsed->text.isEmpty()         ? "--text"
                          : parsed->characters.isEmpty() ? "--characters"
                          : parsed->out.isEmpty()        ? "--out"
                                                         : nullptr;
    if (missing) {
        *error = QStringLiteral("%1 is missing").arg(QLatin1String(missing));
        return false;
    }
    return true;
}

int run(const QStringList &args)
{
    ConvertArguments arguments;
    QString error;
    if (!parseArguments(args, &arguments, &error)) {
        printErr(QStringLiteral("convert: ") + error +
                 QStringLiteral("; see tiradex-tool convert --help"));
        return 2;
    }

    // The same state as opening the play gives: the text in the application
    // folder, the play folder beside it or wherever --out says.
    const QFileInfo text(arguments.text);
    Module1 state;
    state.StartUp(text.absolutePath());
    state.PlayTextFile = text.fileName();
    state.PlayFolder = QDir::cleanPath(QFileInfo(arguments.out).absoluteFilePath());
    state.KeepLineBreaks = arguments.keepLineBreaks;

    const auto alreadyConverted = [&] {
        printOut(QStringLiteral("The play is already converted: %1 exists and was left untouched.")
                     .arg(state.PlayFolder));
        return 0;
    };
    const QFileInfo out(state.PlayFolder);
    if (out.exists() || out.isSymLink())
        return alreadyConverted();

    const std::optional<QByteArray> clear =
        DecipherFileToMemory(state, arguments.characters, &error);
    if (!clear) {
        printErr(QStringLiteral("convert: ") + error);
        return 1;
    }
    const CharactersList characters = ParseCharactersText(DecodeText(*clear));
    if (characters.names.isEmpty()) {
        printErr(QStringLiteral("convert: the characters file %1 names no character "
                                "(is it enciphered?)")
                     .arg(arguments.characters));
        return 1;
    }

    const ConvertResult result = ConvertPlay(state, characters.names);
    if (!result.ok()) {
        printErr(QStringLiteral("convert: ") + result.error);
        return 1;
    }
    if (result.alreadyConverted)
        return alreadyConverted();
    printOut(QStringLiteral("Converted %1 into %2: %3 acts, %4 scenes, %5 replies.")
                 .arg(text.absoluteFilePath(), state.PlayFolder, QString::number(result.acts),
                      QString::number(result.scenes), QString::number(result.replies)));
    return 0;
}

} // namespace

extern const ToolCommand kConvertCommand = {
    "convert", "convert a play text into its scene store (play folder)",
    "Usage: tiradex-tool convert --text PLAYTEXT --characters CHARSFILE --out PLAYFOLDER\n"
    "                            [--no-line-breaks]\n\n"
    "Cuts the play text PLAYTEXT into the scene store that opening the play\n"
    "makes: PLAYFOLDER with head.ini, treeview.ini, one folder per act and\n"
    "scene holding one file per reply, and empty vox, notes and photos folders.\n"
    "CHARSFILE is the play's enciphered characters file, as shipped; it is\n"
    "deciphered in memory and left as it is. --no-line-breaks runs the lines of\n"
    "a reply together instead of keeping their line breaks.\n\n"
    "The store is built beside PLAYFOLDER and moved into place when complete.\n"
    "When PLAYFOLDER exists, the play is already converted: the command says so,\n"
    "touches nothing and exits with status 0. Exit status 1 when the conversion\n"
    "fails (one line on standard error names the cause; nothing is left\n"
    "behind), 2 for wrong arguments.",
    run};

} // namespace tiradex
