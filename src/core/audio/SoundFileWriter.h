#pragma once

#include <QString>
#include <QtGlobal>

#include <memory>

namespace tiradex {

// Writes mono 16-bit sound to a file whose format follows its name's
// extension: ".wav" (16-bit PCM), ".flac", ".ogg"/".oga" (Ogg Vorbis) and
// ".mp3" where the installed libsndfile writes MP3. The sound goes to a
// temporary file beside the target, renamed over it by commit(); a writer
// destroyed without commit() removes the temporary file and leaves the
// target as it was.
class SoundFileWriter
{
public:
    SoundFileWriter();
    ~SoundFileWriter();
    SoundFileWriter(const SoundFileWriter &) = delete;
    SoundFileWriter &operator=(const SoundFileWriter &) = delete;

    // The extensions (lower case, without the dot) this machine can write.
    static QStringList WritableExtensions();

    // Starts a file for `path` at `sampleRate`. Fails, with *error, for an
    // extension that cannot be written or a temporary file that cannot be made.
    bool open(const QString &path, int sampleRate, QString *error);
    bool write(const qint16 *samples, qint64 count, QString *error);
    // Finishes the file and puts it in place.
    bool commit(QString *error);

private:
    struct Impl;
    std::unique_ptr<Impl> m_impl;
};

} // namespace tiradex
