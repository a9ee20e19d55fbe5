#include "platform/audio/SoundMeter.h"

#include "platform/Dialogs.h"
#include "platform/audio/SoundInput.h"

#include <algorithm>
#include <cstring>

SoundMeter::SoundMeter(SoundInput &input, Dialogs &dialogs)
    : input_(input), dialogs_(dialogs), copyArea_(CopyAreaLength, char(128))
{
}

SoundMeter::~SoundMeter()
{
    StopMeter();
}

bool SoundMeter::StartMeter(QWidget *parent)
{
    if (running_)
        return true;
    QString error;
    if (!input_.open(&error)) {
        dialogs_.information(parent, error);
        return false;
    }
    running_ = true;
    return true;
}

bool SoundMeter::ReadMeter()
{
    if (!running_ || !input_.takeBlock(&block_))
        return false;
    const qsizetype n = std::min<qsizetype>(block_.size(), ScopeLength);
    std::memcpy(copyArea_.data(), block_.constData(), std::size_t(n));
    return true;
}

void SoundMeter::StopMeter()
{
    if (!running_)
        return;
    running_ = false;
    input_.close();
}
