#include "gui/audio/ProgressFollower.h"

#include "core/audio/PlaybackOps.h"
#include "platform/audio/MediaDevice.h"

#include <QLabel>
#include <QSlider>

#include <algorithm>
#include <limits>

namespace {
int sliderValue(qint64 ms)
{
    return int(std::clamp<qint64>(ms, 0, std::numeric_limits<int>::max()));
}
} // namespace

ProgressFollower::ProgressFollower(MediaDevice &device, QSlider &slider, QLabel &label,
                                   const QString &suffix, QObject *parent)
    : QObject(parent), device_(device), slider_(slider), label_(label), suffix_(suffix)
{
    connect(&device_, &MediaDevice::statusUpdate, this, &ProgressFollower::onStatusUpdate);
}

bool ProgressFollower::start()
{
    slider_.setValue(1);
    // The slider keeps its minimum at 0, so a maximum of 0 (an empty take)
    // is accepted and ends at the first status update.
    slider_.setMaximum(sliderValue(device_.length()));
    following_ = device_.sendCommand(QStringLiteral("Play"));
    return following_;
}

void ProgressFollower::onStatusUpdate()
{
    if (!following_)
        return;
    slider_.setValue(sliderValue(device_.position()));
    label_.setText(ProgressText(slider_.value(), slider_.maximum(), suffix_));
    if (slider_.value() != slider_.maximum())
        return;
    following_ = false;
    if (endAction_)
        endAction_();
}
