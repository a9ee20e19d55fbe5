#include "platform/audio/QtBeep.h"

#include "core/audio/PcmConvert.h"
#include "core/audio/Tones.h"
#include "platform/audio/QtAudioFormats.h"

#include <QApplication>
#include <QAudioDevice>
#include <QAudioSink>
#include <QMediaDevices>

namespace tiradex {

QtBeep::QtBeep(QObject *parent) : QObject(parent), m_tone(BeepSound()) {}

QtBeep::~QtBeep()
{
    stopTone();
}

void QtBeep::play()
{
    stopTone();
    const QAudioDevice device = QMediaDevices::defaultAudioOutput();
    if (!device.isNull()) {
        const QAudioFormat format =
            ChooseFormat(device, PcmFormat{m_tone.sampleRate, 1, SampleFormat::Int16});
        m_stream = std::make_unique<PcmPlaybackStream>(m_tone, 0, ToPcmFormat(format));
        m_sink = std::make_unique<QAudioSink>(device, format);
        m_sink->start(m_stream.get());
        if (m_sink->error() == QAudio::NoError || m_sink->error() == QAudio::UnderrunError)
            return;
        stopTone();
    }
    QApplication::beep();
}

void QtBeep::stopTone()
{
    if (m_sink) {
        m_sink->stop();
        m_sink.release()->deleteLater();
    }
    if (m_stream)
        m_stream.release()->deleteLater();
}

} // namespace tiradex
