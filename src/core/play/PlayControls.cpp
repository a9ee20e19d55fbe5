#include "core/play/PlayControls.h"

namespace tiradex {

PlayControlStates DecidePlayControls(const PlayWindowState &state)
{
    PlayControlStates c;
    const bool reply = state.scene == PlayWindowState::Scene::Reply;
    const bool sceneOpen = state.scene != PlayWindowState::Scene::None;
    const bool playback = state.playback != PlayWindowState::Playback::None;
    const bool locked = playback || state.navigationLocked;
    const bool ownReply =
        !state.filterCharacter.isEmpty() && state.filterCharacter == state.character;

    c.rehearsalShown = state.rehearsal;
    c.nameRed = reply && ownReply;

    c.mainToolBar = !playback;
    const bool tools = !state.navigationLocked;
    c.filter = tools;
    c.sceneTools = tools;
    c.rehearse = tools && reply;
    c.note = tools && reply;
    c.photo = tools && reply;
    c.printScene = tools && sceneOpen;
    c.printAct = tools && sceneOpen;

    c.tree = !locked && !state.rehearsal;
    c.replyNumbers = !locked;
    c.navigation = !locked && reply;
    c.record = !playback && reply && (state.filterCharacter.isEmpty() || ownReply);
    c.listen = !locked && reply && state.files.recording;
    c.deleteRecording = c.listen;
    c.listenScene = !locked && reply && state.sceneRecorded;
    c.stopReply = state.playback == PlayWindowState::Playback::Reply;
    c.stopScene = state.playback == PlayWindowState::Playback::Scene;
    c.noteExists = !locked && reply && state.files.note;
    c.photoExists = !locked && reply && state.files.photo;
    return c;
}

} // namespace tiradex
