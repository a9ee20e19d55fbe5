#pragma once

#include "gui/app/PlayWindowHost.h"

#include "core/play/SceneCursor.h"

#include <QString>

#include <optional>

class QWidget;

namespace tiradex {

// What a progress slider and its label show; without a maximum the slider
// keeps its range, without a text the label keeps its text.
struct ProgressShown
{
    int value = 1;
    std::optional<int> maximum;
    std::optional<QString> text;
};

// What the playbacks of the play window (one reply, the rest of the scene)
// may read of it and ask of it. They never touch its controls: the window
// connects its buttons to their slots and shows what they report.
class PlaybackHost : public PlayWindowHost
{
public:
    enum class Playback
    {
        Reply, // the reply panel's playback of one reply (MMControl1)
        Scene  // the listening to the rest of the scene (MMControl2)
    };
    // Which progress slider and label: the reply panel's or the rehearsal
    // panel's.
    enum class Panel
    {
        Reply,
        Rehearsal
    };

    // The open scene and the index of the reply shown.
    virtual const SceneCursor &scene() const = 0;
    // The playback-aware next reply; nothing at the scene's last one.
    virtual void nextReply() = 0;
    // A playback starts: what could disturb it is locked and its stop
    // button enabled, until playbackEnded().
    virtual void playbackStarted(Playback playback) = 0;
    virtual void playbackEnded(Playback playback) = 0;
    virtual void showProgress(Panel panel, const ProgressShown &progress) = 0;
    // The widget that owns the messages of a playback.
    virtual QWidget *messageOwner() = 0;

protected:
    ~PlaybackHost() = default;
};

} // namespace tiradex
