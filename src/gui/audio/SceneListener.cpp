#include "gui/audio/SceneListener.h"

#include "core/app/Module1.h"
#include "core/audio/PlaybackOps.h"
#include "platform/Dialogs.h"
#include "platform/audio/MediaDevice.h"
#include "platform/audio/WavePlayback.h"

namespace tiradex {

SceneListener::SceneListener(PlaybackHost &host, Module1 &state, Dialogs &dialogs,
                             MediaDevice &device)
    : m_host(host), m_state(state), m_dialogs(dialogs), m_device(device),
      m_progress(
          device,
          [&host](const ProgressShown &p) { host.showProgress(PlaybackHost::Panel::Reply, p); },
          ProgressFollower::Secondes)
{
    m_progress.setEndAction([this] { nextStep(); });
}

void SceneListener::CmdEcouteGlobalSceneClick()
{
    const SceneCursor &scene = m_host.scene();
    if (!scene.isOpen() || scene.isEmpty() || m_state.PlaybackActive)
        return;
    if (scene.firstRecordedFrom(m_state, scene.index()) < 0) {
        m_dialogs.information(m_host.messageOwner(),
                              QStringLiteral("No file registered from the current reply. Start "
                                             "again at the beginning of the scene."));
        return;
    }
    m_lastReplyStarted = false;
    m_state.PlaybackActive = true;
    m_listening = true;
    m_host.playbackStarted(PlaybackHost::Playback::Scene);
    LectureGlobal();
}

bool SceneListener::skipToRecordedReply()
{
    const SceneCursor &scene = m_host.scene();
    while (!scene.hasRecording(m_state, scene.index())) {
        const int before = scene.index();
        m_host.nextReply();
        if (scene.index() == before)
            return false;
    }
    return true;
}

void SceneListener::LectureGlobal()
{
    const SceneCursor &scene = m_host.scene();
    // A take that cannot be played is passed over at once, as if it had
    // ended; the loop moves one reply on each time, so it ends.
    for (;;) {
        if (scene.firstRecordedFrom(m_state, scene.index()) < 0 || m_lastReplyStarted ||
            !skipToRecordedReply()) {
            EndSceneListening();
            return;
        }
        const bool started = playCurrentReply();
        if (scene.isLast())
            m_lastReplyStarted = true;
        if (started)
            return;
        const int before = scene.index();
        closeTake();
        m_host.nextReply();
        if (scene.index() == before) {
            EndSceneListening();
            return;
        }
    }
}

bool SceneListener::playCurrentReply()
{
    const QString baseName = m_host.currentReply().baseName;
    // UnpackVox clears "temp.vox", "temp.wav" and the duration records first.
    return UnpackVox(m_state, baseName) && OpenWaveDevice(m_device, m_state) && m_progress.start();
}

void SceneListener::closeTake()
{
    m_progress.stop();
    m_device.sendCommand(QStringLiteral("Close"));
    m_host.showProgress(PlaybackHost::Panel::Reply, {1, std::nullopt, QString()});
}

void SceneListener::nextStep()
{
    closeTake();
    m_host.nextReply();
    LectureGlobal();
}

void SceneListener::CmdStopEcouteSceneClick()
{
    if (!m_listening)
        return;
    closeTake();
    EndSceneListening();
}

void SceneListener::EndSceneListening()
{
    m_progress.stop();
    m_device.sendCommand(QStringLiteral("Close"));
    m_state.PlaybackActive = false;
    m_listening = false;
    m_host.showProgress(PlaybackHost::Panel::Reply, {1, std::nullopt, QString()});
    m_host.playbackEnded(PlaybackHost::Playback::Scene);
}

} // namespace tiradex
