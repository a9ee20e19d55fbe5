#include "ToolCommand.h"

#include "core/annotations/NoteFile.h"
#include "core/app/TextCodec.h"

#include <QFile>

#include <cstdio>

namespace tiradex {

namespace {
int runNoteText(const QStringList &args)
{
    if (args.size() != 1) {
        printErr(
            QStringLiteral("note-text: give one note file; see tiradex-tool note-text --help"));
        return 2;
    }
    QString error;
    const std::optional<RichText> note = LoadNote(args.first(), &error);
    if (!note) {
        printErr(QStringLiteral("note-text: ") + error);
        return 1;
    }
    // UTF-8 whatever the locale, one LF after every paragraph.
    const QByteArray out = (note->plainText() + QLatin1Char('\n')).toUtf8();
    if (std::fwrite(out.constData(), 1, size_t(out.size()), stdout) != size_t(out.size()) ||
        std::fflush(stdout) != 0) {
        printErr(QStringLiteral("note-text: cannot write the text"));
        return 1;
    }
    return 0;
}

int runNoteWrite(const QStringList &args)
{
    if (args.size() != 1) {
        printErr(
            QStringLiteral("note-write: give one note file; see tiradex-tool note-write --help"));
        return 2;
    }
    QFile in;
    if (!in.open(stdin, QIODevice::ReadOnly)) {
        printErr(QStringLiteral("note-write: cannot read standard input"));
        return 1;
    }
    const QByteArray bytes = in.read(MaxNoteBytes + 1);
    if (bytes.size() > MaxNoteBytes) {
        printErr(QStringLiteral("note-write: the text is larger than %1 bytes").arg(MaxNoteBytes));
        return 1;
    }
    QString text = DecodeText(bytes);
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    if (text.endsWith(QLatin1Char('\n')))
        text.chop(1); // the line end of the last paragraph
    const QString path = args.first();
    if (NoteTextIsEmpty(text)) {
        // As the editor does on closing: an empty note is no note.
        if (QFile::exists(path) && !QFile::remove(path)) {
            printErr(QStringLiteral("note-write: cannot delete the empty note %1").arg(path));
            return 1;
        }
        return 0;
    }
    QString error;
    if (!SaveNote(path, NoteFromPlainText(text), &error)) {
        printErr(QStringLiteral("note-write: ") + error);
        return 1;
    }
    return 0;
}
} // namespace

extern const ToolCommand kNoteTextCommand = {
    "note-text", "print the plain text of a note file",
    "Usage: tiradex-tool note-text NOTEFILE\n\n"
    "Prints the text of the note NOTEFILE (Rich Text Format, as the note editor\n"
    "reads it) to standard output in UTF-8, each paragraph followed by one LF.\n"
    "Exit status 0; 1 with a message when the file cannot be read.",
    runNoteText};

extern const ToolCommand kNoteWriteCommand = {
    "note-write", "write a note file from plain text",
    "Usage: tiradex-tool note-write NOTEFILE < TEXT\n\n"
    "Writes the UTF-8 text read from standard input (one paragraph per line)\n"
    "to NOTEFILE as the note editor saves a note: Rich Text Format in Verdana\n"
    "12 points, replacing the file atomically. A text of nothing but spaces\n"
    "deletes NOTEFILE, as closing the editor on an empty note does.\n"
    "Exit status 0; 1 with a message on failure.",
    runNoteWrite};

} // namespace tiradex
