#include "core/play/SceneStore.h"

#include "core/app/FileIo.h"
#include "core/app/QuotedRecord.h"
#include "core/app/TextCodec.h"

#include <QDir>
#include <QRegularExpression>

#include <algorithm>

namespace tiradex {

namespace {

// A reply file holds a few lines; anything this large is not one.
constexpr qint64 MaxReplyFileBytes = 4 * 1024 * 1024;
// head.ini has one line per scene (at most 99 * 99 of them).
constexpr qint64 MaxIndexFileBytes = 16 * 1024 * 1024;

// Only the blank character is trimmed: the CR LF that ends a record's text
// when line breaks are kept stays part of it.
QString trimBlanks(const QString &text)
{
    qsizetype start = 0;
    qsizetype end = text.size();
    while (start < end && text.at(start) == QLatin1Char(' '))
        ++start;
    while (end > start && text.at(end - 1) == QLatin1Char(' '))
        --end;
    return text.mid(start, end - start);
}

int fieldNumber(const QStringList &record, int index)
{
    return index < record.size() ? Module1::LeadingNumber(record.at(index)) : 0;
}

// One line of a text and the line end that closed it ("\r\n", "\n" or ""
// for a last line without one).
struct Line
{
    QString text;
    QString end;
};

QList<Line> splitLines(const QString &all)
{
    QList<Line> lines;
    qsizetype pos = 0;
    while (pos < all.size()) {
        qsizetype next = all.indexOf(QLatin1Char('\n'), pos);
        const qsizetype stop = next < 0 ? all.size() : next + 1;
        qsizetype textEnd = next < 0 ? all.size() : next;
        if (textEnd > pos && all.at(textEnd - 1) == QLatin1Char('\r'))
            --textEnd;
        lines.append({all.mid(pos, textEnd - pos), all.mid(textEnd, stop - textEnd)});
        pos = stop;
    }
    return lines;
}

// The record texts of a reply file in one of the two forms that the
// conversion writes: with line breaks kept, each record is a line holding a
// double quote and the text, then a line holding only a double quote;
// without, each line is the text between two double quotes. Taking a
// record's text by its lines keeps a double quote inside the text, which
// the quoted-record reader takes for the closing one. std::nullopt when the
// file has neither form.
std::optional<QStringList> convertedRecords(const QString &all)
{
    const QList<Line> lines = splitLines(all);
    const QString quote = QStringLiteral("\"");
    bool pairs = !lines.isEmpty() && lines.size() % 2 == 0;
    for (qsizetype i = 0; pairs && i < lines.size(); i += 2)
        pairs = lines.at(i).text.startsWith(quote) && lines.at(i + 1).text == quote;
    bool quotedLines = !lines.isEmpty();
    for (qsizetype i = 0; quotedLines && i < lines.size(); ++i) {
        const QString &text = lines.at(i).text;
        quotedLines = text.size() >= 2 && text.startsWith(quote) && text.endsWith(quote);
    }
    if (!pairs && !quotedLines)
        return std::nullopt;
    QStringList records;
    for (qsizetype i = 0; i < lines.size(); i += pairs ? 2 : 1) {
        const Line &line = lines.at(i);
        records.append(pairs ? line.text.mid(1) + line.end
                             : line.text.mid(1, line.text.size() - 2));
    }
    return records;
}

} // namespace

std::optional<QString> ReadReplyText(const QString &path, bool keepLineBreaks, QString *error)
{
    const std::optional<QByteArray> bytes = ReadWholeFile(path, MaxReplyFileBytes, error);
    if (!bytes)
        return std::nullopt;
    const QString all = DecodeText(*bytes);
    std::optional<QStringList> records = convertedRecords(all);
    if (!records) {
        // Any other file: its fields wherever they stand.
        records.emplace();
        QuotedRecordReader reader(all);
        while (const std::optional<QString> field = reader.readField())
            records->append(*field);
    }
    QString text;
    for (const QString &record : *records) {
        text += trimBlanks(record);
        if (!keepLineBreaks)
            text += QLatin1Char(' ');
    }
    return text;
}

std::optional<QList<SceneHeader>> ReadHeadIni(const Module1 &state, QString *error)
{
    const std::optional<QByteArray> bytes =
        ReadWholeFile(state.HeadIniPath(), MaxIndexFileBytes, error);
    if (!bytes)
        return std::nullopt;
    // The header runs to the last double quote of its line, so a heading
    // that holds double quotes reads back whole.
    static const QRegularExpression written(QStringLiteral("^([0-9]+),([0-9]+),\"(.*)\"$"));
    QList<SceneHeader> scenes;
    for (const Line &line : splitLines(DecodeText(*bytes))) {
        const QRegularExpressionMatch match = written.match(line.text);
        if (match.hasMatch()) {
            scenes.append({Module1::LeadingNumber(match.captured(1)),
                           Module1::LeadingNumber(match.captured(2)), match.captured(3)});
            continue;
        }
        for (const QStringList &record : ParseRecords(line.text))
            scenes.append({fieldNumber(record, 0), fieldNumber(record, 1), record.value(2)});
    }
    return scenes;
}

std::optional<QList<ActRecord>> ReadTreeviewIni(const Module1 &state, QString *error)
{
    const auto records = ReadRecordFile(state.TreeviewIniPath(), error, MaxIndexFileBytes);
    if (!records)
        return std::nullopt;
    QList<ActRecord> acts;
    acts.reserve(records->size());
    for (const QStringList &record : *records)
        acts.append({fieldNumber(record, 0), fieldNumber(record, 1)});
    return acts;
}

QList<ActRecord> TreeviewFromHead(const QList<SceneHeader> &scenes, int actCount)
{
    QList<ActRecord> acts;
    for (int act = 1; act <= std::max(actCount, 1); ++act)
        acts.append({act, 0});
    for (const SceneHeader &scene : scenes) {
        if (scene.act >= 1 && scene.act <= acts.size())
            ++acts[scene.act - 1].sceneCount;
    }
    return acts;
}

QStringList ListReplyFiles(const QString &sceneFolder)
{
    QStringList names =
        QDir(sceneFolder).entryList({QStringLiteral("*.txt")}, QDir::Files, QDir::NoSort);
    // Plain code-unit order: the names start with "_" and the 4-digit reply
    // number, so this is reply order whatever the locale.
    std::sort(names.begin(), names.end());
    return names;
}

} // namespace tiradex
