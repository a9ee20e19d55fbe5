#include "core/play/PlayTextCheck.h"

#include "core/app/FileIo.h"
#include "core/app/TextCodec.h"
#include "core/play/PlayConverter.h"

namespace tiradex {

namespace {
// Blanks are the space character only, as in the play text's rules.
QString trimBlanks(const QString &text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text.at(begin) == QLatin1Char(' '))
        ++begin;
    while (end > begin && text.at(end - 1) == QLatin1Char(' '))
        --end;
    return text.mid(begin, end - begin);
}
} // namespace

QString CheckPlayTextLines(const QStringList &lines, const QStringList &characters)
{
    QStringList names;
    for (const QString &name : characters) {
        const QString upper = trimBlanks(name).toUpper();
        if (!upper.isEmpty()) // an empty name would flag every line
            names.append(upper);
    }
    const QString crlf = QStringLiteral("\r\n");
    QString report;
    bool started = false;
    int act = 1;
    int scene = 1;
    QString actLabel;
    QString sceneLabel;
    for (const QString &line : lines) {
        if (line.startsWith(QLatin1String("ACT")))
            started = true;
        const QString trimmed = trimBlanks(line);
        if (!started || trimmed.isEmpty())
            continue;
        if (line.startsWith(QLatin1String("ACT"))) {
            actLabel = QStringLiteral("ACT ") + Module1::PadNumber(act++, 2);
            scene = 1;
        } else if (line.startsWith(QLatin1String("SCENE"))) {
            sceneLabel = QStringLiteral("SCENE ") + Module1::PadNumber(scene++, 2);
        } else {
            const QString upper = trimmed.toUpper();
            for (const QString &name : names) {
                if (!upper.startsWith(name))
                    continue;
                if (trimmed.size() > name.size())
                    report += actLabel + crlf + sceneLabel + crlf + line + crlf + crlf;
                break;
            }
        }
    }
    return report;
}

std::optional<QString> CheckPlayText(const Module1 &state, const QStringList &characters,
                                     QString *error)
{
    const std::optional<QByteArray> bytes =
        ReadWholeFile(state.AppFolder + state.PlayTextFile, MaxPlayTextBytes, error);
    if (!bytes)
        return std::nullopt;
    QString text = DecodeText(*bytes);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    QStringList lines = text.split(QLatin1Char('\n'));
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast(); // the end of the last line is no line of its own
    return CheckPlayTextLines(lines, characters);
}

} // namespace tiradex
