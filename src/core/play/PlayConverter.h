#pragma once

#include "core/app/Module1.h"

#include <QString>
#include <QStringList>

#include <functional>

namespace tiradex {

// What a conversion did. On failure nothing was created.
struct ConvertResult
{
    QString error;                 // "" on success; otherwise one sentence naming the cause
    bool alreadyConverted = false; // the play folder existed and was left untouched
    int acts = 0;
    int scenes = 0;
    int replies = 0; // reply numbers used (character lines counted)
    bool ok() const { return error.isEmpty(); }
};

// Called now and then with the share of the source text read so far (0..100).
using ConvertProgress = std::function<void(int percent)>;

// The largest play text that ConvertPlay reads, far above any play's size.
constexpr qint64 MaxPlayTextBytes = 64 * 1024 * 1024;

// Converts the open play's source text (AppFolder + PlayTextFile) into its
// scene store under PlayFolder, matching character lines against `characters`
// (the characters list, in file order), and writing reply records with or
// without their line breaks as state.KeepLineBreaks says. An existing
// PlayFolder (of any kind) is never touched. The store is built in a
// temporary folder beside PlayFolder and renamed into place when complete, so
// a failure or interruption leaves no play folder. A text that is missing,
// unreadable or larger than MaxPlayTextBytes, a play beyond 9999 replies,
// 99 acts or 99 scenes in an act, a matched character name that cannot be
// part of a file name, and any failed write fail with an error and leave
// nothing behind. Staging folders of this play left by a conversion whose
// process died are removed first.
ConvertResult ConvertPlay(const Module1 &state, const QStringList &characters,
                          const ConvertProgress &progress = {});

} // namespace tiradex
