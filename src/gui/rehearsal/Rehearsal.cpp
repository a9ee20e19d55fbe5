#include "gui/rehearsal/Rehearsal.h"

#include "core/app/Module1.h"
#include "core/audio/AudioTexts.h"
#include "core/audio/PlaybackOps.h"
#include "core/rehearsal/RehearsalEntry.h"
#include "gui/rehearsal/RehearsalVoices.h"
#include "platform/Dialogs.h"
#include "platform/PlatformServices.h"
#include "platform/audio/Beep.h"
#include "platform/audio/MediaDevice.h"
#include "platform/audio/SoundSystem.h"
#include "platform/audio/WavePlayback.h"

#include <QPushButton>
#include <QTimer>

namespace tiradex {

namespace {
// The range a resting progress slider gets back after a gap, so its handle
// rests at the start.
const int RestingMaximum = 1000;
} // namespace

Rehearsal::Rehearsal(RehearsalHost &host, Module1 &state, const PlatformServices &services,
                     MediaDevice &partner, MediaDevice &prompt, QWidget &voicesFrame,
                     QObject *parent)
    : QObject(parent), m_host(host), m_state(state), m_dialogs(*services.dialogs),
      m_partner(partner), m_prompt(prompt), m_beep(services.sound->beep()),
      m_partnerProgress(
          partner, [this](const ProgressShown &p) { showProgress(p); }, ProgressFollower::Secondes),
      m_promptProgress(
          prompt, [this](const ProgressShown &p) { showProgress(p); }, ProgressFollower::Seconds),
      m_timer(new QTimer(this))
{
    m_partnerProgress.setEndAction([this] { partnerDone(); });
    m_promptProgress.setEndAction([this] { CmdStopLectureRepetitionClick(); });
    // The gap is timed by this clock: a coarse timer may be 5 % off a tick.
    m_timer->setObjectName(QStringLiteral("TimerRepetition"));
    m_timer->setInterval(1000);
    m_timer->setTimerType(Qt::PreciseTimer);
    connect(m_timer, &QTimer::timeout, this, &Rehearsal::TimerRepetitionTick);
    m_voices = std::make_unique<RehearsalVoices>(&voicesFrame, state, m_dialogs, services.speech);
    connect(m_voices->CmdPiste, &QPushButton::clicked, this, [this] {
        // Not while a take, the prompt or a gap runs.
        if (!m_state.PlaybackActive)
            m_voices->exportPracticeTrack(m_host.scene());
    });
}

Rehearsal::~Rehearsal() = default;

void Rehearsal::showProgress(const ProgressShown &progress)
{
    if (progress.maximum)
        m_sliderMaximum = *progress.maximum;
    m_host.showProgress(PlaybackHost::Panel::Rehearsal, progress);
}

void Rehearsal::CheckJuskaFinRepetitionToggled(bool nonStop)
{
    m_nonStop = nonStop;
}

RehearsalReply Rehearsal::currentKind() const
{
    const SceneCursor &scene = m_host.scene();
    const bool own = scene.character(scene.index()) == m_state.FilterCharacter;
    const bool recorded = scene.hasRecording(m_state, scene.index());
    return {own, scene.isLast(), recorded || (!own && m_voices->active())};
}

void Rehearsal::CmdRepetitionClick()
{
    if (m_panelShown || m_state.PlaybackActive || m_state.RecorderOpen)
        return;
    m_voices->loadSettings();
    const CurrentReply reply = m_host.currentReply();
    const RehearsalEntry entry = CheckRehearsalEntry(m_state, m_host.scene(), reply.actText,
                                                     reply.sceneText, m_voices->active());
    switch (entry.verdict) {
    case RehearsalEntry::Verdict::NoReply:
        return;
    case RehearsalEntry::Verdict::MissingRecordings:
        m_dialogs.information(m_host.messageOwner(), entry.message);
        return;
    case RehearsalEntry::Verdict::NoFilter:
        m_dialogs.information(m_host.messageOwner(), entry.message);
        m_host.openFilterWindow();
        return;
    case RehearsalEntry::Verdict::Allowed:
        break;
    }
    m_engine.enter(currentKind());
    m_voices->enter(m_host.scene());
    render();
}

void Rehearsal::CmdDemarRepetitionClick()
{
    step();
}

void Rehearsal::step()
{
    for (;;) {
        const std::optional<RehearsalState> reached = m_engine.step(currentKind(), m_nonStop);
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
            m_timer->start();
            m_beep.play();
            const SceneCursor &scene = m_host.scene();
            const int seconds = !scene.hasRecording(m_state, scene.index()) && m_voices->active()
                                    ? m_voices->estimatedSeconds(scene, scene.index())
                                    : ReadReplyDuration(m_state, m_host.currentReply().baseName);
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
    const SceneCursor &scene = m_host.scene();
    m_voices->prepareAhead(scene);
    const bool spoken = !scene.hasRecording(m_state, scene.index()) && m_voices->active();
    const bool unpacked = spoken ? m_voices->unpackSpeech(scene, scene.index(), nullptr)
                                 : UnpackVox(m_state, m_host.currentReply().baseName);
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
    m_host.nextReply();
}

void Rehearsal::TimerRepetitionTick()
{
    const std::optional<RehearsalEngine::After> after = m_engine.gapTick();
    if (m_engine.state() == RehearsalState::Gap) {
        render();
        return;
    }
    // The clock stops before the next step, so no tick overlaps a take.
    m_timer->stop();
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
    m_timer->stop();
    closePartner();
    render();
}

void Rehearsal::CmdEcouterClick()
{
    if (!m_engine.prompt())
        return;
    const CurrentReply reply = m_host.currentReply();
    render();
    const SceneCursor &scene = m_host.scene();
    const bool unpacked = scene.hasRecording(m_state, scene.index())
                              ? UnpackVox(m_state, reply.baseName)
                              : m_voices->unpackSpeech(scene, scene.index(), nullptr);
    const bool started = unpacked && OpenWaveDevice(m_prompt, m_state) && m_promptProgress.start();
    if (!started) {
        CmdStopLectureRepetitionClick();
        m_dialogs.information(m_host.messageOwner(), AudioTexts::VoxCannotBePlayed(reply.number));
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
    m_host.showReply(k);
    m_engine.chooseReply(currentKind());
    render();
}

void Rehearsal::CmdFinRepetitionClick()
{
    if (!m_engine.leave())
        return;
    // Nothing may go on stepping behind the restored reply panel.
    m_timer->stop();
    closePartner();
    closePrompt();
    render();
}

void Rehearsal::render()
{
    const RehearsalControls c = m_engine.controls();
    if (c.panelShown != m_panelShown) {
        m_panelShown = c.panelShown;
        if (!m_panelShown)
            m_state.PlaybackActive = false;
    }
    if (m_panelShown)
        m_state.PlaybackActive = c.playbackActive;
    m_host.showRehearsal({c, m_engine.countdownText()});
    m_voices->CmdPiste->setEnabled(c.practiceTrackEnabled);
    if (!m_panelShown)
        return;

    // The partner take and the prompt show their own progress.
    const RehearsalState state = m_engine.state();
    if (state == RehearsalState::Partner || state == RehearsalState::Prompt)
        return;
    ProgressShown progress{m_engine.sliderValue(), std::nullopt, m_engine.progressText()};
    if (state == RehearsalState::Gap)
        progress.maximum = m_engine.sliderMaximum();
    else if (m_sliderMaximum < RestingMaximum)
        progress.maximum = RestingMaximum;
    showProgress(progress);
}

} // namespace tiradex
