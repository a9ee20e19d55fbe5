#pragma once

#include <QtGlobal>

#include <vector>

namespace tiradex {

// Sound held in memory as signed 16-bit samples, channels interleaved.
struct PcmAudio
{
    int sampleRate = 0;
    int channels = 0;
    std::vector<qint16> samples;

    qint64 frames() const { return channels > 0 ? qint64(samples.size()) / channels : 0; }
    // Length in milliseconds, rounded down.
    qint64 durationMs() const { return FramesToMs(frames(), sampleRate); }

    // Milliseconds of `frames` at `rate`, rounded down; 0 for a rate of 0.
    static qint64 FramesToMs(qint64 frames, int rate)
    {
        return rate > 0 ? frames * 1000 / rate : 0;
    }
    // The number of frames that lasts at least `ms` milliseconds (rounded up),
    // so that FramesToMs(MsToFrames(ms, rate), rate) == ms for rates of 1000 Hz and more.
    static qint64 MsToFrames(qint64 ms, int rate) { return (ms * rate + 999) / 1000; }
};

// Sample encodings that sound devices exchange.
enum class SampleFormat
{
    UInt8, // unsigned, 128 is silence
    Int16,
    Int32,
    Float // 32-bit, -1.0 to 1.0
};

struct PcmFormat
{
    int sampleRate = 0;
    int channels = 0;
    SampleFormat sampleFormat = SampleFormat::Int16;

    int bytesPerSample() const
    {
        switch (sampleFormat) {
        case SampleFormat::UInt8:
            return 1;
        case SampleFormat::Int16:
            return 2;
        case SampleFormat::Int32:
        case SampleFormat::Float:
            return 4;
        }
        return 2;
    }
    int bytesPerFrame() const { return bytesPerSample() * channels; }
    bool isValid() const { return sampleRate > 0 && channels > 0; }
};

} // namespace tiradex
