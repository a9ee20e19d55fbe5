#include "core/audio/RecorderEngine.h"

namespace tiradex {

using State = RecorderState;

RecorderControls RecorderEngine::controls() const
{
    RecorderControls c;
    c.save = m_takeReady;
    c.finishTimer = m_timerArmed;
    switch (m_state) {
    case State::Empty:
        c.record = true;
        c.scopeBox = true;
        break;
    case State::Recording:
        c.pauseRecording = true;
        c.stopRecording = true;
        break;
    case State::RecordingPaused:
        c.resumeRecording = true;
        c.stopRecording = true;
        c.scopeBox = true;
        break;
    case State::Finishing:
        break;
    case State::FinishingAtEnd:
    case State::TakeReady:
        c.play = true;
        c.deleteTake = true;
        break;
    case State::Playing:
        c.pausePlayback = true;
        break;
    case State::PlaybackPaused:
        c.resumePlayback = true;
        c.play = true;
        c.deleteTake = true;
        break;
    case State::Closed:
        c = RecorderControls();
        break;
    }
    return c;
}

bool RecorderEngine::takeBeingRecorded() const
{
    // Set by Record and kept through Pause and the finishing second.
    return m_onDevice;
}

bool RecorderEngine::record()
{
    if (m_state != State::Empty)
        return false;
    m_state = State::Recording;
    m_takeStarted = true;
    // The earlier packaged take is deleted: nothing to save until this one is.
    m_takeReady = false;
    m_onDevice = true;
    m_hidePosition = false;
    return true;
}

bool RecorderEngine::move(RecorderState from, RecorderState to)
{
    if (m_state != from)
        return false;
    m_state = to;
    return true;
}

bool RecorderEngine::pauseRecording()
{
    return move(State::Recording, State::RecordingPaused);
}

bool RecorderEngine::resumeRecording()
{
    return move(State::RecordingPaused, State::Recording);
}

bool RecorderEngine::stop()
{
    if (m_state != State::Recording && m_state != State::RecordingPaused)
        return false;
    m_state = State::Finishing;
    m_timerArmed = true;
    return true;
}

bool RecorderEngine::endOfRange()
{
    switch (m_state) {
    case State::Recording:
    case State::RecordingPaused:
    case State::Finishing:
    case State::FinishingAtEnd:
    case State::Playing:
        if (m_packaging)
            return false;
        m_state = State::FinishingAtEnd;
        m_timerArmed = true;
        return true;
    default:
        return false;
    }
}

bool RecorderEngine::finishTick()
{
    if (!m_timerArmed)
        return false;
    m_timerArmed = false;
    m_onDevice = false;
    m_packaging = true;
    return true;
}

bool RecorderEngine::packaged(bool written)
{
    if (!m_packaging)
        return false;
    m_packaging = false;
    m_takeReady = written;
    m_state = State::TakeReady;
    return true;
}

bool RecorderEngine::play()
{
    if (!controls().play || !m_takeReady || m_packaging)
        return false;
    m_state = State::Playing;
    m_timerArmed = false;
    return true;
}

bool RecorderEngine::pausePlayback()
{
    return move(State::Playing, State::PlaybackPaused);
}

bool RecorderEngine::resumePlayback()
{
    return move(State::PlaybackPaused, State::Playing);
}

bool RecorderEngine::deleteTake()
{
    if (!controls().deleteTake || m_packaging)
        return false;
    m_state = State::Empty;
    m_takeStarted = false;
    m_takeReady = false;
    m_onDevice = false;
    m_timerArmed = false;
    m_hidePosition = true;
    return true;
}

bool RecorderEngine::saveRequested() const
{
    return m_state != State::Closed && m_takeReady && !m_packaging && !takeBeingRecorded();
}

RecorderEngine::CloseAnswer RecorderEngine::closeRequested()
{
    if (m_state != State::Closed && takeBeingRecorded())
        return CloseAnswer::Refuse;
    const CloseAnswer answer = m_takeStarted ? CloseAnswer::Discard : CloseAnswer::Close;
    close();
    return answer;
}

void RecorderEngine::close()
{
    m_state = State::Closed;
    m_takeStarted = false;
    m_takeReady = false;
    m_onDevice = false;
    m_timerArmed = false;
    m_packaging = false;
}

} // namespace tiradex
