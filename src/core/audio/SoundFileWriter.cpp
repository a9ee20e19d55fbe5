#include "core/audio/SoundFileWriter.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <QTemporaryFile>

#include <sndfile.h>

#include <cstdio>

namespace tiradex {

namespace {
struct Format
{
    const char *extension;
    int format;
};

const Format Formats[] = {
    {"wav", SF_FORMAT_WAV | SF_FORMAT_PCM_16},          {"flac", SF_FORMAT_FLAC | SF_FORMAT_PCM_16},
    {"ogg", SF_FORMAT_OGG | SF_FORMAT_VORBIS},          {"oga", SF_FORMAT_OGG | SF_FORMAT_VORBIS},
    {"mp3", SF_FORMAT_MPEG | SF_FORMAT_MPEG_LAYER_III},
};

bool writable(int format, int rate)
{
    SF_INFO info{};
    info.samplerate = rate;
    info.channels = 1;
    info.format = format;
    return sf_format_check(&info) != 0;
}

int formatFor(const QString &path)
{
    const QString extension = QFileInfo(path).suffix().toLower();
    for (const Format &f : Formats) {
        if (extension == QLatin1String(f.extension))
            return f.format;
    }
    return 0;
}
} // namespace

struct SoundFileWriter::Impl
{
    QString target;
    QString temporary;
    SNDFILE *file = nullptr;

    ~Impl()
    {
        if (file)
            sf_close(file);
        if (!temporary.isEmpty())
            QFile::remove(temporary);
    }
};

SoundFileWriter::SoundFileWriter() = default;
SoundFileWriter::~SoundFileWriter() = default;

QStringList SoundFileWriter::WritableExtensions()
{
    QStringList list;
    for (const Format &f : Formats) {
        if (writable(f.format, 22050))
            list.append(QString::fromLatin1(f.extension));
    }
    return list;
}

bool SoundFileWriter::open(const QString &path, int sampleRate, QString *error)
{
    m_impl = std::make_unique<Impl>();
    const int format = formatFor(path);
    if (format == 0 || !writable(format, sampleRate)) {
        if (error)
            *error = QStringLiteral("%1: this kind of sound file cannot be written here "
                                    "(written: %2)")
                         .arg(path, WritableExtensions().join(QStringLiteral(", ")));
        return false;
    }
    m_impl->target = QFileInfo(path).absoluteFilePath();
    // The name is reserved by QTemporaryFile, then reopened by libsndfile.
    QTemporaryFile reserve(m_impl->target + QStringLiteral(".XXXXXX.part"));
    reserve.setAutoRemove(false);
    if (!reserve.open()) {
        if (error)
            *error = QStringLiteral("The file %1 cannot be written: %2")
                         .arg(path, reserve.errorString());
        return false;
    }
    m_impl->temporary = reserve.fileName();
    reserve.close();
    SF_INFO info{};
    info.samplerate = sampleRate;
    info.channels = 1;
    info.format = format;
    m_impl->file = sf_open(QFile::encodeName(m_impl->temporary).constData(), SFM_WRITE, &info);
    if (!m_impl->file) {
        if (error)
            *error = QStringLiteral("The file %1 cannot be written: %2")
                         .arg(path, QString::fromUtf8(sf_strerror(nullptr)));
        return false;
    }
    if ((format & SF_FORMAT_SUBMASK) == SF_FORMAT_VORBIS) {
        double quality = 0.4; // voice stays clear, a scene stays small
        sf_command(m_impl->file, SFC_SET_VBR_ENCODING_QUALITY, &quality, sizeof quality);
    }
    return true;
}

bool SoundFileWriter::write(const qint16 *samples, qint64 count, QString *error)
{
    if (!m_impl || !m_impl->file) {
        if (error)
            *error = QStringLiteral("No sound file is open");
        return false;
    }
    if (sf_write_short(m_impl->file, samples, count) != count) {
        if (error)
            *error = QStringLiteral("The file %1 cannot be written: %2")
                         .arg(m_impl->target, QString::fromUtf8(sf_strerror(m_impl->file)));
        return false;
    }
    return true;
}

bool SoundFileWriter::commit(QString *error)
{
    if (!m_impl || !m_impl->file) {
        if (error)
            *error = QStringLiteral("No sound file is open");
        return false;
    }
    const int closed = sf_close(m_impl->file);
    m_impl->file = nullptr;
    // The reserved name was private to its owner; the track is an ordinary file.
    QFile::setPermissions(m_impl->temporary, QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                                 QFileDevice::ReadGroup | QFileDevice::ReadOther);
    // rename() replaces the target in one step: no moment without a file.
    if (closed != 0 || std::rename(QFile::encodeName(m_impl->temporary).constData(),
                                   QFile::encodeName(m_impl->target).constData()) != 0) {
        if (error)
            *error = QStringLiteral("The file %1 cannot be written").arg(m_impl->target);
        return false;
    }
    m_impl->temporary.clear();
    return true;
}

} // namespace tiradex
