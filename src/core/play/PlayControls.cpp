#include "core/play/PlayControls.h"

PlayControlStates DecidePlayControls(const PlayWindowState &state)
{
    PlayControlStates c;
    const bool reply = state.scene == PlayWindowState::Scene::Reply;
    const bool sceneOpen = state.scene != PlayWindowState::Scene::None;
    const bool locked = state.playback || state.navigationLocked;
    const bool ownReply =
        !state.filterCharacter.isEmpty() && state.filterCharacter == state.character;

    c.rehearsalShown = state.rehearsal;
    c.nameRed = reply && ownReply;

    c.mainToolBar = !state.playback;
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
    c.record = !state.playback && reply && (state.filterCharacter.isEmpty() || ownReply);
    c.listen = !locked && reply && state.files.recording;
    c.deleteRecording = c.listen;
    c.listenScene = !locked && reply && state.sceneRecorded;
    c.noteExists = !locked && reply && state.files.note;
    c.photoExists = !locked && reply && state.files.photo;
    return c;
}
