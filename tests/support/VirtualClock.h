#pragma once

#include <QObject>

namespace tiradex {

// The time of the virtual sound devices. It stands still until a test moves
// it with advance(); no real time passes.
class VirtualClock : public QObject
{
    Q_OBJECT

public:
    static constexpr qint64 StepMs = 100;

    using QObject::QObject;

    // Moves the time on by `ms` in steps of at most StepMs; each step emits
    // stepped(), to which the devices answer with their status updates.
    void advance(qint64 ms);

Q_SIGNALS:
    void stepped(qint64 ms);
};

} // namespace tiradex
