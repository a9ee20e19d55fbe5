#include "gui/audio/ProgressFollower.h"

#include "core/audio/PlaybackOps.h"
#include "platform/audio/MediaDevice.h"

#include <algorithm>
#include <limits>

namespace tiradex {

namespace {
int sliderValue(qint64 ms, qint64 maximum = std::numeric_limits<int>::max())
{
    return int(std::clamp<qint64>(ms, 0, maximum));
}
} // namespace

ProgressFollower::ProgressFollower(MediaDevice &device, Display display, const QString &suffix,
                                   QObject *parent)
    : QObject(parent), m_device(device), m_display(std::move(display)), m_suffix(suffix)
{
    connect(&m_device, &MediaDevice::statusUpdate, this, &ProgressFollower::onStatusUpdate);
}

bool ProgressFollower::start()
{
    // A maximum of 0 (an empty take) is accepted and ends at the first
    // status update.
    m_maximum = sliderValue(m_device.length());
    m_display({std::min(1, m_maximum), m_maximum, std::nullopt});
    m_following = m_device.sendCommand(QStringLiteral("Play"));
    return m_following;
}

void ProgressFollower::onStatusUpdate()
{
    if (!m_following)
        return;
    const int value = sliderValue(m_device.position(), m_maximum);
    m_display({value, m_maximum, ProgressText(value, m_maximum, m_suffix)});
    if (value != m_maximum)
        return;
    m_following = false;
    if (m_endAction)
        m_endAction();
}

} // namespace tiradex
