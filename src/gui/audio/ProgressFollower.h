#pragma once

#include <QObject>
#include <QString>

#include <functional>

class MediaDevice;
class QLabel;
class QSlider;

// Follows one media device's playback on a progress slider and label, and
// runs the device's end action when the take has been heard to its end.
//
// start() is the start of progress: slider value 1, slider maximum the
// take's length in milliseconds, then "Play". From then on each status
// update of the device applies the progress rule: slider value := position;
// label := ProgressText(value, maximum, suffix); when the slider value
// equals its maximum the playback is over: following stops and the end
// action runs (it may start the next take with start() again). Status
// updates that arrive while not following change nothing.
class ProgressFollower : public QObject
{
    Q_OBJECT

public:
    // The label suffixes: reply playback, scene listening and partner
    // replies use Secondes, the rehearsal's prompt and gap Seconds.
    static inline const QString Secondes = QStringLiteral(" secondes");
    static inline const QString Seconds = QStringLiteral(" seconds");

    ProgressFollower(MediaDevice &device, QSlider &slider, QLabel &label, const QString &suffix,
                     QObject *parent = nullptr);

    void setEndAction(std::function<void()> action) { m_endAction = std::move(action); }

    // The start of progress on the opened device. Returns false when "Play"
    // was refused; nothing is followed then (no end would ever come).
    bool start();
    // Stops following; the slider and label are left as they are.
    void stop() { m_following = false; }
    bool isFollowing() const { return m_following; }

    MediaDevice &device() const { return m_device; }

private:
    void onStatusUpdate();

    MediaDevice &m_device;
    QSlider &m_slider;
    QLabel &m_label;
    QString m_suffix;
    std::function<void()> m_endAction;
    bool m_following = false;
};
