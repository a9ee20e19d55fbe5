#include "VirtualClock.h"

#include <algorithm>

namespace tiradex {

void VirtualClock::advance(qint64 ms)
{
    while (ms > 0) {
        const qint64 step = std::min(ms, StepMs);
        ms -= step;
        Q_EMIT stepped(step);
    }
}

} // namespace tiradex
