#include "gui/audio/ReplyPlayer.h"

#include "core/app/Module1.h"
#include "core/audio/AudioTexts.h"
#include "core/audio/PlaybackOps.h"
#include "platform/Dialogs.h"
#include "platform/audio/MediaDevice.h"
#include "platform/audio/WavePlayback.h"

#include <QFile>

namespace tiradex {

ReplyPlayer::ReplyPlayer(PlaybackHost &host, Module1 &state, Dialogs &dialogs, MediaDevice &device)
    : m_host(host), m_state(state), m_dialogs(dialogs), m_device(device),
      m_progress(
          device,
          [&host](const ProgressShown &p) { host.showProgress(PlaybackHost::Panel::Reply, p); },
          ProgressFollower::Secondes)
{
    m_progress.setEndAction([this] { EndReplyPlayback(); });
}

void ReplyPlayer::CmdLectureClick()
{
    const CurrentReply reply = m_host.currentReply();
    if (!reply.isValid() || m_state.PlaybackActive)
        return;
    // A failed unpacking leaves no "temp.wav" behind, so the device can
    // never open the take of a reply played before.
    bool started = UnpackVox(m_state, reply.baseName) && OpenWaveDevice(m_device, m_state);
    m_host.playbackStarted(PlaybackHost::Playback::Reply);
    m_playing = true;
    started = started && m_progress.start();
    m_state.PlaybackActive = true;
    if (!started) {
        // Without an open, playing device no status update would ever end
        // the playback.
        EndReplyPlayback();
        m_dialogs.information(m_host.messageOwner(), AudioTexts::VoxCannotBePlayed(reply.number));
    }
}

void ReplyPlayer::CmdStopLectureClick()
{
    if (m_playing)
        EndReplyPlayback();
}

void ReplyPlayer::EndReplyPlayback()
{
    m_progress.stop();
    m_device.sendCommand(QStringLiteral("Close"));
    m_host.showProgress(PlaybackHost::Panel::Reply, {1, std::nullopt, QString()});
    m_playing = false;
    m_state.PlaybackActive = false;
    m_host.playbackEnded(PlaybackHost::Playback::Reply);
}

void ReplyPlayer::CmdDelVoxClick()
{
    const CurrentReply reply = m_host.currentReply();
    if (!reply.isValid() || m_state.PlaybackActive)
        return;
    const QString question = AudioTexts::DeleteVoxQuestion(reply.number);
    if (m_dialogs.askYesNo(m_host.messageOwner(), question) != Dialogs::Answer::Yes)
        return;
    const QString voxPath = m_state.VoxPath(reply.baseName);
    const bool deleted = QFile::remove(voxPath) || !QFile::exists(voxPath);
    // The buttons follow what is on disk, whether or not the file went.
    m_host.refreshReplyFiles();
    if (!deleted) {
        m_dialogs.information(m_host.messageOwner(), AudioTexts::VoxCannotBeDeleted(reply.number));
    }
}

} // namespace tiradex
