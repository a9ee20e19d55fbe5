#include "platform/audio/QtSoundInput.h"

#include "core/audio/PcmConvert.h"
#include "platform/audio/QtAudioFormats.h"

#include <QAudioDevice>
#include <QAudioSource>
#include <QMediaDevices>

QtSoundInput::QtSoundInput(QObject *parent) : QObject(parent)
{
    // Read on a timer as well as on readyRead, which Qt 6.4 on PulseAudio
    // does not always emit.
    poll_.setInterval(20);
    connect(&poll_, &QTimer::timeout, this, &QtSoundInput::readInput);
}

QtSoundInput::~QtSoundInput()
{
    close();
}

bool QtSoundInput::open(QString *error)
{
    close();
    const QAudioDevice device = QMediaDevices::defaultAudioInput();
    if (device.isNull()) {
        *error = QStringLiteral("No sound input device was found.");
        return false;
    }
    const QAudioFormat format = ChooseFormat(device, PcmFormat{SampleRate, 1, SampleFormat::UInt8});
    source_ = std::make_unique<QAudioSource>(device, format);
    io_ = source_->start();
    if (!io_ || source_->error() != QAudio::NoError) {
        *error = QStringLiteral("The sound input device \"%1\" could not be started.")
                     .arg(device.description());
        io_ = nullptr;
        source_.release()->deleteLater();
        return false;
    }
    converter_ = std::make_unique<MonoCaptureConverter>(ToPcmFormat(format), SampleRate);
    blocks_.clear();
    connect(io_, &QIODevice::readyRead, this, &QtSoundInput::readInput);
    poll_.start();
    return true;
}

void QtSoundInput::close()
{
    if (!source_)
        return;
    poll_.stop();
    if (io_)
        disconnect(io_, nullptr, this, nullptr);
    source_->stop();
    io_ = nullptr;
    converter_.reset();
    source_.release()->deleteLater();
    blocks_.clear();
}

void QtSoundInput::readInput()
{
    if (!io_ || !converter_)
        return;
    const QByteArray raw = io_->readAll();
    if (raw.isEmpty())
        return;
    converted_.clear();
    converter_->push(raw, &converted_);
    bytes_.resize(qsizetype(converted_.size()));
    for (std::size_t i = 0; i < converted_.size(); ++i)
        bytes_[qsizetype(i)] = char((converted_[i] >> 8) + 128);
    blocks_.push(bytes_);
}

bool QtSoundInput::blockDone() const
{
    return blocks_.done();
}

bool QtSoundInput::takeBlock(QByteArray *block)
{
    readInput();
    return blocks_.take(block);
}
