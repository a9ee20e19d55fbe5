#pragma once

#include "core/play/SceneStore.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

namespace tiradex {

// One act of the act/scene tree: key "A1", text "ACT 1", and the texts of its
// scene nodes "SCENE 1" .. "SCENE n".
struct ActNode
{
    int act = 0;
    QString key;
    QString text;
    QStringList sceneTexts;
};

// The tree of "treeview.ini"'s records, in record order. A negative scene
// count gives an act without scenes; counts and acts beyond what a scene
// store can hold (99) are cut there.
QList<ActNode> BuildActTree(const QList<ActRecord> &records);

// The scene view's heading of scene (act, scene): "ACT " + act + " - " + the
// header text of the first matching record of "head.ini"; std::nullopt when
// no record matches.
std::optional<QString> SceneHeading(const QList<SceneHeader> &headers, int act, int scene);

// The "Characters :" message: the title, an empty line, then one line
// "name - status" per character, in list order, each ended by CR LF.
QString CharactersMessage(const QStringList &names, const QStringList &statuses);

} // namespace tiradex
