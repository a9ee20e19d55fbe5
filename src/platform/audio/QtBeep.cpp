#include "platform/audio/QtBeep.h"

#include "core/audio/PcmConvert.h"
#include "core/audio/Tones.h"
#include "platform/audio/QtAudioFormats.h"

#include <QApplication>
#include <QAudioDevice>
#include <QAudioSink>
#include <QMediaDevices>

QtBeep::QtBeep(QObject *parent) : QObject(parent), tone_(BeepSound()) {}

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
            ChooseFormat(device, PcmFormat{tone_.sampleRate, 1, SampleFormat::Int16});
        stream_ = std::make_unique<PcmPlaybackStream>(tone_, 0, ToPcmFormat(format));
        sink_ = std::make_unique<QAudioSink>(device, format);
        sink_->start(stream_.get());
        if (sink_->error() == QAudio::NoError || sink_->error() == QAudio::UnderrunError)
            return;
        stopTone();
    }
    QApplication::beep();
}

void QtBeep::stopTone()
{
    if (sink_) {
        sink_->stop();
        sink_.release()->deleteLater();
    }
    if (stream_)
        stream_.release()->deleteLater();
}
