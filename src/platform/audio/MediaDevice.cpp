#include "platform/audio/MediaDevice.h"

#include "core/audio/PcmConvert.h"
#include "core/audio/WavFile.h"

#include <QFileInfo>

#include <algorithm>

namespace tiradex {

MediaDevice::MediaDevice(QObject *parent) : QObject(parent) {}

MediaDevice::~MediaDevice() = default;

bool MediaDevice::sendCommand(const QString &command)
{
    commandSent(command);
    m_error.clear();
    const QString name = command.trimmed().toLower();
    if (name == QLatin1String("open"))
        return open();
    if (name == QLatin1String("close")) {
        closeDevice();
        return true;
    }
    if (m_mode == Mode::NotOpen)
        return fail(QStringLiteral("The media device is not open."));
    if (name == QLatin1String("record"))
        return record();
    if (name == QLatin1String("pause"))
        return pause();
    if (name == QLatin1String("play"))
        return play();
    if (name == QLatin1String("stop"))
        return stop();
    if (name == QLatin1String("save"))
        return save();
    return fail(QStringLiteral("Unknown media command \"%1\".").arg(command));
}

qint64 MediaDevice::length() const
{
    return m_take.durationMs();
}

qint64 MediaDevice::position() const
{
    if (m_mode == Mode::Recording)
        return length();
    if (m_mode != Mode::Playing)
        return PcmAudio::FramesToMs(m_positionFrame, m_take.sampleRate);
    // Only the end of the playback may report the full length: a progress
    // display ends a playback when position and length agree.
    const qint64 ms = PcmAudio::FramesToMs(currentFrame(), m_take.sampleRate);
    return std::min(ms, std::max<qint64>(length() - 1, 0));
}

qint64 MediaDevice::currentFrame() const
{
    if (m_mode != Mode::Playing)
        return m_positionFrame;
    return std::min(m_playFrom + std::max<qint64>(playedFrames(), 0), m_take.frames());
}

bool MediaDevice::fail(const QString &text)
{
    m_error = text;
    return false;
}

bool MediaDevice::open()
{
    closeDevice();
    if (m_deviceType.compare(QLatin1String("WaveAudio"), Qt::CaseInsensitive) != 0)
        return fail(QStringLiteral("The device type \"%1\" is not supported.").arg(m_deviceType));
    const QString format = m_timeFormat.trimmed().toLower();
    if (format != QLatin1String("milliseconds") && format != QLatin1String("ms"))
        return fail(QStringLiteral("The time format \"%1\" is not supported.").arg(m_timeFormat));
    if (m_fileName.isEmpty())
        return fail(QStringLiteral("No file name is set."));

    PcmAudio take;
    if (QFileInfo::exists(m_fileName)) {
        QString error;
        std::optional<PcmAudio> loaded = ReadWavFile(m_fileName, &error);
        if (!loaded)
            return fail(error);
        take = std::move(*loaded);
    } else {
        take.sampleRate = RecordingRate;
        take.channels = 1;
    }
    m_take = std::move(take);
    m_modified = false;
    m_positionFrame = 0;
    m_playFrom = 0;
    m_mode = Mode::Stopped;
    setStatusUpdates(true);
    return true;
}

void MediaDevice::closeDevice()
{
    if (m_mode == Mode::NotOpen)
        return;
    if (m_mode == Mode::Recording)
        endCapture();
    else if (m_mode == Mode::Playing)
        endPlayback();
    setStatusUpdates(false);
    m_mode = Mode::NotOpen;
    m_take = PcmAudio();
    m_modified = false;
    m_positionFrame = 0;
    m_playFrom = 0;
}

bool MediaDevice::record()
{
    if (m_mode == Mode::Recording)
        return true;
    if (m_mode == Mode::Playing) {
        m_positionFrame = currentFrame();
        endPlayback();
        m_mode = Mode::Stopped;
    }
    if (m_take.channels != 1 || m_take.sampleRate != RecordingRate)
        m_take = ConvertToMono(m_take, RecordingRate);
    QString error;
    if (!beginCapture(&error))
        return fail(error);
    m_mode = Mode::Recording;
    return true;
}

bool MediaDevice::pause()
{
    if (m_mode == Mode::Recording) {
        endCapture();
        m_positionFrame = m_take.frames();
        m_mode = Mode::Paused;
    } else if (m_mode == Mode::Playing) {
        m_positionFrame = currentFrame();
        endPlayback();
        m_mode = Mode::Paused;
    }
    return true;
}

bool MediaDevice::play()
{
    if (m_mode == Mode::Playing)
        return true;
    if (m_mode == Mode::Recording) {
        endCapture();
        m_positionFrame = m_take.frames();
        m_mode = Mode::Stopped;
    }
    if (m_positionFrame >= m_take.frames()) {
        // Nothing left to hear: the playback is over at once, and the next
        // status update reports position == length.
        m_positionFrame = m_take.frames();
        m_mode = Mode::Stopped;
        return true;
    }
    QString error;
    if (!beginPlayback(m_take, m_positionFrame, &error))
        return fail(error);
    m_playFrom = m_positionFrame;
    m_mode = Mode::Playing;
    return true;
}

bool MediaDevice::stop()
{
    if (m_mode == Mode::Recording) {
        endCapture();
        m_positionFrame = m_take.frames();
    } else if (m_mode == Mode::Playing) {
        m_positionFrame = currentFrame();
        endPlayback();
    }
    m_mode = Mode::Stopped;
    return true;
}

bool MediaDevice::save()
{
    if (m_mode == Mode::Recording) {
        endCapture();
        m_positionFrame = m_take.frames();
        m_mode = Mode::Stopped;
    }
    if (!m_modified && QFileInfo::exists(m_fileName))
        return true;
    if (m_take.frames() == 0)
        return fail(QStringLiteral("Nothing has been recorded."));
    QString error;
    if (!WriteWavFile(m_fileName, m_take, &error))
        return fail(error);
    m_modified = false;
    return true;
}

void MediaDevice::appendCaptured(const qint16 *samples, qsizetype count)
{
    if (m_mode != Mode::Recording || count <= 0)
        return;
    const qint64 room = PcmAudio::MsToFrames(MaxTakeMs, m_take.sampleRate) - m_take.frames();
    const qint64 n = std::min<qint64>(count, std::max<qint64>(room, 0));
    m_take.samples.insert(m_take.samples.end(), samples, samples + n);
    if (n > 0)
        m_modified = true;
}

void MediaDevice::playbackFinished()
{
    if (m_mode != Mode::Playing)
        return;
    endPlayback();
    m_positionFrame = m_take.frames();
    m_mode = Mode::Stopped;
}

} // namespace tiradex
