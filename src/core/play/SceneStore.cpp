#include "SceneStore.h"

#include "app/FileIo.h"
#include "app/QuotedRecord.h"
#include "app/TextCodec.h"

#include <QDir>

#include <algorithm>

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

} // namespace

std::optional<QString> ReadReplyText(const QString &path, bool keepLineBreaks, QString *error)
{
    const std::optional<QByteArray> bytes = ReadWholeFile(path, MaxReplyFileBytes, error);
    if (!bytes)
        return std::nullopt;
    QuotedRecordReader reader(DecodeText(*bytes));
    QString text;
    while (const std::optional<QString> record = reader.readField()) {
        text += trimBlanks(*record);
        if (!keepLineBreaks)
            text += QLatin1Char(' ');
    }
    return text;
}

std::optional<QList<SceneHeader>> ReadHeadIni(const Module1 &state, QString *error)
{
    const auto records = ReadRecordFile(state.HeadIniPath(), error, MaxIndexFileBytes);
    if (!records)
        return std::nullopt;
    QList<SceneHeader> scenes;
    scenes.reserve(records->size());
    for (const QStringList &record : *records)
        scenes.append({fieldNumber(record, 0), fieldNumber(record, 1), record.value(2)});
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

QList<ActRecord> TreeviewFromHead(const QList<SceneHeader> &scenes)
{
    QList<ActRecord> acts;
    int current = 1;
    int count = 0;
    for (const SceneHeader &scene : scenes) {
        if (scene.act == current) {
            ++count;
        } else if (scene.act > current) {
            acts.append({current, count});
            ++current;
            count = 1;
        }
    }
    acts.append({current, count});
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
