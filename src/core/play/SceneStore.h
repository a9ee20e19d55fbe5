#pragma once

#include "core/app/Module1.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

namespace tiradex {

// Reading the scene store that ConvertPlay writes.

struct SceneHeader
{
    int act = 0;
    int scene = 0;
    QString header; // the scene heading line as the source text has it
};

struct ActRecord
{
    int act = 0;
    int sceneCount = 0;
};

// The text of a reply file: each record trimmed of blanks and appended,
// followed by one blank when keepLineBreaks is false. A file in the form that
// ConvertPlay writes is read by its lines, so double quotes inside the text
// are kept; any other file is read field by field as quoted records.
// std::nullopt (and *error) when the file cannot be read.
std::optional<QString> ReadReplyText(const QString &path, bool keepLineBreaks,
                                     QString *error = nullptr);

// The records of PlayFolder/head.ini and PlayFolder/treeview.ini. A head.ini
// line of the written form (act,scene,"header") takes the header up to the
// last double quote of the line. std::nullopt (and *error) when the file
// cannot be read.
std::optional<QList<SceneHeader>> ReadHeadIni(const Module1 &state, QString *error = nullptr);
std::optional<QList<ActRecord>> ReadTreeviewIni(const Module1 &state, QString *error = nullptr);

// The act records that "treeview.ini" holds for a play of `actCount` acts
// whose scene records ("head.ini") are `scenes`: one record per act, 1 to
// `actCount` (at least act 1), each with the number of scene records of that
// act, 0 for an act without scenes. A play with no act gives (1, 0).
QList<ActRecord> TreeviewFromHead(const QList<SceneHeader> &scenes, int actCount);

// The reply text files ("*.txt") of a scene folder, by name (hence by reply
// number). Empty when the folder is missing.
QStringList ListReplyFiles(const QString &sceneFolder);

} // namespace tiradex
