#pragma once

#include "core/audio/SampleBlocks.h"
#include "platform/audio/SoundInput.h"

#include <QObject>
#include <QTimer>

#include <memory>
#include <vector>

class QAudioSource;
class QIODevice;

namespace tiradex {

class MonoCaptureConverter;

// The scope's input on the default sound input through Qt Multimedia. It
// asks for 8-bit mono at 8000 Hz and converts what the input gives when
// the input insists on another format.
class QtSoundInput : public QObject, public SoundInput
{
    Q_OBJECT

public:
    explicit QtSoundInput(QObject *parent = nullptr);
    ~QtSoundInput() override;

    bool open(QString *error) override;
    void close() override;
    bool isOpen() const override { return m_source != nullptr; }
    bool blockDone() const override;
    bool takeBlock(QByteArray *block) override;

private:
    void readInput();

    std::unique_ptr<QAudioSource> m_source;
    QIODevice *m_io = nullptr;
    std::unique_ptr<MonoCaptureConverter> m_converter;
    std::vector<qint16> m_converted;
    QByteArray m_bytes;
    SampleBlocks m_blocks{BlockLength};
    QTimer m_poll;
};

} // namespace tiradex
