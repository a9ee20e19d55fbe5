#pragma once

#include "gui/audio/PlaybackHost.h"
#include "gui/audio/ProgressFollower.h"

#include <QObject>

namespace tiradex {

class Dialogs;
class MediaDevice;
class Module1;

// Listening to the rest of the open scene on MMControl2: from the current
// reply on, each reply that has a recording is shown and played in the
// scene's order; replies without one are passed over. The listening ends
// after the scene's last reply has played, when no later reply has a
// recording, or at CmdStopEcouteScene, always through EndSceneListening.
// A recording that cannot be unpacked or played is passed over like a reply
// without one, so the listening never waits for an end that cannot come.
class SceneListener : public QObject
{
    Q_OBJECT

public:
    SceneListener(PlaybackHost &host, Module1 &state, Dialogs &dialogs, MediaDevice &device);

    // True once the reply playing is the scene's last: its end ends the
    // listening.
    bool LastReplyStarted() const { return m_lastReplyStarted; }

public Q_SLOTS:
    void CmdEcouteGlobalSceneClick();
    void CmdStopEcouteSceneClick();
    // Plays the current reply, moving on to the next recorded one when the
    // current has none, or ends the listening when nothing is left.
    void LectureGlobal();
    void EndSceneListening();

private:
    // Moves on with the play window's next reply until the current
    // reply has a recording; false when the scene's end came first.
    bool skipToRecordedReply();
    // Unpacks, opens and plays the current reply's take; false when it
    // cannot be played.
    bool playCurrentReply();
    // The end action of a take: close it, show the next reply, go on.
    void nextStep();
    void closeTake();

    PlaybackHost &m_host;
    Module1 &m_state;
    Dialogs &m_dialogs;
    MediaDevice &m_device;
    ProgressFollower m_progress;
    bool m_lastReplyStarted = false;
    bool m_listening = false;
};

} // namespace tiradex
