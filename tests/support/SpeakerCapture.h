#pragma once

// Records what the speakers play, from a source of the sound server that
// monitors them, as 16-bit mono samples at 44100 Hz, with the arrival time
// of every block so that samples map onto the program's clock.

#include <QAudioDevice>
#include <QAudioFormat>
#include <QAudioSource>
#include <QElapsedTimer>
#include <QMediaDevices>
#include <QObject>
#include <QTimer>

#include <algorithm>
#include <memory>
#include <utility>
#include <vector>

namespace tiradex {

class SpeakerCapture : public QObject
{
public:
    static constexpr int Rate = 44100;
    std::vector<qint16> samples;
    std::vector<std::pair<double, qint64>> arrivals; // time in ms of `clock`, samples so far

    // `clock` (started) gives the arrival times; `bufferMs` and `pollMs`
    // trade the precision of those times for load.
    explicit SpeakerCapture(const QElapsedTimer &clock, int bufferMs = 20, int pollMs = 5)
        : m_clock(clock), m_bufferMs(bufferMs), m_pollMs(pollMs)
    {
    }

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
        m_source->setBufferSize(Rate * 2 * m_bufferMs / 1000);
        m_io = m_source->start();
        if (!m_io)
            return false;
        connect(m_io, &QIODevice::readyRead, this, &SpeakerCapture::read);
        m_poll.setInterval(m_pollMs);
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

    // The program's time of sample i. A block arrives no sooner than its
    // last sample was delivered, so the earliest arrival, less the samples
    // received, gives the offset between the two clocks; it is taken from
    // the blocks of the 3 seconds around sample i only, since a long capture
    // drifts (and may lose samples when the machine is busy).
    double timeOfSample(qint64 i) const
    {
        const qint64 window = qint64(Rate) * 3;
        double offset = 1e300;
        for (const auto &[at, count] : arrivals) {
            if (count >= i - window && count <= i + window)
                offset = std::min(offset, at - double(count) * 1000.0 / Rate);
        }
        return offset + double(i) * 1000.0 / Rate;
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
        arrivals.emplace_back(double(m_clock.nsecsElapsed()) / 1e6, qint64(samples.size()));
    }

    const QElapsedTimer &m_clock;
    int m_bufferMs;
    int m_pollMs;
    std::unique_ptr<QAudioSource> m_source;
    QIODevice *m_io = nullptr;
    QTimer m_poll;
};

} // namespace tiradex
