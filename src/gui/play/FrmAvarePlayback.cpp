// The play window's side of the reply playback, the scene listening and the
// rehearsal: its buttons and keys wired to them, and what they report shown
// on its controls.

#include "gui/play/FrmAvare.h"

#include "gui/audio/ReplyPlayer.h"
#include "gui/audio/SceneListener.h"
#include "gui/rehearsal/Rehearsal.h"

#include "platform/audio/MediaDevice.h"
#include "platform/audio/SoundSystem.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QToolButton>

namespace tiradex {

void FrmAvare::setSoundSystem(SoundSystem *sound)
{
    m_sound = sound;
    m_services.sound = sound;
    if (!sound || m_replyPlayer)
        return;
    for (std::size_t i = 0; i < m_media.size(); ++i) {
        m_media[i] = sound->createMediaDevice();
        m_media[i]->setObjectName(QStringLiteral("MMControl%1").arg(i + 1));
    }
    m_replyPlayer = std::make_unique<ReplyPlayer>(*this, m_state, m_dialogs, *m_media[0]);
    m_sceneListener = std::make_unique<SceneListener>(*this, m_state, m_dialogs, *m_media[1]);
    m_rehearsal = std::make_unique<Rehearsal>(*this, m_state, m_services, *m_media[2], *m_media[3],
                                              *ui.FrameRepetition, this);
    connectSoundControls();
}

void FrmAvare::connectSoundControls()
{
    ReplyPlayer *player = m_replyPlayer.get();
    connect(ui.CmdLecture, &QToolButton::clicked, player, &ReplyPlayer::CmdLectureClick);
    connect(ui.CmdStopLecture, &QToolButton::clicked, player, &ReplyPlayer::CmdStopLectureClick);
    connect(ui.CmdDelVox, &QToolButton::clicked, player, &ReplyPlayer::CmdDelVoxClick);
    SceneListener *listener = m_sceneListener.get();
    connect(ui.CmdEcouteGlobalScene, &QToolButton::clicked, listener,
            &SceneListener::CmdEcouteGlobalSceneClick);
    connect(ui.CmdStopEcouteScene, &QToolButton::clicked, listener,
            &SceneListener::CmdStopEcouteSceneClick);
    Rehearsal *rehearsal = m_rehearsal.get();
    connect(ui.CmdRepetition, &QToolButton::clicked, rehearsal, &Rehearsal::CmdRepetitionClick);
    connect(ui.CmdDemarRepetition, &QPushButton::clicked, rehearsal,
            &Rehearsal::CmdDemarRepetitionClick);
    connect(ui.CmdContinuerRepetition, &QPushButton::clicked, rehearsal,
            &Rehearsal::CmdContinuerRepetitionClick);
    connect(ui.CmdStopGlobalRepetition, &QPushButton::clicked, rehearsal,
            &Rehearsal::CmdStopGlobalRepetitionClick);
    connect(ui.CmdEcouter, &QPushButton::clicked, rehearsal, &Rehearsal::CmdEcouterClick);
    connect(ui.CmdStopLectureRepetition, &QPushButton::clicked, rehearsal,
            &Rehearsal::CmdStopLectureRepetitionClick);
    connect(ui.CmdVoirTexte, &QPushButton::clicked, rehearsal, &Rehearsal::CmdVoirTexteClick);
    connect(ui.CheckJuskaFinRepetition, &QCheckBox::toggled, rehearsal,
            &Rehearsal::CheckJuskaFinRepetitionToggled);
    connect(ui.ComboNumFichierRepetition, &QComboBox::activated, rehearsal,
            &Rehearsal::ComboNumFichierRepetitionPick);
    connect(ui.CmdFinRepetition, &QToolButton::clicked, rehearsal,
            &Rehearsal::CmdFinRepetitionClick);
}

void FrmAvare::playbackStarted(Playback playback)
{
    m_playback = playback == Playback::Reply ? PlayWindowState::Playback::Reply
                                             : PlayWindowState::Playback::Scene;
    applyControls();
}

void FrmAvare::playbackEnded(Playback)
{
    m_playback = PlayWindowState::Playback::None;
    applyControls();
}

void FrmAvare::showProgress(Panel panel, const ProgressShown &progress)
{
    const bool reply = panel == Panel::Reply;
    QSlider *slider = reply ? ui.Slider1 : ui.Slider2;
    QLabel *label = reply ? ui.LbEgrene : ui.LbEgreneRepetition;
    if (progress.maximum)
        slider->setMaximum(*progress.maximum);
    slider->setValue(progress.value);
    if (progress.text)
        label->setText(*progress.text);
}

void FrmAvare::showRehearsal(const RehearsalView &view)
{
    const RehearsalControls &c = view.controls;
    if (c.panelShown != m_rehearsalShown) {
        m_rehearsalShown = c.panelShown;
        applyControls();
    }
    if (!c.panelShown) {
        ui.Pict_A_Vous->hide();
        return;
    }
    ui.CmdDemarRepetition->setVisible(c.startShown);
    ui.CmdContinuerRepetition->setVisible(c.continueShown);
    ui.CmdStopGlobalRepetition->setEnabled(c.stopEnabled);
    ui.CmdEcouter->setEnabled(c.promptEnabled);
    ui.CmdStopLectureRepetition->setEnabled(c.promptStopEnabled);
    ui.CmdVoirTexte->setEnabled(c.revealEnabled);
    ui.ComboNumFichierRepetition->setEnabled(c.replyListEnabled);
    ui.PictBarRepet->setEnabled(c.barEnabled);
    ui.LbNumRepliqueRepetition->setText(ui.LbCompteRepliques->text());
    ui.Lb_A_Vous->setText(ui.LbNom->text() + QStringLiteral(" ..."));
    ui.LbDecompteRepetition->setText(view.countdown);
    ui.Pict_A_Vous->setVisible(c.coverShown);
}

} // namespace tiradex
