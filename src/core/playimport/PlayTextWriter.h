#pragma once

#include "core/playimport/PlayCast.h"
#include "core/playimport/PlayXml.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>

namespace tiradex {

// Writes a play in the program's play text syntax:
//  - a title page (title, the edition's credit, the cast list, the setting),
//    which the conversion skips because it comes before the first act;
//  - "ACT I" ... act headings and "SCENE I.  Venice. A street." scene
//    headings, the scene's opening stage directions appended to the heading
//    line in square brackets (nothing may stand between a scene heading and
//    its first character line);
//  - per speech a character line holding exactly its characters list entry,
//    then its lines; stage directions in square brackets where they stand:
//    on a line of their own inside a speech or after it (a direction between
//    speeches belongs to the speech before), or inside the line
//    ("[Aside] How like a fawning publican he looks!");
//  - blank lines between speeches, acts and scenes, for the reader.
// Every text line goes through SafeTextLine.

struct WrittenPlayText
{
    QStringList lines;  // without line ends
    int fixedLines = 0; // text lines that SafeTextLine had to change
};

// The whole text. Fails (with *error) when a speaker has no entry in `cast`
// or the play exceeds what the scene store can number (9999 speeches, 99
// acts, 99 scenes in an act).
std::optional<WrittenPlayText> WritePlayText(const PlayDocument &play, const PlayCast &cast,
                                             QString *error);

// The lines joined into UTF-8 bytes, each line ended by CR LF.
QByteArray JoinLinesCrLf(const QStringList &lines);

// A LINE as one text line: pieces joined by one blank, stage directions in
// square brackets.
QString RenderLine(const QList<LinePiece> &pieces);

// "[" + direction + "]".
QString Bracketed(const QString &direction);

// Makes a text line safe for the conversion, which would misread it:
//  - a double quote (the record form has no escape) becomes an apostrophe;
//  - a line starting with "ACT" or "SCENE" in capitals gets one leading
//    blank (the reply reader trims it away again);
//  - a line equal to a characters list entry once trimmed, letter case
//    ignored, gets the edition's dash "--" appended.
// Sets *changed when the line was altered.
QString SafeTextLine(const QString &line, const QStringList &entries, bool *changed = nullptr);

} // namespace tiradex
