#include "platform/audio/QtMediaDevice.h"

#include "core/audio/PcmConvert.h"
#include "platform/audio/QtAudioFormats.h"

#include <QAudioDevice>
#include <QAudioSink>
#include <QAudioSource>
#include <QMediaDevices>

namespace {
// Once all data went to the output, the rest is heard within the output's
// buffer; this much more is allowed before the playback is taken as over
// even if the output's clock has not caught up.
constexpr qint64 DrainMarginMs = 250;
// A playback whose heard position does not move for this long has lost its
// device; it is ended rather than left waiting for ever.
constexpr qint64 StallLimitMs = 5000;
// The output's clock, converted to frames of the take, may end a frame or
// two short of the take's last frame; this close counts as the end.
constexpr qint64 EndToleranceMs = 2;
constexpr int CapturePollMs = 20;
constexpr int DrainPollMs = 10;

// Deletes a Qt object from the event loop: the object may be the sender of
// the signal being handled when the device is closed.
template <typename T> void deleteSoon(std::unique_ptr<T> &object)
{
    if (object)
        object.release()->deleteLater();
}
} // namespace

QtMediaDevice::QtMediaDevice(QObject *parent) : MediaDevice(parent)
{
    statusTimer_.setInterval(StatusPeriodMs);
    connect(&statusTimer_, &QTimer::timeout, this, &QtMediaDevice::onStatusTimer);
    capturePoll_.setInterval(CapturePollMs);
    connect(&capturePoll_, &QTimer::timeout, this, &QtMediaDevice::readCaptured);
    drainPoll_.setInterval(DrainPollMs);
    connect(&drainPoll_, &QTimer::timeout, this, [this] {
        if (checkPlaybackEnd())
            emitStatusUpdate();
    });
}

QtMediaDevice::~QtMediaDevice()
{
    closeDevice();
}

bool QtMediaDevice::beginCapture(QString *error)
{
    const QAudioDevice device = QMediaDevices::defaultAudioInput();
    if (device.isNull()) {
        *error = QStringLiteral("No sound input device was found.");
        return false;
    }
    const QAudioFormat format =
        ChooseFormat(device, PcmFormat{RecordingRate, 1, SampleFormat::Int16});
    if (!format.isValid()) {
        *error = QStringLiteral("The sound input device offers no usable format.");
        return false;
    }
    source_ = std::make_unique<QAudioSource>(device, format);
    sourceIo_ = source_->start();
    if (!sourceIo_ || source_->error() != QAudio::NoError) {
        *error = QStringLiteral("The sound input device could not be started.");
        sourceIo_ = nullptr;
        deleteSoon(source_);
        return false;
    }
    converter_ = std::make_unique<MonoCaptureConverter>(ToPcmFormat(format), RecordingRate);
    connect(sourceIo_, &QIODevice::readyRead, this, &QtMediaDevice::readCaptured);
    capturePoll_.start();
    return true;
}

void QtMediaDevice::readCaptured()
{
    if (!sourceIo_ || !converter_)
        return;
    const QByteArray bytes = sourceIo_->readAll();
    if (bytes.isEmpty())
        return;
    converted_.clear();
    converter_->push(bytes, &converted_);
    appendCaptured(converted_.data(), qsizetype(converted_.size()));
}

void QtMediaDevice::endCapture()
{
    if (!source_)
        return;
    readCaptured();
    capturePoll_.stop();
    if (sourceIo_)
        disconnect(sourceIo_, nullptr, this, nullptr);
    source_->stop();
    sourceIo_ = nullptr;
    converter_.reset();
    deleteSoon(source_);
}

bool QtMediaDevice::beginPlayback(const PcmAudio &take, qint64 fromFrame, QString *error)
{
    const QAudioDevice device = QMediaDevices::defaultAudioOutput();
    if (device.isNull()) {
        *error = QStringLiteral("No sound output device was found.");
        return false;
    }
    const QAudioFormat format =
        ChooseFormat(device, PcmFormat{take.sampleRate, take.channels, SampleFormat::Int16});
    if (!format.isValid()) {
        *error = QStringLiteral("The sound output device offers no usable format.");
        return false;
    }
    stream_ = std::make_unique<PcmPlaybackStream>(take, fromFrame, ToPcmFormat(format));
    sink_ = std::make_unique<QAudioSink>(device, format);
    connect(sink_.get(), &QAudioSink::stateChanged, this, &QtMediaDevice::onSinkStateChanged,
            Qt::QueuedConnection);
    sink_->start(stream_.get());
    if (sink_->error() != QAudio::NoError && sink_->error() != QAudio::UnderrunError) {
        *error = QStringLiteral("The sound output device could not be started.");
        deleteSoon(sink_);
        deleteSoon(stream_);
        return false;
    }
    takeRate_ = take.sampleRate;
    framesToPlay_ = take.frames() - fromFrame;
    const qint64 bufferFrames = format.bytesPerFrame() > 0 && format.sampleRate() > 0
                                    ? sink_->bufferSize() / format.bytesPerFrame()
                                    : 0;
    drainLimitMs_ =
        (format.sampleRate() > 0 ? bufferFrames * 1000 / format.sampleRate() : 0) + DrainMarginMs;
    drainClock_.invalidate();
    progressClock_.start();
    lastPlayed_ = -1;
    return true;
}

qint64 QtMediaDevice::playedFrames() const
{
    if (!sink_)
        return 0;
    const qint64 frames = sink_->processedUSecs() * takeRate_ / 1000000;
    return std::min(frames, framesToPlay_);
}

void QtMediaDevice::endPlayback()
{
    drainPoll_.stop();
    if (sink_) {
        disconnect(sink_.get(), nullptr, this, nullptr);
        sink_->stop();
    }
    deleteSoon(sink_);
    deleteSoon(stream_);
}

void QtMediaDevice::setStatusUpdates(bool on)
{
    if (on)
        statusTimer_.start();
    else
        statusTimer_.stop();
}

void QtMediaDevice::onStatusTimer()
{
    checkPlaybackEnd();
    emitStatusUpdate();
}

void QtMediaDevice::onSinkStateChanged()
{
    if (checkPlaybackEnd())
        emitStatusUpdate();
}

bool QtMediaDevice::checkPlaybackEnd()
{
    if (mode() != Mode::Playing || !sink_ || !stream_)
        return false;
    const QAudio::Error error = sink_->error();
    if (sink_->state() == QAudio::StoppedState && error != QAudio::NoError &&
        error != QAudio::UnderrunError) {
        playbackFinished(); // the output is gone; the take cannot be heard further
        return true;
    }
    const qint64 played = playedFrames();
    if (played != lastPlayed_) {
        lastPlayed_ = played;
        progressClock_.start();
    }
    if (stream_->atEnd()) {
        // Everything went to the output; the end is when it has been heard,
        // that is when the output's processed time reaches the take's
        // length. A clock that stands still for a moment under load is not
        // the end, and neither is the output's idle state: it comes when
        // the last data went out, a buffer's length before they are heard.
        // Should the clock stop short for good, the drain limit ends it.
        if (!drainClock_.isValid()) {
            drainClock_.start();
            drainPoll_.start();
        }
        const bool heardAll = played >= framesToPlay_ - takeRate_ * EndToleranceMs / 1000;
        if (heardAll || drainClock_.elapsed() >= drainLimitMs_) {
            playbackFinished();
            return true;
        }
    } else if (progressClock_.elapsed() >= StallLimitMs) {
        playbackFinished();
        return true;
    }
    return false;
}
