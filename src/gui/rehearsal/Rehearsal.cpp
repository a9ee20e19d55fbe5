#include "gui/rehearsal/Rehearsal.h"

#include "core/app/Module1.h"
#include "core/audio/AudioTexts.h"
#include "core/audio/PlaybackOps.h"
#include "core/rehearsal/RehearsalEntry.h"
#include "gui/play/FrmAvare.h"
#include "gui/rehearsal/RehearsalVoices.h"
#include "platform/Dialogs.h"
#include "platform/PlatformServices.h"
#include "platform/audio/Beep.h"
#include "platform/audio/MediaDevice.h"
#include "platform/audio/WavePlayback.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QShortcut>
#include <QSlider>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>

#include <functional>

namespace {
// The range a resting progress slider gets back after a gap, so its handle
// rests at the start.
const int RestingMaximum = 1000;

// Presses `button` as a click would, when it can be clicked on screen.
bool press(QAbstractButton *button)
{
    if (!button->isVisibleTo(button->window()) || !button->isEnabled())
        return false;
    button->click();
    return true;
}
} // namespace

Rehearsal::Rehearsal(FrmAvare &window, Module1 &state, Dialogs &dialogs, MediaDevice &partner,
                     MediaDevice &prompt, Beep &beep)
    : m_window(window), m_state(state), m_dialogs(dialogs), m_partner(partner), m_prompt(prompt),
      m_beep(beep),
      m_partnerProgress(partner, *window.controls().Slider2, *window.controls().LbEgreneRepetition,
                        ProgressFollower::Secondes),
      m_promptProgress(prompt, *window.controls().Slider2, *window.controls().LbEgreneRepetition,
                       ProgressFollower::Seconds)
{
    m_partnerProgress.setEndAction([this] { partnerDone(); });
    m_promptProgress.setEndAction([this] { CmdStopLectureRepetitionClick(); });
    const FrmAvareUi &ui = window.controls();
    // The gap is timed by this clock: a coarse timer may be 5 % off a tick.
    ui.TimerRepetition->setTimerType(Qt::PreciseTimer);
    connect(ui.CmdRepetition, &QToolButton::clicked, this, &Rehearsal::CmdRepetitionClick);
    connect(ui.CmdDemarRepetition, &QPushButton::clicked, this,
            &Rehearsal::CmdDemarRepetitionClick);
    connect(ui.CmdContinuerRepetition, &QPushButton::clicked, this,
            &Rehearsal::CmdContinuerRepetitionClick);
    connect(ui.CmdStopGlobalRepetition, &QPushButton::clicked, this,
            &Rehearsal::CmdStopGlobalRepetitionClick);
    connect(ui.CmdEcouter, &QPushButton::clicked, this, &Rehearsal::CmdEcouterClick);
    connect(ui.CmdStopLectureRepetition, &QPushButton::clicked, this,
            &Rehearsal::CmdStopLectureRepetitionClick);
    connect(ui.CmdVoirTexte, &QPushButton::clicked, this, &Rehearsal::CmdVoirTexteClick);
    connect(ui.ComboNumFichierRepetition, &QComboBox::activated, this,
            &Rehearsal::ComboNumFichierRepetitionPick);
    connect(ui.CmdFinRepetition, &QToolButton::clicked, this, &Rehearsal::CmdFinRepetitionClick);
    connect(ui.TimerRepetition, &QTimer::timeout, this, &Rehearsal::TimerRepetitionTick);
    setupKeys();
    m_voices = std::make_unique<RehearsalVoices>(ui.FrameRepetition, state, dialogs,
                                                 window.services().speech);
    connect(m_voices->CmdPiste, &QPushButton::clicked, this, [this] {
        // Not while a take, the prompt or a gap runs.
        if (!m_state.PlaybackActive)
            m_voices->exportPracticeTrack(m_window.scene());
    });
}

Rehearsal::~Rehearsal() = default;

