#pragma once

// A play converted as the play window converts it on first opening (its
// characters file deciphered, its text converted), then read back through
// the scene store's own readers.

#include "core/app/Module1.h"
#include "core/play/CharactersFile.h"
#include "core/play/PlayConverter.h"
#include "core/play/SceneStore.h"

namespace tiradex {

struct StoredReply
{
    int act = 0;
    int scene = 0;
    QString file; // "_0001_ROSE.txt"
    QString text; // as ReadReplyText gives it, line breaks kept
};

struct ConvertedStore
{
    ConvertResult result; // error also set when the characters file or an index cannot be read
    CharactersList characters;
    QList<int> scenesPerAct;
    QStringList headings; // of head.ini, in order
    QList<StoredReply> replies;
};

// Converts the play selected in `state` (KeepLineBreaks forced on).
inline ConvertedStore ConvertAndRead(Module1 state)
{
    state.KeepLineBreaks = true;
    ConvertedStore out;
    std::optional<CharactersList> list = LoadCharactersFile(state, &out.result.error);
    out.characters = list.value_or(CharactersList());
    if (list)
        out.result = ConvertPlay(state, list->names);
    const auto acts = ReadTreeviewIni(state, out.result.ok() ? &out.result.error : nullptr);
    for (const SceneHeader &scene :
         ReadHeadIni(state, out.result.ok() ? &out.result.error : nullptr)
             .value_or(QList<SceneHeader>()))
        out.headings << scene.header;
    for (const ActRecord &act : acts.value_or(QList<ActRecord>())) {
        out.scenesPerAct << act.sceneCount;
        for (int scene = 1; scene <= act.sceneCount; ++scene) {
            const QString folder = state.SceneFolder(act.act, scene);
            for (const QString &file : ListReplyFiles(folder))
                out.replies.append({act.act, scene, file,
                                    ReadReplyText(folder + '/' + file, true).value_or("<unread>")});
        }
    }
    return out;
}

// The state of a stored play `code` (code.txt, code.dat) in `appFolder`.
inline Module1 StoredPlayState(const QString &appFolder, const QString &code)
{
    Module1 state;
    state.StartUp(appFolder);
    state.SelectPlay({QString(), QString(), code, code + QStringLiteral(".txt"), QString()});
    return state;
}

} // namespace tiradex
