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
    : QObject(parent), m_device(device), m_slider(slider), m_label(label), m_suffix(suffix)
{
    connect(&m_device, &MediaDevice::statusUpdate, this, &ProgressFollower::onStatusUpdate);
}

bool ProgressFollower::start()
{
    m_slider.setValue(1);
    // The slider keeps its minimum at 0, so a maximum of 0 (an empty take)
    // is accepted and ends at the first status update.
    m_slider.setMaximum(sliderValue(m_device.length()));
    m_following = m_device.sendCommand(QStringLiteral("Play"));
    return m_following;
}

void ProgressFollower::onStatusUpdate()
{
    if (!m_following)
        return;
    m_slider.setValue(sliderValue(m_device.position()));
    m_label.setText(ProgressText(m_slider.value(), m_slider.maximum(), m_suffix));
    if (m_slider.value() != m_slider.maximum())
        return;
    m_following = false;
    if (m_endAction)
        m_endAction();
}
