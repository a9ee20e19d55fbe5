#include "core/audio/PcmConvert.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace tiradex {

LinearResampler::LinearResampler(int inRate, int outRate)
    : m_inRate(std::max(inRate, 1)), m_outRate(std::max(outRate, 1))
{
}

void LinearResampler::push(const float *in, qsizetype count, std::vector<float> *out)
{
    if (count <= 0)
        return;
    const qint64 last = m_consumed + count - 1;
    auto sampleAt = [&](qint64 index) {
        return index < m_consumed ? m_previous : in[index - m_consumed];
    };
    for (;;) {
        const qint64 position = m_nextOutput * m_inRate;
        const qint64 index = position / m_outRate;
        const qint64 remainder = position % m_outRate;
        // An output between two inputs needs the later one; an output that
        // falls exactly on an input needs only that one.
        if (index > last || (remainder != 0 && index + 1 > last))
            break;
        const float a = sampleAt(index);
        float value = a;
        if (remainder != 0) {
            const float b = sampleAt(index + 1);
            value = a + (b - a) * float(double(remainder) / double(m_outRate));
        }
        out->push_back(value);
        ++m_nextOutput;
    }
    m_previous = in[count - 1];
    m_consumed += count;
}

void DecodeSamples(QByteArrayView bytes, SampleFormat format, std::vector<float> *out)
{
    const auto *data = reinterpret_cast<const unsigned char *>(bytes.data());
    const qsizetype size = bytes.size();
    switch (format) {
    case SampleFormat::UInt8:
        for (qsizetype i = 0; i < size; ++i)
            out->push_back((float(data[i]) - 128.0f) / 128.0f);
        break;
    case SampleFormat::Int16:
        for (qsizetype i = 0; i + 2 <= size; i += 2) {
            qint16 v;
            std::memcpy(&v, data + i, 2);
            out->push_back(float(v) / 32768.0f);
        }
        break;
    case SampleFormat::Int32:
        for (qsizetype i = 0; i + 4 <= size; i += 4) {
            qint32 v;
            std::memcpy(&v, data + i, 4);
            out->push_back(float(double(v) / 2147483648.0));
        }
        break;
    case SampleFormat::Float:
        for (qsizetype i = 0; i + 4 <= size; i += 4) {
            float v;
            std::memcpy(&v, data + i, 4);
            out->push_back(std::isfinite(v) ? std::clamp(v, -1.0f, 1.0f) : 0.0f);
        }
        break;
    }
}

namespace {
qint16 toInt16(float value)
{
    return qint16(std::clamp(std::lround(double(value) * 32768.0), -32768L, 32767L));
}
} // namespace

void EncodeSamples(const float *samples, qsizetype count, SampleFormat format, QByteArray *out)
{
    for (qsizetype i = 0; i < count; ++i) {
        const float value = std::clamp(samples[i], -1.0f, 1.0f);
        switch (format) {
        case SampleFormat::UInt8:
            out->append(char(std::clamp(std::lround(double(value) * 128.0) + 128, 0L, 255L)));
            break;
        case SampleFormat::Int16: {
            const qint16 v = toInt16(value);
            out->append(reinterpret_cast<const char *>(&v), 2);
            break;
        }
        case SampleFormat::Int32: {
            const auto v = qint32(std::clamp(std::llround(double(value) * 2147483648.0),
                                             -2147483648LL, 2147483647LL));
            out->append(reinterpret_cast<const char *>(&v), 4);
            break;
        }
        case SampleFormat::Float:
            out->append(reinterpret_cast<const char *>(&value), 4);
            break;
        }
    }
}

MonoCaptureConverter::MonoCaptureConverter(const PcmFormat &in, int outRate)
    : m_in(in), m_resampler(in.sampleRate, outRate)
{
}

void MonoCaptureConverter::push(QByteArrayView bytes, std::vector<qint16> *out)
{
    const int frameBytes = m_in.bytesPerFrame();
    if (frameBytes <= 0)
        return;
    m_partial.append(bytes.data(), bytes.size());
    const qsizetype whole = m_partial.size() / frameBytes * frameBytes;
    if (whole == 0)
        return;
    m_decoded.clear();
    DecodeSamples(QByteArrayView(m_partial.constData(), whole), m_in.sampleFormat, &m_decoded);
    m_partial.remove(0, whole);

    m_mono.clear();
    const std::size_t channels = std::size_t(m_in.channels);
    for (std::size_t i = 0; i + channels <= m_decoded.size(); i += channels) {
        float sum = 0.0f;
        for (std::size_t c = 0; c < channels; ++c)
            sum += m_decoded[i + c];
        m_mono.push_back(sum / float(channels));
    }
    m_resampled.clear();
    m_resampler.push(m_mono.data(), qsizetype(m_mono.size()), &m_resampled);
    for (float value : m_resampled)
        out->push_back(toInt16(value));
}

