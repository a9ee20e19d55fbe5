#pragma once

#include "gui/audio/PlaybackHost.h"
#include "gui/audio/ProgressFollower.h"

#include <QObject>

namespace tiradex {

class Dialogs;
class MediaDevice;
class Module1;

// The reply panel's playback of the current reply's recording on
// MMControl1, and the deletion of that recording.
//
// Idle: the device closed, PlaybackActive false, the progress at rest.
// Playing: from CmdLecture until the take has been heard to its end or
// CmdStopLecture; both end through EndReplyPlayback. A recording that
// cannot be unpacked or played (gone, damaged, holding no take) is reported
// in one short message and the panel stays Idle, with the buttons set from
// the recordings on disk.
class ReplyPlayer : public QObject
{
    Q_OBJECT

public:
    ReplyPlayer(PlaybackHost &host, Module1 &state, Dialogs &dialogs, MediaDevice &device);

public Q_SLOTS:
    void CmdLectureClick();
    void CmdStopLectureClick();
    // The one end of a playback, natural or stopped: back to Idle.
    void EndReplyPlayback();
    // Asks, then deletes the current reply's vox file (note and photo stay).
    void CmdDelVoxClick();

private:
    PlaybackHost &m_host;
    Module1 &m_state;
    Dialogs &m_dialogs;
    MediaDevice &m_device;
    ProgressFollower m_progress;
    bool m_playing = false;
};

} // namespace tiradex
