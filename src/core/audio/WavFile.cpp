#include "core/audio/WavFile.h"

#include "core/app/FileIo.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>

#include <sndfile.h>

#include <memory>

namespace tiradex {

namespace {
// libsndfile reads and writes through these callbacks, so files and memory
// buffers take the same road and no path has to be converted to a C string.
sf_count_t deviceLength(void *user)
{
    return static_cast<QIODevice *>(user)->size();
}

sf_count_t deviceSeek(sf_count_t offset, int whence, void *user)
{
    auto *device = static_cast<QIODevice *>(user);
    qint64 target = offset;
    if (whence == SEEK_CUR)
        target += device->pos();
    else if (whence == SEEK_END)
        target += device->size();
    if (target < 0 || !device->seek(target))
        return -1;
    return device->pos();
}

sf_count_t deviceRead(void *data, sf_count_t count, void *user)
{
    const qint64 n = static_cast<QIODevice *>(user)->read(static_cast<char *>(data), count);
    return n < 0 ? 0 : n;
}

sf_count_t deviceWrite(const void *data, sf_count_t count, void *user)
{
    const qint64 n = static_cast<QIODevice *>(user)->write(static_cast<const char *>(data), count);
    return n < 0 ? 0 : n;
}

sf_count_t deviceTell(void *user)
{
    return static_cast<QIODevice *>(user)->pos();
}

SF_VIRTUAL_IO deviceIo()
{
    return SF_VIRTUAL_IO{deviceLength, deviceSeek, deviceRead, deviceWrite, deviceTell};
}

struct SndfileCloser
{
    void operator()(SNDFILE *file) const { sf_close(file); }
};
using SndfileHandle = std::unique_ptr<SNDFILE, SndfileCloser>;

void setError(QString *error, const QString &text)
{
    if (error)
        *error = text;
}

bool isWavContainer(int format)
{
    const int container = format & SF_FORMAT_TYPEMASK;
    return container == SF_FORMAT_WAV || container == SF_FORMAT_WAVEX ||
           container == SF_FORMAT_RF64;
}

std::optional<PcmAudio> readWav(QIODevice &device, const QString &name, QString *error,
                                const WavLimits &limits)
{
    SF_VIRTUAL_IO io = deviceIo();
    SF_INFO info{};
    SndfileHandle file(sf_open_virtual(&io, SFM_READ, &info, &device));
    if (!file) {
        setError(error, QStringLiteral("%1 is not a sound file that can be read (%2).")
                            .arg(name, QString::fromUtf8(sf_strerror(nullptr))));
        return std::nullopt;
    }
    if (!isWavContainer(info.format)) {
        setError(error, QStringLiteral("%1 is not a WAV file.").arg(name));
        return std::nullopt;
    }
    if (info.channels < 1 || info.channels > limits.maxChannels) {
        setError(error, QStringLiteral("%1 has %2 channels; at most %3 are accepted.")
                            .arg(name)
                            .arg(info.channels)
                            .arg(limits.maxChannels));
        return std::nullopt;
    }
    if (info.samplerate < limits.minSampleRate || info.samplerate > limits.maxSampleRate) {
        setError(error, QStringLiteral("%1 has a sample rate of %2 Hz, outside %3 to %4 Hz.")
                            .arg(name)
                            .arg(info.samplerate)
                            .arg(limits.minSampleRate)
                            .arg(limits.maxSampleRate));
        return std::nullopt;
    }

    PcmAudio audio;
    audio.sampleRate = info.samplerate;
    audio.channels = info.channels;
    // The frame count of the header is not trusted: read in chunks until the
    // data end and stop at the limit, whatever the header says.
    const qint64 maxFrames = limits.maxSamples / info.channels;
    const sf_count_t chunkFrames = 16384;
    std::vector<qint16> chunk(std::size_t(chunkFrames * info.channels));
    for (;;) {
        const sf_count_t got = sf_readf_short(file.get(), chunk.data(), chunkFrames);
        if (got <= 0)
            break;
        if (audio.frames() + got > maxFrames) {
            setError(error, QStringLiteral("%1 is too long (more than %2 samples).")
                                .arg(name)
                                .arg(limits.maxSamples));
            return std::nullopt;
        }
        audio.samples.insert(audio.samples.end(), chunk.begin(),
                             chunk.begin() + std::ptrdiff_t(got * info.channels));
    }
    return audio;
}
} // namespace

std::optional<PcmAudio> ReadWavFile(const QString &path, QString *error, const WavLimits &limits)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        setError(error,
                 QFileInfo::exists(path)
                     ? QStringLiteral("Cannot read the file %1: %2").arg(path, file.errorString())
                     : QStringLiteral("The file %1 does not exist.").arg(path));
        return std::nullopt;
    }
    return readWav(file, path, error, limits);
}

std::optional<PcmAudio> ReadWavBytes(const QByteArray &bytes, QString *error,
                                     const WavLimits &limits)
{
    QByteArray copy = bytes;
    QBuffer buffer(&copy);
    buffer.open(QIODevice::ReadOnly);
    return readWav(buffer, QStringLiteral("The sound"), error, limits);
}

std::optional<QByteArray> EncodeWav16(const PcmAudio &audio, QString *error)
{
    if (audio.channels < 1 || audio.sampleRate < 1) {
        setError(error, QStringLiteral("The sound has no sample rate or no channels."));
        return std::nullopt;
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadWrite);
    SF_VIRTUAL_IO io = deviceIo();
    SF_INFO info{};
    info.samplerate = audio.sampleRate;
    info.channels = audio.channels;
    info.format = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
    {
        SndfileHandle file(sf_open_virtual(&io, SFM_WRITE, &info, &buffer));
        if (!file) {
            setError(error, QStringLiteral("Cannot encode the sound: %1")
                                .arg(QString::fromUtf8(sf_strerror(nullptr))));
            return std::nullopt;
        }
        const sf_count_t frames = audio.frames();
        if (sf_writef_short(file.get(), audio.samples.data(), frames) != frames) {
            setError(error, QStringLiteral("Cannot encode the sound: %1")
                                .arg(QString::fromUtf8(sf_strerror(file.get()))));
            return std::nullopt;
        }
    } // closing the handle writes the final header sizes
    return bytes;
}

bool WriteWavFile(const QString &path, const PcmAudio &audio, QString *error)
{
    const std::optional<QByteArray> bytes = EncodeWav16(audio, error);
    return bytes && WriteFileAtomically(path, *bytes, error);
}

} // namespace tiradex
