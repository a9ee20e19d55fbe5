#pragma once

// Recordings for the tests, packaged as the recorder packages a take: a WAV
// file under the member name "temp.wav" and the duration record under the
// reply's base name with ".tsd", written with the product's ZipClass.

#include "AudioChecks.h"
#include "core/app/Module1.h"
#include "core/audio/WavFile.h"
#include "core/transfer/ZipClass.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

#include <cmath>
#include <optional>

namespace tiradex {

// A 16-bit mono WAV file of `ms` milliseconds at `rate` Hz holding a 440 Hz
// sine: exactly `ms` long when `rate` is a multiple of 1000.
inline QByteArray ToneWav(qint64 ms, int rate = 8000)
{
    PcmAudio audio;
    audio.sampleRate = rate;
    audio.channels = 1;
    const qint64 frames = PcmAudio::MsToFrames(ms, rate);
    audio.samples.resize(std::size_t(frames));
    for (qint64 i = 0; i < frames; ++i)
        audio.samples[std::size_t(i)] = qint16(8000.0 * std::sin(2.0 * M_PI * 440.0 * i / rate));
    return EncodeWav16(audio, nullptr).value_or(QByteArray());
}

// An 8-bit unsigned mono WAV at 11025 Hz, as older installations recorded,
// of `frames` samples of a square wave.
inline QByteArray OldEightBitWav(int frames)
{
    QByteArray data;
    for (int i = 0; i < frames; ++i)
        data.append(char(128 + (i / 12 % 2 ? 60 : -60)));
    return HandMadeWav(1, 11025, 8, data);
}

// Writes the vox file of `baseName` into the play folder: "temp.wav" with
// `wav` (none when `wav` is empty) and, when `record` is given, baseName +
// ".tsd" with it. Returns whether the archive was written.
inline bool WriteVox(const Module1 &state, const QString &baseName, const QByteArray &wav,
                     const std::optional<QByteArray> &record = QByteArray("1,1,1\r\n"))
{
    QTemporaryDir staging;
    const QString takePath = staging.filePath(QStringLiteral("temp.wav"));
    const QString recordPath = staging.filePath(baseName + QStringLiteral(".tsd"));
    ZipClass zip;
    if (!wav.isEmpty()) {
        QFile take(takePath);
        if (!take.open(QIODevice::WriteOnly) || take.write(wav) != wav.size())
            return false;
        take.close();
        if (!zip.AddFile(takePath))
            return false;
    }
    if (record) {
        QFile recordFile(recordPath);
        if (!recordFile.open(QIODevice::WriteOnly) || recordFile.write(*record) != record->size())
            return false;
        recordFile.close();
        if (!zip.AddFile(recordPath))
            return false;
    }
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
