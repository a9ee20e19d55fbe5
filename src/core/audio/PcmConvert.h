#pragma once

#include "core/audio/PcmAudio.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QIODevice>

#include <vector>

namespace tiradex {

// Changes the sample rate of one channel by linear interpolation, in a
// stream: the input may arrive in pieces of any size, and the output is the
// same as for one piece. Output sample k lies at input position
// k * inRate / outRate, computed exactly in integers, so long streams do
// not drift.
class LinearResampler
{
public:
    LinearResampler(int inRate, int outRate);

    // Appends to *out every output sample that the input so far determines.
    void push(const float *in, qsizetype count, std::vector<float> *out);

private:
    qint64 m_inRate;
    qint64 m_outRate;
    qint64 m_nextOutput = 0; // index of the next output sample
    qint64 m_consumed = 0;   // input samples pushed before the current piece
    float m_previous = 0.0f; // the last input sample of the previous piece
};

// Decodes interleaved samples of `format` to floats in -1.0 .. 1.0.
// `bytes` must hold whole samples.
void DecodeSamples(QByteArrayView bytes, SampleFormat format, std::vector<float> *out);
// Encodes floats (clipped to -1.0 .. 1.0) as samples of `format`, appended to *out.
void EncodeSamples(const float *samples, qsizetype count, SampleFormat format, QByteArray *out);

// Turns a stream of raw interleaved samples from a sound input into mono
// 16-bit samples at `outRate` (channels are averaged). Bytes may arrive in
// pieces of any size; a partial frame waits for the next piece.
class MonoCaptureConverter
{
public:
    MonoCaptureConverter(const PcmFormat &in, int outRate);

    void push(QByteArrayView bytes, std::vector<qint16> *out);

private:
    PcmFormat m_in;
    LinearResampler m_resampler;
    QByteArray m_partial;
    std::vector<float> m_decoded;
    std::vector<float> m_mono;
    std::vector<float> m_resampled;
};

// `audio` as mono 16-bit at `rate` (channels averaged, rate changed by
// linear interpolation), keeping its length. Returns a copy when it
// already is.
PcmAudio ConvertToMono(const PcmAudio &audio, int rate);

// A read-only stream of `audio` from frame `fromFrame` to its end, converted
// on the fly to `format` (rate, channels, sample encoding), for a sound
// output that pulls its data. Mono is copied to every output channel; more
// channels than the output has are mixed down. Memory stays bounded however
// long the sound is. `audio` must outlive the stream and stay unchanged.
class PcmPlaybackStream : public QIODevice
{
    Q_OBJECT

public:
    PcmPlaybackStream(const PcmAudio &audio, qint64 fromFrame, const PcmFormat &format,
                      QObject *parent = nullptr);

    bool isSequential() const override { return true; }
    bool atEnd() const override;
    qint64 bytesAvailable() const override;

protected:
    qint64 readData(char *data, qint64 maxSize) override;
    qint64 writeData(const char *, qint64) override { return -1; }

private:
    void convertNextChunk();

    const PcmAudio &m_audio;
    PcmFormat m_format;
    qint64 m_nextFrame;
    std::vector<LinearResampler> m_resamplers; // one per output channel
    QByteArray m_pending;                      // converted bytes not read yet
    qsizetype m_pendingStart = 0;
};

} // namespace tiradex
