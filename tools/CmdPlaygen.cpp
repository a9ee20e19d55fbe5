#include "ToolCommand.h"

#include "ShippedPlay.h"

namespace tiradex {

namespace {
int run(const QStringList &args)
{
    QString xmlPath;
    QString code;
    QString outFolder;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString &arg = args.at(i);
        const bool hasValue = i + 1 < args.size();
        if (arg == QStringLiteral("--xml") && hasValue) {
            xmlPath = args.at(++i);
        } else if (arg == QStringLiteral("--code") && hasValue) {
            code = args.at(++i);
        } else if (arg == QStringLiteral("--out") && hasValue) {
            outFolder = args.at(++i);
        } else {
            printErr(QStringLiteral("playgen: unexpected argument \"%1\"").arg(arg));
            return 2;
        }
    }
    if (xmlPath.isEmpty() || code.isEmpty() || outFolder.isEmpty()) {
        printErr(QStringLiteral("playgen: --xml, --code and --out are all needed"));
        return 2;
    }
    QString error;
    const std::optional<GeneratedPlay> play = GeneratePlayFiles(xmlPath, code, outFolder, &error);
    if (!play) {
        printErr(QStringLiteral("playgen: ") + error);
        return 1;
    }
    for (const QString &speaker : play->cast.undescribedSpeakers)
        printErr(
            QStringLiteral("playgen: warning: no description for the speaker %1").arg(speaker));
    printOut(QStringLiteral("%1: %2 characters, %3 lines changed for the conversion")
                 .arg(code)
                 .arg(play->cast.entries.size())
                 .arg(play->fixedLines));
    return 0;
}
} // namespace

extern const ToolCommand kPlaygenCommand = {
    "playgen", "generate a shipped play from the XML edition",
    "Usage: tiradex-tool playgen --xml PLAY.xml --code CODE --out FOLDER\n\n"
    "Reads a play of the XML edition (Moby text, Jon Bosak's markup) and writes\n"
    "FOLDER/CODE.txt, the play text (CR LF line ends), and FOLDER/CODE.dat, its\n"
    "characters file enciphered with the program's fixed key. CODE picks the\n"
    "speaker rules: merchantvenice, kingjohn or verone; other codes match\n"
    "speakers to the cast list by name alone.",
    run};

} // namespace tiradex
