#include "platform/audio/MediaDevice.h"

#include "core/audio/PcmConvert.h"
#include "core/audio/WavFile.h"

#include <QFileInfo>

#include <algorithm>

MediaDevice::MediaDevice(QObject *parent) : QObject(parent) {}

MediaDevice::~MediaDevice() = default;

bool MediaDevice::sendCommand(const QString &command)
{
    commandSent(command);
    error_.clear();
    const QString name = command.trimmed().toLower();
    if (name == QLatin1String("open"))
        return open();
    if (name == QLatin1String("close")) {
        closeDevice();
        return true;
    }
    if (mode_ == Mode::NotOpen)
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
    return take_.durationMs();
}

qint64 MediaDevice::position() const
{
    if (mode_ == Mode::Recording)
        return length();
    if (mode_ != Mode::Playing)
        return PcmAudio::FramesToMs(positionFrame_, take_.sampleRate);
    // Only the end of the playback may report the full length: a progress
    // display ends a playback when position and length agree.
    const qint64 ms = PcmAudio::FramesToMs(currentFrame(), take_.sampleRate);
    return std::min(ms, std::max<qint64>(length() - 1, 0));
}

qint64 MediaDevice::currentFrame() const
{
    if (mode_ != Mode::Playing)
        return positionFrame_;
    return std::min(playFrom_ + std::max<qint64>(playedFrames(), 0), take_.frames());
}

bool MediaDevice::fail(const QString &text)
{
    error_ = text;
    return false;
}

bool MediaDevice::open()
{
    closeDevice();
    if (deviceType_.compare(QLatin1String("WaveAudio"), Qt::CaseInsensitive) != 0)
        return fail(QStringLiteral("The device type \"%1\" is not supported.").arg(deviceType_));
    const QString format = timeFormat_.trimmed().toLower();
    if (format != QLatin1String("milliseconds") && format != QLatin1String("ms"))
        return fail(QStringLiteral("The time format \"%1\" is not supported.").arg(timeFormat_));
    if (fileName_.isEmpty())
        return fail(QStringLiteral("No file name is set."));

    PcmAudio take;
    if (QFileInfo::exists(fileName_)) {
        QString error;
        std::optional<PcmAudio> loaded = ReadWavFile(fileName_, &error);
        if (!loaded)
            return fail(error);
        take = std::move(*loaded);
    } else {
        take.sampleRate = RecordingRate;
        take.channels = 1;
    }
    take_ = std::move(take);
    modified_ = false;
    positionFrame_ = 0;
    playFrom_ = 0;
    mode_ = Mode::Stopped;
    setStatusUpdates(true);
    return true;
}

void MediaDevice::closeDevice()
{
    if (mode_ == Mode::NotOpen)
        return;
    if (mode_ == Mode::Recording)
        endCapture();
    else if (mode_ == Mode::Playing)
        endPlayback();
    setStatusUpdates(false);
    mode_ = Mode::NotOpen;
    take_ = PcmAudio();
    modified_ = false;
    positionFrame_ = 0;
    playFrom_ = 0;
}

bool MediaDevice::record()
{
    if (mode_ == Mode::Recording)
        return true;
    if (mode_ == Mode::Playing) {
        positionFrame_ = currentFrame();
        endPlayback();
        mode_ = Mode::Stopped;
    }
    if (take_.channels != 1 || take_.sampleRate != RecordingRate)
        take_ = ConvertToMono(take_, RecordingRate);
    QString error;
    if (!beginCapture(&error))
        return fail(error);
    mode_ = Mode::Recording;
    return true;
}

bool MediaDevice::pause()
{
    if (mode_ == Mode::Recording) {
        endCapture();
        positionFrame_ = take_.frames();
        mode_ = Mode::Paused;
    } else if (mode_ == Mode::Playing) {
        positionFrame_ = currentFrame();
        endPlayback();
        mode_ = Mode::Paused;
    }
    return true;
}

bool MediaDevice::play()
{
    if (mode_ == Mode::Playing)
        return true;
    if (mode_ == Mode::Recording) {
        endCapture();
        positionFrame_ = take_.frames();
        mode_ = Mode::Stopped;
    }
    if (positionFrame_ >= take_.frames()) {
        // Nothing left to hear: the playback is over at once, and the next
        // status update reports position == length.
        positionFrame_ = take_.frames();
        mode_ = Mode::Stopped;
        return true;
    }
    QString error;
    if (!beginPlayback(take_, positionFrame_, &error))
        return fail(error);
    playFrom_ = positionFrame_;
    mode_ = Mode::Playing;
    return true;
}

bool MediaDevice::stop()
{
    if (mode_ == Mode::Recording) {
        endCapture();
        positionFrame_ = take_.frames();
    } else if (mode_ == Mode::Playing) {
        positionFrame_ = currentFrame();
        endPlayback();
    }
    mode_ = Mode::Stopped;
    return true;
}

bool MediaDevice::save()
{
    if (mode_ == Mode::Recording) {
        endCapture();
        positionFrame_ = take_.frames();
        mode_ = Mode::Stopped;
    }
    if (!modified_ && QFileInfo::exists(fileName_))
        return true;
    if (take_.frames() == 0)
        return fail(QStringLiteral("Nothing has been recorded."));
    QString error;
    if (!WriteWavFile(fileName_, take_, &error))
        return fail(error);
    modified_ = false;
    return true;
}

void MediaDevice::appendCaptured(const qint16 *samples, qsizetype count)
{
    if (mode_ != Mode::Recording || count <= 0)
        return;
    const qint64 room = PcmAudio::MsToFrames(MaxTakeMs, take_.sampleRate) - take_.frames();
    const qint64 n = std::min<qint64>(count, std::max<qint64>(room, 0));
    take_.samples.insert(take_.samples.end(), samples, samples + n);
    if (n > 0)
        modified_ = true;
}

void MediaDevice::playbackFinished()
{
    if (mode_ != Mode::Playing)
        return;
    endPlayback();
    positionFrame_ = take_.frames();
    mode_ = Mode::Stopped;
}
