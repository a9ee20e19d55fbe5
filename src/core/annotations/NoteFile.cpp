#include "core/annotations/NoteFile.h"

#include "core/annotations/RtfReader.h"
#include "core/annotations/RtfWriter.h"
#include "core/app/FileIo.h"
#include "core/app/TextCodec.h"

namespace tiradex {

std::optional<RichText> LoadNote(const QString &path, QString *error)
{
    const std::optional<QByteArray> bytes = ReadWholeFile(path, MaxNoteBytes, error);
    if (!bytes)
        return std::nullopt;
    if (std::optional<RichText> text = ReadRtf(*bytes, nullptr))
        return text;
    return NoteFromPlainText(DecodeText(*bytes));
}

bool SaveNote(const QString &path, const RichText &text, QString *error)
{
    return WriteFileAtomically(path, WriteRtf(text), error);
}

bool NoteTextIsEmpty(const QString &plainText)
{
    for (const QChar c : plainText) {
        if (c != QLatin1Char(' '))
            return false;
    }
    return true;
}

RichText NoteFromPlainText(const QString &text)
{
    QString lines = text;
    lines.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    lines.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    RichText note;
    note.append(lines, RichTextRun());
    return note;
}

} // namespace tiradex
