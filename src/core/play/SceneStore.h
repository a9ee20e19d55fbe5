#pragma once

#include "core/app/Module1.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

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

// The act records that "treeview.ini" holds for the scene records of
// "head.ini": scenes are counted per act while the act number stays the same
// and a record of a greater act closes the current one (the next act is then
// the current act plus one, whatever the record says); records of a smaller
// act are skipped. The last act is always closed, so no scene gives (1, 0).
QList<ActRecord> TreeviewFromHead(const QList<SceneHeader> &scenes);

// The reply text files ("*.txt") of a scene folder, by name (hence by reply
// number). Empty when the folder is missing.
QStringList ListReplyFiles(const QString &sceneFolder);
