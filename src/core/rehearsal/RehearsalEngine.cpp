#include "core/rehearsal/RehearsalEngine.h"

namespace tiradex {

using State = RehearsalState;

int RehearsalEngine::GapLengthFor(int recordedSeconds)
{
    // A progress slider takes no maximum below 1; the short take gets a
    // gap long enough to say something.
    return recordedSeconds < 1 ? 2 : recordedSeconds;
}

RehearsalControls RehearsalEngine::controls() const
{
    RehearsalControls c;
    if (m_state == State::Off)
        return c;
    c.panelShown = true;
    c.coverShown = m_reply.own && !m_revealed && m_state != State::Partner;
    switch (m_state) {
    case State::Off:
        break;
    case State::Ready:
        c.startShown = true;
        c.promptEnabled = m_cueOffered;
        c.revealEnabled = c.coverShown;
        c.replyListEnabled = true;
        c.barEnabled = true;
        break;
    case State::Partner:
        c.stopEnabled = true;
        c.barEnabled = true;
        c.playbackActive = true;
        break;
    case State::Turn:
        c.continueShown = !m_reply.last;
        c.promptEnabled = true;
        c.revealEnabled = c.coverShown;
        c.replyListEnabled = true;
        c.barEnabled = true;
        break;
    case State::Gap:
        c.stopEnabled = true;
        c.barEnabled = true;
        c.countdownShown = c.coverShown;
        c.playbackActive = true;
        c.timerRunning = true;
        break;
    case State::Prompt:
        c.promptStopEnabled = true;
        c.playbackActive = true;
        break;
    case State::SceneEnd:
        c.promptEnabled = true;
        c.revealEnabled = c.coverShown;
        c.replyListEnabled = true;
        c.barEnabled = true;
        break;
    }
    // A reply nobody recorded and no voice speaks gives the cue nothing to play.
    c.promptEnabled = c.promptEnabled && m_reply.cueSound;
    c.practiceTrackEnabled = !c.playbackActive;
    return c;
}

void RehearsalEngine::settle(RehearsalState state)
{
    m_state = state;
    if (state != State::Gap) {
        m_progress.clear();
        m_sliderValue = 1;
    }
}

bool RehearsalEngine::enter(RehearsalReply reply)
{
    if (m_state != State::Off)
        return false;
    m_reply = reply;
    m_revealed = false;
    // The cue is the actor's own take: a partner reply offers none.
    m_cueOffered = reply.own;
    settle(State::Ready);
    return true;
}

std::optional<RehearsalState> RehearsalEngine::step(RehearsalReply reply, bool nonStop)
{
    if (m_state != State::Ready)
        return std::nullopt;
    m_reply = reply;
    m_revealed = false;
    if (!reply.own)
        settle(State::Partner);
    else if (!nonStop)
        settle(State::Turn);
    else {
        settle(State::Gap);
        startGap(0);
    }
    return m_state;
}

void RehearsalEngine::startGap(int recordedSeconds, const GapTuning &tuning)
{
    if (m_state != State::Gap)
        return;
    m_gapLength = tuning.apply(GapLengthFor(recordedSeconds));
    m_gapElapsed = 1;
    m_countdown = m_gapLength;
    m_sliderValue = 1;
    m_progress.clear();
}

std::optional<RehearsalEngine::After> RehearsalEngine::partnerDone()
{
    if (m_state != State::Partner)
        return std::nullopt;
    if (m_reply.last) {
        settle(State::SceneEnd);
        return After::SceneEnd;
    }
    settle(State::Ready);
    return After::Advance;
}

std::optional<RehearsalEngine::After> RehearsalEngine::gapTick()
{
    if (m_state != State::Gap)
        return std::nullopt;
    m_sliderValue = m_gapElapsed;
    m_progress = QStringLiteral("%1/%2 seconds").arg(m_gapElapsed).arg(m_gapLength);
    ++m_gapElapsed;
    --m_countdown;
    if (m_gapElapsed <= m_gapLength)
        return std::nullopt;
    if (m_reply.last) {
        settle(State::SceneEnd);
        return After::SceneEnd;
    }
    // The last second's text stays until the next reply's step.
    m_state = State::Ready;
    return After::Advance;
}

bool RehearsalEngine::continueTurn()
{
    if (!controls().continueShown)
        return false;
    settle(State::Ready);
    return true;
}

bool RehearsalEngine::stop()
{
    if (!controls().stopEnabled)
        return false;
    m_cueOffered = true;
    settle(State::Ready);
    return true;
}

bool RehearsalEngine::prompt()
{
    if (!controls().promptEnabled)
        return false;
    m_beforePrompt = m_state;
    settle(State::Prompt);
    return true;
}

bool RehearsalEngine::endPrompt()
{
    if (m_state != State::Prompt)
        return false;
    settle(m_beforePrompt);
    return true;
}

bool RehearsalEngine::reveal()
{
    if (!controls().revealEnabled)
        return false;
    m_revealed = true;
    return true;
}

bool RehearsalEngine::chooseReply(RehearsalReply reply)
{
    if (!controls().replyListEnabled)
        return false;
    m_reply = reply;
    m_revealed = false;
    m_cueOffered = reply.own;
    settle(State::Ready);
    return true;
}

bool RehearsalEngine::leave()
{
    if (!controls().barEnabled)
        return false;
    m_revealed = false;
    settle(State::Off);
    return true;
}

QString RehearsalEngine::countdownText() const
{
    return m_state == State::Gap ? QString::number(m_countdown) : QString();
}

} // namespace tiradex
