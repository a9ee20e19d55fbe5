#pragma once

// Recordings for the tests, packaged as the recorder packages a take: a WAV
// file under the member name "temp.wav" and the duration record under the
// reply's base name with ".tsd", written with the product's ZipClass.

#include "AudioChecks.h"
#include "core/app/Module1.h"
#include "core/audio/Tones.h"
#include "core/audio/WavFile.h"
#include "core/transfer/ZipClass.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

#include <optional>

namespace tiradex {

// A 16-bit mono WAV file of `ms` milliseconds at 8000 Hz holding a 440 Hz
// sine.
inline QByteArray ToneWav(qint64 ms)
{
    return EncodeWav16(SineTone(440.0, int(ms), 8000, 8000 / 32767.0, 0), nullptr)
        .value_or(QByteArray());
}

// Writes the vox file of `baseName` into the play folder: "temp.wav" with
// `wav` (none when `wav` is empty) and, when `record` is given, baseName +
// ".tsd" with it. Returns whether the archive was written.
inline bool WriteVox(const Module1 &state, const QString &baseName, const QByteArray &wav,
                     const std::optional<QByteArray> &record = QByteArray("1,1,1\r\n"))
{
    QTemporaryDir staging;
    ZipClass zip;
    const auto add = [&](const QString &name, const QByteArray &bytes) {
        QFile file(staging.filePath(name));
        return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() &&
               file.flush() && zip.AddFile(file.fileName());
    };
    if ((!wav.isEmpty() && !add(QStringLiteral("temp.wav"), wav)) ||
        (record && !add(baseName + QStringLiteral(".tsd"), *record)))
        return false;
    QDir().mkpath(state.VoxFolder());
    return zip.WriteZip(state.VoxPath(baseName), true);
}

// The scratch files that a playback leaves in the application folder.
inline QStringList ScratchFiles(const Module1 &state)
{
    return QDir(state.AppFolder)
        .entryList(
            {QStringLiteral("temp.wav"), QStringLiteral("temp.vox"), QStringLiteral("*.tsd")},
            QDir::Files);
}

} // namespace tiradex
