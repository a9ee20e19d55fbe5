#pragma once

#include "core/play/CharactersFile.h"
#include "core/play/PlayConverter.h"
#include "core/play/PlayTree.h"

#include <QString>

#include <functional>

namespace tiradex {

// What opening a play needs besides the state: hooks around the one-time
// conversion, so that the window can show its progress window.
struct PlayLoadHooks
{
    std::function<void()> conversionStarts; // before a conversion runs
    ConvertProgress progress;               // during it
    std::function<void()> conversionEnds;   // after it, whatever its result
};

struct PlayLoadResult
{
    CharactersList characters; // empty on failure
    QList<ActNode> tree;       // empty on failure
    bool converted = false;    // this opening built the scene store
    QString error;             // "" on success; otherwise one message for the user
    bool ok() const { return error.isEmpty(); }
};

// Opens the play selected in `state`: reads its characters file (deciphered in
// memory), converts the play text into the scene store when the play folder
// does not exist yet, and builds the act/scene tree from "treeview.ini".
// Any failure (characters file missing, unreadable or listing no character,
// play text unreadable, conversion failing, "treeview.ini" unreadable) stops
// the opening with one message and an empty tree; a play is never converted
// without a characters list, which would leave a store without replies.
PlayLoadResult LoadPlay(const Module1 &state, const PlayLoadHooks &hooks = {});

} // namespace tiradex