void Rehearsal::setupKeys()
{
    FrmAvareUi *ui = &m_window.controls();
    // The panel's keys exist only while it is shown, so the same letters
    // still reach the tree's search and the other controls outside it.
    auto key = [this](const QKeySequence &sequence, std::function<void()> action) {
        auto *shortcut = new QShortcut(sequence, &m_window);
        shortcut->setContext(Qt::WidgetWithChildrenShortcut);
        shortcut->setEnabled(false);
        connect(shortcut, &QShortcut::activated, this, action);
        m_panelKeys.append(shortcut);
    };
    key(Qt::Key_Space, [ui] {
        if (!press(ui->CmdDemarRepetition))
            press(ui->CmdContinuerRepetition);
    });
    key(Qt::Key_Escape, [ui] {
        if (!press(ui->CmdStopGlobalRepetition))
            press(ui->CmdStopLectureRepetition);
    });
    key(Qt::Key_P, [ui] { press(ui->CmdEcouter); });
    key(Qt::Key_R, [ui] { press(ui->CmdVoirTexte); });
    key(Qt::Key_N, [ui] { press(ui->CheckJuskaFinRepetition); });
    key(Qt::Key_E, [ui] { press(ui->CmdFinRepetition); });
    auto *enter = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_R), &m_window);
    enter->setContext(Qt::WidgetWithChildrenShortcut);
    connect(enter, &QShortcut::activated, this, [ui] { press(ui->CmdRepetition); });
}

RehearsalReply Rehearsal::currentKind() const
{
    const SceneCursor &scene = m_window.scene();
    const bool own = scene.character(scene.index()) == m_state.FilterCharacter;
    const bool recorded = scene.hasRecording(m_state, scene.index());
    return {own, scene.isLast(), recorded || (!own && m_voices->active())};
}

void Rehearsal::CmdRepetitionClick()
{
    if (m_panelShown || m_state.PlaybackActive || m_state.RecorderOpen)
        return;
    const FrmAvareUi &ui = m_window.controls();
    m_voices->loadSettings();
    const RehearsalEntry entry = CheckRehearsalEntry(
        m_state, m_window.scene(), ui.LbNumActe->text(), ui.LbNumScene->text(), m_voices->active());
    switch (entry.verdict) {
    case RehearsalEntry::Verdict::NoReply:
        return;
    case RehearsalEntry::Verdict::MissingRecordings:
        m_dialogs.information(&m_window, entry.message);
        return;
    case RehearsalEntry::Verdict::NoFilter:
        m_dialogs.information(&m_window, entry.message);
        m_window.CmdFiltresClick();
        return;
    case RehearsalEntry::Verdict::Allowed:
        break;
    }
    ui.LbNumRepliqueRepetition->setText(ui.LbCompteRepliques->text());
    m_engine.enter(currentKind());
    m_voices->enter(m_window.scene());
    render();
}

void Rehearsal::CmdDemarRepetitionClick()
{
    step();
}

void Rehearsal::step()
{
    const FrmAvareUi &ui = m_window.controls();
    for (;;) {
        const std::optional<RehearsalState> reached =
            m_engine.step(currentKind(), ui.CheckJuskaFinRepetition->isChecked());
        if (!reached)
            break;
        if (*reached == RehearsalState::Turn) {
            render();
            m_beep.play();
            return;
        }
        if (*reached == RehearsalState::Gap) {
            // The gap is counted from the beep; reading the duration record
            // (an unpacking) must not lengthen it.
            ui.TimerRepetition->start();
            m_beep.play();
            const SceneCursor &scene = m_window.scene();
            const int seconds = !scene.hasRecording(m_state, scene.index()) && m_voices->active()
                                    ? m_voices->estimatedSeconds(scene, scene.index())
                                    : ReadReplyDuration(m_state, m_window.currentReply().baseName);
            m_engine.startGap(seconds, m_voices->tuning());
            break;
        }
        if (playPartner())
            break;
        // A take that cannot be played is passed over as if it had ended;
        // each pass moves one reply on, so the loop ends.
        closePartner();
        if (m_engine.partnerDone() != RehearsalEngine::After::Advance)
            break;
        nextReply();
    }
    render();
}

bool Rehearsal::playPartner()
{
    // UnpackVox clears "temp.vox", "temp.wav" and the duration records first.
    m_state.PlaybackActive = true;
    const SceneCursor &scene = m_window.scene();
    m_voices->prepareAhead(scene);
    const bool spoken = !scene.hasRecording(m_state, scene.index()) && m_voices->active();
    const bool unpacked = spoken ? m_voices->unpackSpeech(scene, scene.index(), nullptr)
                                 : UnpackVox(m_state, m_window.currentReply().baseName);
    return unpacked && OpenWaveDevice(m_partner, m_state) && m_partnerProgress.start();
}

void Rehearsal::closePartner()
{
    m_partnerProgress.stop();
    if (m_partner.isOpen())
        m_partner.sendCommand(QStringLiteral("Close"));
}

