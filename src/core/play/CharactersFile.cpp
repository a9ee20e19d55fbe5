#include "core/play/CharactersFile.h"

#include "core/app/QuotedRecord.h"
#include "core/app/TextCodec.h"
#include "core/cipher/CryptFiles.h"

namespace tiradex {

CharactersList ParseCharactersText(const QString &text)
{
    CharactersList list;
    for (const QStringList &record : ParseRecords(text)) {
        const QString name = record.value(0);
        if (name.trimmed().isEmpty())
            continue; // an empty name would offer an empty line in every list
        list.names.append(name);
        list.statuses.append(record.value(1));
    }
    return list;
}

QByteArray FormatCharactersFile(const CharactersList &list)
{
    QByteArray bytes;
    for (qsizetype i = 0; i < list.names.size(); ++i)
        bytes += FormatRecord(
            {RecordField::text(list.names.at(i)), RecordField::text(list.statuses.value(i))});
    return bytes;
}

std::optional<CharactersList> LoadCharactersFile(const Module1 &state, QString *error)
{
    const QString path = state.AppFolder + state.CharactersFileName();
    QString cause;
    const std::optional<QByteArray> clear = DecipherFileToMemory(state, path, &cause);
    if (!clear) {
        if (error)
            *error = cause;
        return std::nullopt;
    }
    return ParseCharactersText(DecodeText(*clear));
}

} // namespace tiradex
