#pragma once

#include "core/audio/SampleBlocks.h"
#include "platform/audio/SoundInput.h"

#include <QObject>
#include <QTimer>

#include <memory>
#include <vector>

class QAudioSource;
class QIODevice;
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
    bool isOpen() const override { return source_ != nullptr; }
    bool blockDone() const override;
    bool takeBlock(QByteArray *block) override;

private:
    void readInput();

    std::unique_ptr<QAudioSource> source_;
    QIODevice *io_ = nullptr;
    std::unique_ptr<MonoCaptureConverter> converter_;
    std::vector<qint16> converted_;
    QByteArray bytes_;
    SampleBlocks blocks_{BlockLength};
    QTimer poll_;
};
