#include "platform/audio/QtMediaDevice.h"

#include "core/audio/AudioTexts.h"
#include "core/audio/PcmConvert.h"
#include "platform/audio/QtAudioFormats.h"

#include <QAudioDevice>
#include <QAudioSink>
#include <QAudioSource>
#include <QMediaDevices>

namespace tiradex {

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
    m_statusTimer.setInterval(StatusPeriodMs);
    connect(&m_statusTimer, &QTimer::timeout, this, &QtMediaDevice::onStatusTimer);
    m_capturePoll.setInterval(CapturePollMs);
    connect(&m_capturePoll, &QTimer::timeout, this, &QtMediaDevice::readCaptured);
    m_drainPoll.setInterval(DrainPollMs);
    connect(&m_drainPoll, &QTimer::timeout, this, [this] {
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
        *error = AudioTexts::NoSoundInputDevice();
        return false;
    }
    const QAudioFormat format =
        ChooseFormat(device, PcmFormat{RecordingRate, 1, SampleFormat::Int16});
    if (!format.isValid()) {
        *error = QStringLiteral("The sound input device offers no usable format.");
        return false;
    }
    m_source = std::make_unique<QAudioSource>(device, format);
    m_sourceIo = m_source->start();
    if (!m_sourceIo || m_source->error() != QAudio::NoError) {
        *error = QStringLiteral("The sound input device could not be started.");
        m_sourceIo = nullptr;
        deleteSoon(m_source);
        return false;
    }
    m_converter = std::make_unique<MonoCaptureConverter>(ToPcmFormat(format), RecordingRate);
    connect(m_sourceIo, &QIODevice::readyRead, this, &QtMediaDevice::readCaptured);
    m_capturePoll.start();
    return true;
}

void QtMediaDevice::readCaptured()
{
    if (!m_sourceIo || !m_converter)
        return;
    const QByteArray bytes = m_sourceIo->readAll();
    if (bytes.isEmpty())
        return;
    m_converted.clear();
    m_converter->push(bytes, &m_converted);
    appendCaptured(m_converted.data(), qsizetype(m_converted.size()));
}

void QtMediaDevice::endCapture()
{
    if (!m_source)
        return;
    readCaptured();
    m_capturePoll.stop();
    if (m_sourceIo)
        disconnect(m_sourceIo, nullptr, this, nullptr);
    m_source->stop();
    m_sourceIo = nullptr;
    m_converter.reset();
    deleteSoon(m_source);
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
    m_stream = std::make_unique<PcmPlaybackStream>(take, fromFrame, ToPcmFormat(format));
    m_sink = std::make_unique<QAudioSink>(device, format);
    connect(m_sink.get(), &QAudioSink::stateChanged, this, &QtMediaDevice::onSinkStateChanged,
            Qt::QueuedConnection);
    m_sink->start(m_stream.get());
    if (m_sink->error() != QAudio::NoError && m_sink->error() != QAudio::UnderrunError) {
        *error = QStringLiteral("The sound output device could not be started.");
        deleteSoon(m_sink);
        deleteSoon(m_stream);
        return false;
    }
    m_takeRate = take.sampleRate;
    m_framesToPlay = take.frames() - fromFrame;
    const qint64 bufferFrames = format.bytesPerFrame() > 0 && format.sampleRate() > 0
                                    ? m_sink->bufferSize() / format.bytesPerFrame()
                                    : 0;
    m_drainLimitMs =
        (format.sampleRate() > 0 ? bufferFrames * 1000 / format.sampleRate() : 0) + DrainMarginMs;
    m_drainClock.invalidate();
    m_progressClock.start();
    m_lastPlayed = -1;
    return true;
}

qint64 QtMediaDevice::playedFrames() const
{
    if (!m_sink)
        return 0;
    const qint64 frames = m_sink->processedUSecs() * m_takeRate / 1000000;
    return std::min(frames, m_framesToPlay);
}

void QtMediaDevice::endPlayback()
{
    m_drainPoll.stop();
    if (m_sink) {
        disconnect(m_sink.get(), nullptr, this, nullptr);
        m_sink->stop();
    }
    deleteSoon(m_sink);
    deleteSoon(m_stream);
}

void QtMediaDevice::setStatusUpdates(bool on)
{
    if (on)
        m_statusTimer.start();
    else
        m_statusTimer.stop();
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
    if (mode() != Mode::Playing || !m_sink || !m_stream)
        return false;
    const QAudio::Error error = m_sink->error();
    if (m_sink->state() == QAudio::StoppedState && error != QAudio::NoError &&
        error != QAudio::UnderrunError) {
        playbackFinished(); // the output is gone; the take cannot be heard further
        return true;
    }
    const qint64 played = playedFrames();
    if (played != m_lastPlayed) {
        m_lastPlayed = played;
        m_progressClock.start();
    }
    if (m_stream->atEnd()) {
        // Everything went to the output; the end is when it has been heard,
        // that is when the output's processed time reaches the take's
        // length. A clock that stands still for a moment under load is not
        // the end, and neither is the output's idle state: it comes when
        // the last data went out, a buffer's length before they are heard.
        // Should the clock stop short for good, the drain limit ends it.
        if (!m_drainClock.isValid()) {
            m_drainClock.start();
            m_drainPoll.start();
        }
        const bool heardAll = played >= m_framesToPlay - m_takeRate * EndToleranceMs / 1000;
        if (heardAll || m_drainClock.elapsed() >= m_drainLimitMs) {
            playbackFinished();
            return true;
        }
    } else if (m_progressClock.elapsed() >= StallLimitMs) {
        playbackFinished();
        return true;
    }
    return false;
}

} // namespace tiradex
