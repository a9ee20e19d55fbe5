#include "platform/audio/QtSoundInput.h"

#include "core/audio/AudioTexts.h"
#include "core/audio/PcmConvert.h"
#include "platform/audio/QtAudioFormats.h"

#include <QAudioDevice>
#include <QAudioSource>
#include <QMediaDevices>

namespace tiradex {

QtSoundInput::QtSoundInput(QObject *parent) : QObject(parent)
{
    // Read on a timer as well as on readyRead, which Qt 6.4 on PulseAudio
    // does not always emit.
    m_poll.setInterval(20);
    connect(&m_poll, &QTimer::timeout, this, &QtSoundInput::readInput);
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
        *error = AudioTexts::NoSoundInputDevice();
        return false;
    }
    const QAudioFormat format = ChooseFormat(device, PcmFormat{SampleRate, 1, SampleFormat::UInt8});
    m_source = std::make_unique<QAudioSource>(device, format);
    m_io = m_source->start();
    if (!m_io || m_source->error() != QAudio::NoError) {
        *error = QStringLiteral("The sound input device \"%1\" could not be started.")
                     .arg(device.description());
        m_io = nullptr;
        m_source.release()->deleteLater();
        return false;
    }
    m_converter = std::make_unique<MonoCaptureConverter>(ToPcmFormat(format), SampleRate);
    m_blocks.clear();
    connect(m_io, &QIODevice::readyRead, this, &QtSoundInput::readInput);
    m_poll.start();
    return true;
}

void QtSoundInput::close()
{
    if (!m_source)
        return;
    m_poll.stop();
    if (m_io)
        disconnect(m_io, nullptr, this, nullptr);
    m_source->stop();
    m_io = nullptr;
    m_converter.reset();
    m_source.release()->deleteLater();
    m_blocks.clear();
}

void QtSoundInput::readInput()
{
    if (!m_io || !m_converter)
        return;
    const QByteArray raw = m_io->readAll();
    if (raw.isEmpty())
        return;
    m_converted.clear();
    m_converter->push(raw, &m_converted);
    m_bytes.resize(qsizetype(m_converted.size()));
    for (std::size_t i = 0; i < m_converted.size(); ++i)
        m_bytes[qsizetype(i)] = char((m_converted[i] >> 8) + 128);
    m_blocks.push(m_bytes);
}

bool QtSoundInput::blockDone() const
{
    return m_blocks.done();
}

bool QtSoundInput::takeBlock(QByteArray *block)
{
    readInput();
    return m_blocks.take(block);
}

} // namespace tiradex
