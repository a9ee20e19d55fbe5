#include "core/audio/Tones.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace tiradex {

PcmAudio SineTone(double frequency, int durationMs, int sampleRate, double amplitude, int fadeMs)
{
    PcmAudio tone;
    tone.sampleRate = sampleRate;
    tone.channels = 1;
    const qint64 frames = qint64(durationMs) * sampleRate / 1000;
    const qint64 fadeFrames = std::min<qint64>(qint64(fadeMs) * sampleRate / 1000, frames / 2);
    const double peak = std::clamp(amplitude, 0.0, 1.0) * 32767.0;
    tone.samples.reserve(std::size_t(frames));
    for (qint64 i = 0; i < frames; ++i) {
        double gain = 1.0;
        if (fadeFrames > 0) {
            const qint64 edge = std::min(i, frames - 1 - i);
            gain = std::min(1.0, double(edge) / double(fadeFrames));
        }
        const double phase = 2.0 * std::numbers::pi * frequency * double(i) / sampleRate;
        tone.samples.push_back(qint16(std::lround(peak * gain * std::sin(phase))));
    }
    return tone;
}

PcmAudio Concatenate(const PcmAudio &first, const PcmAudio &second)
{
    PcmAudio joined = first;
    joined.samples.insert(joined.samples.end(), second.samples.begin(), second.samples.end());
    return joined;
}

PcmAudio DeletionSound()
{
    const int rate = 22050;
    return Concatenate(SineTone(784.0, 90, rate, 0.5, 8), SineTone(523.25, 160, rate, 0.5, 20));
}

PcmAudio BeepSound()
{
    return SineTone(880.0, 180, 22050, 0.6, 10);
}

} // namespace tiradex