PcmAudio ConvertToMono(const PcmAudio &audio, int rate)
{
    if (audio.channels == 1 && audio.sampleRate == rate)
        return audio;
    PcmAudio result;
    result.sampleRate = rate;
    result.channels = 1;
    if (audio.channels < 1 || audio.sampleRate < 1)
        return result;
    MonoCaptureConverter converter(PcmFormat{audio.sampleRate, audio.channels, SampleFormat::Int16},
                                   rate);
    converter.push(QByteArrayView(reinterpret_cast<const char *>(audio.samples.data()),
                                  qsizetype(audio.samples.size() * sizeof(qint16))),
                   &result.samples);
    // The stream holds back the outputs that would need a sample after the
    // last; a whole sound keeps its length, so they repeat the last value.
    const auto expected = std::size_t(audio.frames() * rate / audio.sampleRate);
    if (!result.samples.empty() && result.samples.size() < expected)
        result.samples.resize(expected, result.samples.back());
    return result;
}

PcmPlaybackStream::PcmPlaybackStream(const PcmAudio &audio, qint64 fromFrame,
                                     const PcmFormat &format, QObject *parent)
    : QIODevice(parent), m_audio(audio), m_format(format),
      m_nextFrame(std::clamp<qint64>(fromFrame, 0, audio.frames()))
{
    for (int c = 0; c < std::max(m_format.channels, 1); ++c)
        m_resamplers.emplace_back(m_audio.sampleRate, m_format.sampleRate);
    open(QIODevice::ReadOnly | QIODevice::Unbuffered);
}

bool PcmPlaybackStream::atEnd() const
{
    return m_pendingStart >= m_pending.size() && m_nextFrame >= m_audio.frames();
}

qint64 PcmPlaybackStream::bytesAvailable() const
{
    const qint64 remainingFrames = m_audio.frames() - m_nextFrame;
    const qint64 outFrames =
        m_audio.sampleRate > 0 ? remainingFrames * m_format.sampleRate / m_audio.sampleRate : 0;
    return (m_pending.size() - m_pendingStart) + outFrames * m_format.bytesPerFrame() +
           QIODevice::bytesAvailable();
}

void PcmPlaybackStream::convertNextChunk()
{
    const qint64 chunkFrames = 4096;
    const qint64 frames = std::min(chunkFrames, m_audio.frames() - m_nextFrame);
    if (frames <= 0 || m_audio.channels < 1 || m_format.channels < 1)
        return;
    const int inChannels = m_audio.channels;
    const int outChannels = m_format.channels;
    const qint16 *source = m_audio.samples.data() + m_nextFrame * inChannels;
    m_nextFrame += frames;

    // Channel n of the output takes channel n of the input when the counts
    // agree; otherwise every output channel takes the mix of all inputs.
    std::vector<std::vector<float>> resampled{std::size_t(outChannels)};
    std::vector<float> channel(static_cast<std::size_t>(frames));
    for (int c = 0; c < outChannels; ++c) {
        for (qint64 f = 0; f < frames; ++f) {
            const qint16 *frame = source + f * inChannels;
            float value;
            if (inChannels == outChannels) {
                value = float(frame[c]) / 32768.0f;
            } else {
                float sum = 0.0f;
                for (int k = 0; k < inChannels; ++k)
                    sum += float(frame[k]);
                value = sum / float(inChannels) / 32768.0f;
            }
            channel[std::size_t(f)] = value;
        }
        m_resamplers[std::size_t(c)].push(channel.data(), qsizetype(frames),
                                          &resampled[std::size_t(c)]);
    }
    const std::size_t outFrames = resampled[0].size();
    std::vector<float> interleaved(outFrames * std::size_t(outChannels));
    for (std::size_t f = 0; f < outFrames; ++f)
        for (int c = 0; c < outChannels; ++c)
            interleaved[f * std::size_t(outChannels) + std::size_t(c)] =
                resampled[std::size_t(c)][f];
    if (m_pendingStart > 0) {
        m_pending.remove(0, m_pendingStart);
        m_pendingStart = 0;
    }
    EncodeSamples(interleaved.data(), qsizetype(interleaved.size()), m_format.sampleFormat,
                  &m_pending);
}

qint64 PcmPlaybackStream::readData(char *data, qint64 maxSize)
{
    // Whole output frames only, so a reader never splits a frame.
    const qint64 frameBytes = std::max(m_format.bytesPerFrame(), 1);
    const qint64 wanted = maxSize / frameBytes * frameBytes;
    while (m_pending.size() - m_pendingStart < wanted && m_nextFrame < m_audio.frames())
        convertNextChunk();
    const qint64 n = std::min<qint64>(wanted, m_pending.size() - m_pendingStart);
    if (n > 0) {
        std::memcpy(data, m_pending.constData() + m_pendingStart, std::size_t(n));
        m_pendingStart += n;
    }
    return n;
}

} // namespace tiradex
