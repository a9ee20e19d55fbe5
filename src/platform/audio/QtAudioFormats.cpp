#include "platform/audio/QtAudioFormats.h"

namespace tiradex {

PcmFormat ToPcmFormat(const QAudioFormat &format)
{
    PcmFormat pcm;
    pcm.sampleRate = format.sampleRate();
    pcm.channels = format.channelCount();
    switch (format.sampleFormat()) {
    case QAudioFormat::UInt8:
        pcm.sampleFormat = SampleFormat::UInt8;
        break;
    case QAudioFormat::Int32:
        pcm.sampleFormat = SampleFormat::Int32;
        break;
    case QAudioFormat::Float:
        pcm.sampleFormat = SampleFormat::Float;
        break;
    default:
        pcm.sampleFormat = SampleFormat::Int16;
        break;
    }
    return pcm;
}

QAudioFormat ToQAudioFormat(const PcmFormat &format)
{
    QAudioFormat qt;
    qt.setSampleRate(format.sampleRate);
    qt.setChannelCount(format.channels);
    switch (format.sampleFormat) {
    case SampleFormat::UInt8:
        qt.setSampleFormat(QAudioFormat::UInt8);
        break;
    case SampleFormat::Int16:
        qt.setSampleFormat(QAudioFormat::Int16);
        break;
    case SampleFormat::Int32:
        qt.setSampleFormat(QAudioFormat::Int32);
        break;
    case SampleFormat::Float:
        qt.setSampleFormat(QAudioFormat::Float);
        break;
    }
    return qt;
}

QAudioFormat ChooseFormat(const QAudioDevice &device, const PcmFormat &wanted)
{
    const QAudioFormat format = ToQAudioFormat(wanted);
    if (device.isFormatSupported(format))
        return format;
    QAudioFormat preferred = device.preferredFormat();
    if (preferred.sampleFormat() == QAudioFormat::Unknown)
        preferred.setSampleFormat(QAudioFormat::Int16);
    return preferred;
}

} // namespace tiradex
