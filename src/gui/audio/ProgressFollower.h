#pragma once

#include "gui/audio/PlaybackHost.h"

#include <QObject>
#include <QString>

#include <functional>

namespace tiradex {

class MediaDevice;

// Follows one media device's playback and reports it for a progress slider
// and label; runs the device's end action when the take has been heard to
// its end.
//
// start() is the start of progress: value 1, maximum the take's length in
// milliseconds, then "Play". From then on each status update of the device
// applies the progress rule: value := position (held between 0 and the
// maximum, as a slider holds it); text := ProgressText(value, maximum,
// suffix); when the value equals the maximum the playback is over:
// following stops and the end action runs (it may start the next take with
// start() again). Status updates that arrive while not following change
// nothing.
class ProgressFollower : public QObject
{
    Q_OBJECT

public:
    // The label suffixes: reply playback, scene listening and partner
    // replies use Secondes, the rehearsal's prompt and gap Seconds.
    static inline const QString Secondes = QStringLiteral(" secondes");
    static inline const QString Seconds = QStringLiteral(" seconds");

    using Display = std::function<void(const ProgressShown &)>;

    ProgressFollower(MediaDevice &device, Display display, const QString &suffix,
                     QObject *parent = nullptr);

    void setEndAction(std::function<void()> action) { m_endAction = std::move(action); }

    // The start of progress on the opened device. Returns false when "Play"
    // was refused; nothing is followed then (no end would ever come).
    bool start();
    // Stops following; what was shown stays.
    void stop() { m_following = false; }
    // The maximum of the last take started.
    int maximum() const { return m_maximum; }

    MediaDevice &device() const { return m_device; }

private:
    void onStatusUpdate();

    MediaDevice &m_device;
    Display m_display;
    QString m_suffix;
    std::function<void()> m_endAction;
    int m_maximum = 0;
    bool m_following = false;
};

} // namespace tiradex
