// WAV files arrive inside vox archives from other installations: reading one
// must never crash, and a readable one must convert for any output.
#include "core/audio/PcmConvert.h"
#include "core/audio/WavFile.h"

#include <cstddef>
#include <cstdint>

using namespace tiradex;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    WavLimits limits;
    limits.maxSamples = 1 << 20;
    const std::optional<PcmAudio> audio = ReadWavBytes(bytes, nullptr, limits);
    if (!audio)
        return 0;
    PcmPlaybackStream stream(*audio, audio->frames() / 3, PcmFormat{48000, 2, SampleFormat::Float});
    char buffer[4096];
    while (!stream.atEnd() && stream.read(buffer, sizeof buffer) > 0) {
    }
    ConvertToMono(*audio, 22050);
    return 0;
}
