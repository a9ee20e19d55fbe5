#pragma once

#include "core/play/SceneCursor.h"

#include <QString>

namespace tiradex {

// What the play window's controls depend on, in one value.
struct PlayWindowState
{
    enum class Scene
    {
        None,  // no scene open (a fresh window, or an act node picked)
        Empty, // a scene open that holds no reply
        Reply  // a scene open with one of its replies shown
    };
    Scene scene = Scene::None;
    // What plays on the reply panel: navigation is locked meanwhile.
    enum class Playback
    {
        None,
        Reply, // the reply shown
        Scene  // the rest of the scene, reply after reply
    };
    ReplyFiles files;           // the shown reply's recording, note and photo
    bool sceneRecorded = false; // some reply of the open scene has a recording
    QString filterCharacter;    // the character the actor plays; empty for no filter
    QString character;          // the shown reply's character
    Playback playback = Playback::None;
    bool rehearsal = false;        // the rehearsal panel and bar are shown
    bool navigationLocked = false; // the recorder is open: navigation and the reply commands locked
};

// The enabled and visible state of every play-window control that depends on
// the state. The rehearsal panel's own buttons follow the rehearsal engine.
struct PlayControlStates
{
    // Main tool bar (`Picture2`) as a whole, and its buttons.
    bool mainToolBar = true;
    bool filter = true;      // CmdFiltres
    bool rehearse = false;   // CmdRepetition
    bool note = false;       // CmdCommentaire
    bool photo = false;      // CmdPhoto
    bool printScene = false; // CmdPrintScene
    bool printAct = false;   // CmdPrintActe
    bool sceneTools = true;  // CmdStat, CmdCalculVox, CmdTransfertVox,
                             // CmdRecupVox, CmdVoirListeNotesPhotos

    bool tree = true;             // TreeView1
    bool navigation = false;      // CmdDebut, CmdMoins, CmdPlus, CmdFin
    bool replyNumbers = true;     // ComboNumFichier
    bool record = false;          // CmdRecordShow
    bool listen = false;          // CmdLecture
    bool deleteRecording = false; // CmdDelVox
    bool listenScene = false;     // CmdEcouteGlobalScene
    bool stopReply = false;       // CmdStopLecture
    bool stopScene = false;       // CmdStopEcouteScene
    bool noteExists = false;      // CmdNoteExiste
    bool photoExists = false;     // CmdPhotoExiste

    // Which panel and bar are shown: the reply panel and main tool bar, or the
    // rehearsal's (PictRepetition, PictBarRepet).
    bool rehearsalShown = false;
    // LbNom is red for the filtered character's reply, black otherwise.
    bool nameRed = false;

    bool operator==(const PlayControlStates &) const = default;
};

// The play window's control states for `state`. Recording is allowed with no
// filter or on the filtered character's reply. A playback locks the tree, the
// navigation, the reply-number box, the main tool bar and the reply's file
// buttons; the recorder locks the same but the main tool bar's frame, and
// disables each of its buttons instead, leaving the record button alone.
PlayControlStates DecidePlayControls(const PlayWindowState &state);

} // namespace tiradex
