#pragma once

#include "core/annotations/RichText.h"

#include <QString>

#include <optional>

namespace tiradex {

// A note file larger than this is refused as damaged (a note is typed text).
constexpr qint64 MaxNoteBytes = 64 * 1024 * 1024;

// The note in the file at `path`. A Rich Text Format file is read by
// ReadRtf; any other file (a note saved as plain text by another program)
// is taken as text, UTF-8 or Windows-1252. Fails when the file is missing,
// unreadable or larger than MaxNoteBytes.
std::optional<RichText> LoadNote(const QString &path, QString *error);

// Writes `text` to `path` as a Rich Text Format note in Verdana 12 points,
// replacing the file atomically: on failure the previous note is intact.
bool SaveNote(const QString &path, const RichText &text, QString *error);

// A note whose plain text holds nothing but spaces is empty and is deleted
// rather than saved; tabs and line breaks count as content.
bool NoteTextIsEmpty(const QString &plainText);

// Plain text as a note: one run, no format. CR LF and CR become paragraph ends.
RichText NoteFromPlainText(const QString &text);

} // namespace tiradex
