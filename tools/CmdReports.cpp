#include "ToolCommand.h"

#include "core/app/Module1.h"
#include "core/app/TextCodec.h"
#include "core/cipher/CryptFiles.h"
#include "core/play/CharactersFile.h"
#include "core/reports/DurationCalculation.h"
#include "core/reports/ReplyStatistics.h"
#include "core/reports/SceneText.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>

#include <cstdio>

namespace tiradex {

namespace {

// The options of a command: "--name value" pairs and bare flags.
struct Options
{
    QHash<QString, QString> values;
    QStringList flags;
};

// Reads `args` against the known value options and flags; on a mistake
// returns false with the message in *error.
bool parseOptions(const QStringList &args, const QStringList &valueNames,
                  const QStringList &flagNames, Options *options, QString *error)
{
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString &arg = args.at(i);
        if (valueNames.contains(arg)) {
            if (i + 1 >= args.size() || args.at(i + 1).isEmpty()) {
                *error = QStringLiteral("%1 needs a value").arg(arg);
                return false;
            }
            options->values.insert(arg, args.at(++i));
        } else if (flagNames.contains(arg)) {
            options->flags.append(arg);
        } else {
            *error = QStringLiteral("unexpected argument \"%1\"").arg(arg);
            return false;
        }
    }
    return true;
}

// The state of an open play whose folder is `playFolder`.
Module1 playState(const QString &playFolder)
{
    Module1 state;
    const QFileInfo folder(playFolder);
    state.StartUp(folder.absolutePath());
    state.PlayFolder = QDir::cleanPath(folder.absoluteFilePath());
    state.KeepLineBreaks = true;
    return state;
}

// The names of the enciphered characters file at `path`, deciphered in memory.
std::optional<QStringList> characterNames(const Module1 &state, const QString &path, QString *error)
{
    const std::optional<QByteArray> clear = DecipherFileToMemory(state, path, error);
    if (!clear)
        return std::nullopt;
    return ParseCharactersText(DecodeText(*clear)).names;
}

// The text exactly as it is, line ends included.
void writeOut(const QString &text)
{
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, std::size_t(bytes.size()), stdout);
}

int usageError(const char *command, const QString &error)
{
    printErr(
        QStringLiteral("%1: %2; see tiradex-tool %1 --help").arg(QLatin1String(command), error));
    return 2;
}

bool requireValues(const Options &options, const QStringList &names, QString *error)
{
    for (const QString &name : names) {
        if (!options.values.contains(name)) {
            *error = QStringLiteral("%1 is missing").arg(name);
            return false;
        }
    }
    return true;
}

int runStats(const QStringList &args)
{
    Options options;
    QString error;
    const QStringList needed{QStringLiteral("--play"), QStringLiteral("--characters")};
    if (!parseOptions(args, needed, {}, &options, &error) ||
        !requireValues(options, needed, &error))
        return usageError("stats", error);
    const Module1 state = playState(options.values.value(QStringLiteral("--play")));
    const auto names =
        characterNames(state, options.values.value(QStringLiteral("--characters")), &error);
    const auto records = names ? LoadStatCache(state, *names, &error) : std::nullopt;
    if (!records) {
        printErr(QStringLiteral("stats: ") + error);
        return 1;
    }
    writeOut(StatisticsReport(*records, *names));
    return 0;
}

int runDurations(const QStringList &args)
{
    Options options;
    QString error;
    const QStringList needed{QStringLiteral("--play")};
    if (!parseOptions(args, needed, {}, &options, &error) ||
        !requireValues(options, needed, &error))
        return usageError("durations", error);
    const Module1 state = playState(options.values.value(QStringLiteral("--play")));
    const std::optional<QString> result = CalculateDurations(
        state, ListVoxFiles(state), DefaultDurationRecordExtractor(), nullptr, &error);
    if (!result) {
        printErr(error);
        return 1;
    }
    writeOut(*result);
    return 0;
}

int runSceneText(const QStringList &args)
{
    Options options;
    QString error;
    const QStringList values{QStringLiteral("--play"), QStringLiteral("--characters"),
                             QStringLiteral("--act"), QStringLiteral("--scene")};
    if (!parseOptions(args, values, {QStringLiteral("--numbers")}, &options, &error) ||
        !requireValues(options, values.mid(0, 3), &error))
        return usageError("scene-text", error);
    bool actOk = false;
    bool sceneOk = true;
    const int act = options.values.value(QStringLiteral("--act")).toInt(&actOk);
    const bool oneScene = options.values.contains(QStringLiteral("--scene"));
    const int scene =
        oneScene ? options.values.value(QStringLiteral("--scene")).toInt(&sceneOk) : 0;
    if (!actOk || !sceneOk || act < 1 || (oneScene && scene < 1))
        return usageError("scene-text", QStringLiteral("--act and --scene take numbers from 1"));
    const Module1 state = playState(options.values.value(QStringLiteral("--play")));
    const auto names =
        characterNames(state, options.values.value(QStringLiteral("--characters")), &error);
    if (!names) {
        printErr(QStringLiteral("scene-text: ") + error);
        return 1;
    }
    SceneTextOptions textOptions;
    textOptions.names = *names;
    textOptions.replyNumbers = options.flags.contains(QStringLiteral("--numbers"));
    writeOut(oneScene ? SceneWindowText(state, act, scene, textOptions).text
                      : ActWindowText(state, act, textOptions).text);
    return 0;
}

} // namespace

extern const ToolCommand kStatsCommand{
    "stats", "print the reply statistics of a converted play (building its stat.txt)",
    "Usage: tiradex-tool stats --play PLAYFOLDER --characters CHARSFILE\n\n"
    "Builds PLAYFOLDER/stat.txt when it is missing, as the statistics window does, and\n"
    "prints the report as the window shows it (CR LF line ends). CHARSFILE is the play's\n"
    "enciphered characters file; it is deciphered in memory only.",
    runStats};

extern const ToolCommand kDurationsCommand{
    "durations", "print the duration calculation of a play's recordings",
    "Usage: tiradex-tool durations --play PLAYFOLDER\n\n"
    "Runs the duration calculation as the durations window does (its working folder\n"
    "is PLAYFOLDER/temp) and prints the result (CR LF line ends). With no vox file it\n"
    "says so on standard error and exits with status 1.",
    runDurations};

extern const ToolCommand kSceneTextCommand{
    "scene-text", "print the text of a scene or an act as the text windows show it",
    "Usage: tiradex-tool scene-text --play PLAYFOLDER --characters CHARSFILE --act N\n"
    "                               [--scene M] [--numbers]\n\n"
    "Prints the plain text of the scene window (with --scene) or of the act window\n"
    "(without); --numbers shows the reply numbers on the name lines. CHARSFILE is the\n"
    "play's enciphered characters file; it is deciphered in memory only.",
    runSceneText};

} // namespace tiradex
