#pragma once

#include "gui/audio/PlaybackHost.h"

#include "core/rehearsal/RehearsalEngine.h"

#include <QString>

namespace tiradex {

// What the rehearsal shows on the play window: the engine's controls for
// its panel, bar and cover, and the gap's countdown on the cover.
struct RehearsalView
{
    RehearsalControls controls;
    QString countdown;
};

// What the rehearsal may read of the play window and ask of it, beyond what
// a playback may.
class RehearsalHost : public PlaybackHost
{
public:
    // Shows reply k of the open scene (a pick in the rehearsal's reply list).
    virtual void showReply(int k) = 0;
    // Opens the filter window, or brings the open one forward.
    virtual void openFilterWindow() = 0;
    virtual void showRehearsal(const RehearsalView &view) = 0;

protected:
    ~RehearsalHost() = default;
};

} // namespace tiradex