void Rehearsal::closePrompt()
{
    m_promptProgress.stop();
    if (m_prompt.isOpen())
        m_prompt.sendCommand(QStringLiteral("Close"));
}

void Rehearsal::partnerDone()
{
    closePartner();
    const std::optional<RehearsalEngine::After> after = m_engine.partnerDone();
    if (after == RehearsalEngine::After::Advance) {
        nextReply();
        step();
        return;
    }
    render();
}

void Rehearsal::nextReply()
{
    m_window.CmdPlusClick();
}

void Rehearsal::TimerRepetitionTick()
{
    const std::optional<RehearsalEngine::After> after = m_engine.gapTick();
    if (m_engine.state() == RehearsalState::Gap) {
        render();
        return;
    }
    // The clock stops before the next step, so no tick overlaps a take.
    m_window.controls().TimerRepetition->stop();
    if (after == RehearsalEngine::After::Advance) {
        nextReply();
        step();
        return;
    }
    render();
}

void Rehearsal::CmdContinuerRepetitionClick()
{
    if (!m_engine.continueTurn())
        return;
    nextReply();
    step();
}

void Rehearsal::CmdStopGlobalRepetitionClick()
{
    if (!m_engine.stop())
        return;
    m_window.controls().TimerRepetition->stop();
    closePartner();
    render();
}

void Rehearsal::CmdEcouterClick()
{
    if (!m_engine.prompt())
        return;
    const CurrentReply reply = m_window.currentReply();
    render();
    const SceneCursor &scene = m_window.scene();
    const bool unpacked = scene.hasRecording(m_state, scene.index())
                              ? UnpackVox(m_state, reply.baseName)
                              : m_voices->unpackSpeech(scene, scene.index(), nullptr);
    const bool started = unpacked && OpenWaveDevice(m_prompt, m_state) && m_promptProgress.start();
    if (!started) {
        CmdStopLectureRepetitionClick();
        m_dialogs.information(&m_window, AudioTexts::VoxCannotBePlayed(reply.number));
    }
}

void Rehearsal::CmdStopLectureRepetitionClick()
{
    closePrompt();
    if (m_engine.endPrompt())
        render();
}

void Rehearsal::CmdVoirTexteClick()
{
    if (m_engine.reveal())
        render();
}

void Rehearsal::ComboNumFichierRepetitionPick(int k)
{
    if (!m_engine.controls().replyListEnabled)
        return;
    m_window.ShowReply(k);
    const FrmAvareUi &ui = m_window.controls();
    ui.LbNumRepliqueRepetition->setText(ui.LbCompteRepliques->text());
    m_engine.chooseReply(currentKind());
    render();
}

void Rehearsal::CmdFinRepetitionClick()
{
    if (!m_engine.leave())
        return;
    // Nothing may go on stepping behind the restored reply panel.
    m_window.controls().TimerRepetition->stop();
    closePartner();
    closePrompt();
    render();
}

void Rehearsal::render()
{
    const FrmAvareUi &ui = m_window.controls();
    const RehearsalControls c = m_engine.controls();
    if (c.panelShown != m_panelShown)
        renderPanels(c.panelShown);
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
    m_voices->CmdPiste->setEnabled(c.practiceTrackEnabled);
    m_state.PlaybackActive = c.playbackActive;

    ui.Lb_A_Vous->setText(ui.LbNom->text() + QStringLiteral(" ..."));
    ui.LbDecompteRepetition->setText(m_engine.countdownText());
    ui.Pict_A_Vous->setVisible(c.coverShown);

    // The partner take and the prompt show their own progress.
    const RehearsalState state = m_engine.state();
    if (state == RehearsalState::Partner || state == RehearsalState::Prompt)
        return;
    if (state == RehearsalState::Gap) {
        ui.Slider2->setMaximum(m_engine.sliderMaximum());
    } else if (ui.Slider2->maximum() < RestingMaximum) {
        ui.Slider2->setMaximum(RestingMaximum);
    }
    ui.Slider2->setValue(m_engine.sliderValue());
    ui.LbEgreneRepetition->setText(m_engine.progressText());
}

void Rehearsal::renderPanels(bool shown)
{
    m_panelShown = shown;
    m_window.setRehearsalShown(shown);
    for (QShortcut *key : std::as_const(m_panelKeys))
        key->setEnabled(shown);
    if (!shown)
        m_state.PlaybackActive = false;
}
