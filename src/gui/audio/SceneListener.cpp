#include "gui/audio/SceneListener.h"

#include "core/app/Module1.h"
#include "core/audio/PlaybackOps.h"
#include "gui/play/FrmAvare.h"
#include "platform/Dialogs.h"
#include "platform/audio/MediaDevice.h"
#include "platform/audio/WavePlayback.h"

#include <QLabel>
#include <QSlider>
#include <QToolButton>

SceneListener::SceneListener(FrmAvare &window, Module1 &state, Dialogs &dialogs,
                             MediaDevice &device)
    : m_window(window), m_state(state), m_dialogs(dialogs), m_device(device),
      m_progress(device, *window.controls().Slider1, *window.controls().LbEgrene,
                 ProgressFollower::Secondes)
{
    m_progress.setEndAction([this] { nextStep(); });
    const FrmAvareUi &ui = window.controls();
    connect(ui.CmdEcouteGlobalScene, &QToolButton::clicked, this,
            &SceneListener::CmdEcouteGlobalSceneClick);
    connect(ui.CmdStopEcouteScene, &QToolButton::clicked, this,
            &SceneListener::CmdStopEcouteSceneClick);
}

void SceneListener::CmdEcouteGlobalSceneClick()
{
    const SceneCursor &scene = m_window.scene();
    if (!scene.isOpen() || scene.isEmpty() || m_state.PlaybackActive)
        return;
    if (scene.firstRecordedFrom(m_state, scene.index()) < 0) {
        m_dialogs.information(&m_window,
                              QStringLiteral("No file registered from the current reply. Start "
                                             "again at the beginning of the scene."));
        return;
    }
    m_lastReplyStarted = false;
    m_window.controls().CmdStopEcouteScene->setEnabled(true);
    m_state.PlaybackActive = true;
    m_listening = true;
    m_window.lockForPlayback();
    LectureGlobal();
}

bool SceneListener::skipToRecordedReply()
{
    const SceneCursor &scene = m_window.scene();
    while (!scene.hasRecording(m_state, scene.index())) {
        const int before = scene.index();
        m_window.CmdPlusClick();
        if (scene.index() == before)
            return false;
    }
    return true;
}

void SceneListener::LectureGlobal()
{
    const SceneCursor &scene = m_window.scene();
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
        m_window.CmdPlusClick();
        if (scene.index() == before) {
            EndSceneListening();
            return;
        }
    }
}

bool SceneListener::playCurrentReply()
{
    const QString baseName = m_window.currentReply().baseName;
    // UnpackVox clears "temp.vox", "temp.wav" and the duration records first.
    return UnpackVox(m_state, baseName) && OpenWaveDevice(m_device, m_state) && m_progress.start();
}

void SceneListener::closeTake()
{
    m_progress.stop();
    m_window.controls().LbEgrene->clear();
    m_device.sendCommand(QStringLiteral("Close"));
    m_window.controls().Slider1->setValue(1);
}

void SceneListener::nextStep()
{
    closeTake();
    m_window.CmdPlusClick();
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
    const FrmAvareUi &ui = m_window.controls();
    ui.LbEgrene->clear();
    ui.Slider1->setValue(1);
    ui.CmdStopEcouteScene->setEnabled(false);
    m_window.unlockAfterPlayback();
}
