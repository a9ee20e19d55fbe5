#pragma once

#include "core/audio/PcmAudio.h"

#include <QByteArray>
#include <QtEndian>

namespace tiradex {

// Frequency of the first channel of `audio` from its zero crossings: a
// sine of f Hz crosses zero 2 f times a second. 0 for silence.
inline double ZeroCrossingFrequency(const PcmAudio &audio)
{
    const qint64 frames = audio.frames();
    if (frames < 2 || audio.sampleRate <= 0)
        return 0.0;
    qint64 crossings = 0;
    bool negative = audio.samples[0] < 0;
    for (qint64 i = 1; i < frames; ++i) {
        const bool now = audio.samples[std::size_t(i * audio.channels)] < 0;
        if (now != negative)
            ++crossings;
        negative = now;
    }
    return double(crossings) / 2.0 / (double(frames) / audio.sampleRate);
}

// Appends `value` little-endian, as WAV fields and samples are stored.
template <class T> void AppendLe(QByteArray &bytes, T value)
{
    char b[sizeof value];
    qToLittleEndian(value, b);
    bytes.append(b, sizeof value);
}

// A canonical PCM WAV file: RIFF header, a 16-byte "fmt " chunk and a
// "data" chunk whose declared size is `declaredDataSize` (the size of
// `data` when negative).
inline QByteArray HandMadeWav(int channels, int rate, int bits, const QByteArray &data,
                              qint64 declaredDataSize = -1)
{
    const quint32 dataSize = quint32(declaredDataSize < 0 ? data.size() : declaredDataSize);
    QByteArray wav("RIFF");
    AppendLe<quint32>(wav, 36 + dataSize);
    wav.append("WAVEfmt ");
    AppendLe<quint32>(wav, 16);
    AppendLe<quint16>(wav, 1); // PCM
    AppendLe<quint16>(wav, quint16(channels));
    AppendLe<quint32>(wav, quint32(rate));
    AppendLe<quint32>(wav, quint32(rate * channels * bits / 8));
    AppendLe<quint16>(wav, quint16(channels * bits / 8));
    AppendLe<quint16>(wav, quint16(bits));
    wav.append("data");
    AppendLe<quint32>(wav, dataSize);
    wav.append(data);
    return wav;
}

} // namespace tiradex
