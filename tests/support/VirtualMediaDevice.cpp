#include "VirtualMediaDevice.h"

#include "VirtualClock.h"

#include "core/audio/AudioTexts.h"

#include <cmath>
#include <numbers>
#include <vector>

namespace tiradex {

VirtualMediaDevice::VirtualMediaDevice(VirtualClock &clock, QObject *parent) : MediaDevice(parent)
{
    connect(&clock, &VirtualClock::stepped, this, &VirtualMediaDevice::onStep);
}

bool VirtualMediaDevice::beginCapture(QString *error)
{
    if (!m_inputAvailable) {
        *error = AudioTexts::NoSoundInputDevice();
        return false;
    }
    m_capturing = true;
    m_captureMs = 0;
    m_captureFrames = 0;
    return true;
}

bool VirtualMediaDevice::beginPlayback(const PcmAudio &take, qint64 fromFrame, QString *error)
{
    if (!m_outputAvailable) {
        *error = QStringLiteral("No sound output device was found.");
        return false;
    }
    m_playing = true;
    m_playRate = take.sampleRate;
    m_playedMs = 0;
    m_framesToPlay = take.frames() - fromFrame;
    return true;
}

qint64 VirtualMediaDevice::playedFrames() const
{
    return m_playing ? std::min(m_playedMs * m_playRate / 1000, m_framesToPlay) : 0;
}

void VirtualMediaDevice::onStep(qint64 ms)
{
    if (!isOpen())
        return;
    if (m_capturing) {
        // The frames of the whole capture follow from its time, rounded up,
        // so the take's length in milliseconds is exactly the time recorded.
        m_captureMs += ms;
        const qint64 target = PcmAudio::MsToFrames(m_captureMs, RecordingRate);
        std::vector<qint16> samples;
        samples.reserve(std::size_t(target - m_captureFrames));
        for (; m_captureFrames < target; ++m_captureFrames, ++m_signalFrame) {
            const double phase =
                2.0 * std::numbers::pi * 440.0 * double(m_signalFrame) / RecordingRate;
            samples.push_back(qint16(std::lround(16384.0 * std::sin(phase))));
        }
        appendCaptured(samples.data(), qsizetype(samples.size()));
    }
    if (m_playing) {
        m_playedMs += ms;
        if (PcmAudio::MsToFrames(m_playedMs, m_playRate) >= m_framesToPlay)
            playbackFinished();
    }
    emitStatusUpdate();
}

} // namespace tiradex
