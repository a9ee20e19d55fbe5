#include "VirtualMediaDevice.h"

#include "VirtualClock.h"

#include <cmath>
#include <numbers>
#include <vector>

VirtualMediaDevice::VirtualMediaDevice(VirtualClock &clock, QObject *parent) : MediaDevice(parent)
{
    connect(&clock, &VirtualClock::stepped, this, &VirtualMediaDevice::onStep);
}

VirtualMediaDevice::~VirtualMediaDevice()
{
    closeDevice();
}

bool VirtualMediaDevice::beginCapture(QString *error)
{
    if (!inputAvailable_) {
        *error = QStringLiteral("No sound input device was found.");
        return false;
    }
    capturing_ = true;
    captureMs_ = 0;
    captureFrames_ = 0;
    return true;
}

void VirtualMediaDevice::endCapture()
{
    capturing_ = false;
}

bool VirtualMediaDevice::beginPlayback(const PcmAudio &take, qint64 fromFrame, QString *error)
{
    if (!outputAvailable_) {
        *error = QStringLiteral("No sound output device was found.");
        return false;
    }
    playing_ = true;
    playRate_ = take.sampleRate;
    playedMs_ = 0;
    framesToPlay_ = take.frames() - fromFrame;
    return true;
}

qint64 VirtualMediaDevice::playedFrames() const
{
    return playing_ ? std::min(playedMs_ * playRate_ / 1000, framesToPlay_) : 0;
}

void VirtualMediaDevice::endPlayback()
{
    playing_ = false;
}

void VirtualMediaDevice::onStep(qint64 ms)
{
    if (!isOpen())
        return;
    if (capturing_) {
        // The frames of the whole capture follow from its time, rounded up,
        // so the take's length in milliseconds is exactly the time recorded.
        captureMs_ += ms;
        const qint64 target = PcmAudio::MsToFrames(captureMs_, RecordingRate);
        std::vector<qint16> samples;
        samples.reserve(std::size_t(target - captureFrames_));
        for (; captureFrames_ < target; ++captureFrames_, ++signalFrame_) {
            const double phase =
                2.0 * std::numbers::pi * signalFrequency_ * double(signalFrame_) / RecordingRate;
            samples.push_back(qint16(std::lround(16384.0 * std::sin(phase))));
        }
        appendCaptured(samples.data(), qsizetype(samples.size()));
    }
    if (playing_) {
        playedMs_ += ms;
        if (PcmAudio::MsToFrames(playedMs_, playRate_) >= framesToPlay_)
            playbackFinished();
    }
    emitStatusUpdate();
}
