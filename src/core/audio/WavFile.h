#pragma once

#include "core/audio/PcmAudio.h"

#include <QByteArray>
#include <QString>

#include <optional>

namespace tiradex {

// Bounds on what a WAV file may hold before it is refused. WAV files are
// untrusted input (they arrive inside archives from other installations),
// so their size is checked before memory is given to them.
struct WavLimits
{
    qint64 maxSamples = qint64(1) << 25; // all channels together: 64 MiB as 16-bit
    int maxChannels = 8;
    int minSampleRate = 1000;
    int maxSampleRate = 192000;
};

// Reads a WAV file of any encoding that libsndfile decodes (8-bit unsigned,
// 16/24/32-bit, float, A-law, u-law, ADPCM, ...) into 16-bit samples. A WAV
// whose data chunk is shorter than its header claims yields the samples that
// are there. Fails, with a sentence in *error, for a missing or unreadable
// file, another container (AIFF, FLAC, ...), a rate or channel count outside
// `limits`, or more samples than limits.maxSamples.
std::optional<PcmAudio> ReadWavFile(const QString &path, QString *error,
                                    const WavLimits &limits = WavLimits());

// As ReadWavFile, from the bytes of a WAV file.
std::optional<PcmAudio> ReadWavBytes(const QByteArray &bytes, QString *error,
                                     const WavLimits &limits = WavLimits());

// The bytes of a 16-bit PCM WAV file holding `audio`. Fails for an audio
// without channels or rate.
std::optional<QByteArray> EncodeWav16(const PcmAudio &audio, QString *error);

// Writes `audio` as a 16-bit PCM WAV file, replacing `path` atomically: a
// failure leaves the previous file as it was.
bool WriteWavFile(const QString &path, const PcmAudio &audio, QString *error);

} // namespace tiradex
