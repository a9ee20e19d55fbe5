#include "gui/audio/ReplyPlayer.h"

#include "core/app/Module1.h"
#include "core/audio/AudioTexts.h"
#include "core/audio/PlaybackOps.h"
#include "gui/play/FrmAvare.h"
#include "platform/Dialogs.h"
#include "platform/audio/MediaDevice.h"
#include "platform/audio/WavePlayback.h"

#include <QFile>
#include <QLabel>
#include <QSlider>
#include <QToolButton>

ReplyPlayer::ReplyPlayer(FrmAvare &window, Module1 &state, Dialogs &dialogs, MediaDevice &device)
    : m_window(window), m_state(state), m_dialogs(dialogs), m_device(device),
      m_progress(device, *window.controls().Slider1, *window.controls().LbEgrene,
                 ProgressFollower::Secondes)
{
    m_progress.setEndAction([this] { EndReplyPlayback(); });
    const FrmAvareUi &ui = window.controls();
    connect(ui.CmdLecture, &QToolButton::clicked, this, &ReplyPlayer::CmdLectureClick);
    connect(ui.CmdStopLecture, &QToolButton::clicked, this, &ReplyPlayer::CmdStopLectureClick);
    connect(ui.CmdDelVox, &QToolButton::clicked, this, &ReplyPlayer::CmdDelVoxClick);
}

void ReplyPlayer::CmdLectureClick()
{
    const CurrentReply reply = m_window.currentReply();
    if (!reply.isValid() || m_state.PlaybackActive)
        return;
    // A failed unpacking leaves no "temp.wav" behind, so the device can
    // never open the take of a reply played before.
    bool started = UnpackVox(m_state, reply.baseName) && OpenWaveDevice(m_device, m_state);
    m_window.controls().CmdStopLecture->setEnabled(true);
    m_window.lockForPlayback();
    m_playing = true;
    started = started && m_progress.start();
    m_state.PlaybackActive = true;
    if (!started) {
        // Without an open, playing device no status update would ever end
        // the playback.
        EndReplyPlayback();
        m_dialogs.information(&m_window, AudioTexts::VoxCannotBePlayed(reply.number));
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
    const FrmAvareUi &ui = m_window.controls();
    ui.Slider1->setValue(1);
    ui.LbEgrene->clear();
    ui.CmdStopLecture->setEnabled(false);
    m_window.unlockAfterPlayback();
    m_playing = false;
    m_state.PlaybackActive = false;
}

void ReplyPlayer::CmdDelVoxClick()
{
    const CurrentReply reply = m_window.currentReply();
    if (!reply.isValid() || m_state.PlaybackActive)
        return;
    const QString question = AudioTexts::DeleteVoxQuestion(reply.number);
    if (m_dialogs.askYesNo(&m_window, question) != Dialogs::Answer::Yes)
        return;
    const QString voxPath = m_state.VoxPath(reply.baseName);
    const bool deleted = QFile::remove(voxPath) || !QFile::exists(voxPath);
    // The buttons follow what is on disk, whether or not the file went.
    m_window.refreshReplyFiles();
    if (!deleted) {
        m_dialogs.information(&m_window, AudioTexts::VoxCannotBeDeleted(reply.number));
    }
}
