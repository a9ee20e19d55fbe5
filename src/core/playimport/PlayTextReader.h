#pragma once

#include "core/playimport/PlayXml.h"

#include <QList>
#include <QString>

namespace tiradex {

// One line of a source that the import reports: a line it could not place,
// or a choice it made that the user should see.
struct ImportIssue
{
    enum Severity
    {
        Note, // placed or mended; the play can be imported
        Error // the play cannot be imported as it stands
    };
    int line = 0; // 1-based line of the source; 0 for the whole file
    Severity severity = Note;
    QString text;
};

struct PlayTextRead
{
    PlayDocument play;
    QString titleLine; // the first line before the first act, "" when none
    QList<ImportIssue> issues;
};

// Reads a play typed in the play text form:
//  - "ACT ..." and "SCENE ..." headings (in capitals, leading blanks
//    allowed); a line "PROLOGUE", "EPILOGUE" or "INDUCTION" alone opens a
//    scene of its own, and before the first act it opens the first act;
//  - a speaker line: a name alone on its line in capitals (at least two
//    letters, no small letter, not in brackets, at most 80 characters; a
//    final "." or ":" is dropped), which opens a reply;
//  - any other line is text: the reply's when one is open, else a stage
//    direction of the scene.
// Lines before the first act are not part of the play (the first one is
// offered as the title). An act whose replies come before any scene heading
// gets a scene of its own. Replies past the 9999th, acts past the 99th and
// scenes past the 99th of an act are errors; their text is not kept.
PlayTextRead ReadPlayText(const QString &text);

// True when `line` (trimmed) reads as a speaker line of the play text form.
bool IsSpeakerLine(const QString &trimmed);

} // namespace tiradex
