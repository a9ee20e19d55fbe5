#pragma once

// Records what the speakers play, from a source of the sound server that
// monitors them, as 16-bit mono samples at 44100 Hz.

#include <QAudioDevice>
#include <QAudioFormat>
#include <QAudioSource>
#include <QMediaDevices>
#include <QObject>
#include <QTimer>

#include <memory>
#include <vector>

namespace tiradex {

class SpeakerCapture : public QObject
{
public:
    static constexpr int Rate = 44100;
    std::vector<qint16> samples;

    // Starts recording the source `sourceId`; false when there is none.
    bool start(const QByteArray &sourceId)
    {
        QAudioDevice chosen;
        for (const QAudioDevice &device : QMediaDevices::audioInputs()) {
            if (device.id() == sourceId)
                chosen = device;
        }
        if (chosen.isNull())
            return false;
        QAudioFormat format;
        format.setSampleRate(Rate);
        format.setChannelCount(1);
        format.setSampleFormat(QAudioFormat::Int16);
        m_source = std::make_unique<QAudioSource>(chosen, format);
        m_source->setBufferSize(Rate * 2 * 20 / 1000); // 20 ms
        m_io = m_source->start();
        if (!m_io)
            return false;
        connect(m_io, &QIODevice::readyRead, this, &SpeakerCapture::read);
        m_poll.setInterval(5);
        connect(&m_poll, &QTimer::timeout, this, &SpeakerCapture::read);
        m_poll.start();
        return true;
    }
    void stop()
    {
        read();
        m_poll.stop();
        if (m_source)
            m_source->stop();
    }

private:
    void read()
    {
        if (!m_io)
            return;
        const QByteArray bytes = m_io->readAll();
        if (bytes.isEmpty())
            return;
        const auto *data = reinterpret_cast<const qint16 *>(bytes.constData());
        samples.insert(samples.end(), data, data + bytes.size() / 2);
    }

    std::unique_ptr<QAudioSource> m_source;
    QIODevice *m_io = nullptr;
    QTimer m_poll;
};

} // namespace tiradex
