#pragma once

#include "core/play/CurrentReply.h"

#include <QStringList>

namespace tiradex {

struct CharactersList;

// How a tool window shares the frame with the play window while it is open.
enum class ToolWindowRule
{
    DisablePlayWindow, // the play window is disabled (filter, notes, photos,
                       // reports, texts)
    HidePlayWindow,    // the play window is hidden (export, import)
    LockNavigation     // only navigation and the reply commands are locked (recorder)
};

// What a tool window opened from the play window may read of it and ask of
// it. Tool windows receive this interface, never the play window itself: they
// do not touch its controls.
class PlayWindowHost
{
public:
    // The reply shown now (invalid when no scene is open or it is empty).
    virtual CurrentReply currentReply() const = 0;
    // The open play's characters, in the order of its characters file.
    virtual const CharactersList &characters() const = 0;
    // The reply files of the open scene ("_0057_HUBERT.txt", ...) in order;
    // empty when no scene is open.
    virtual QStringList sceneReplyFiles() const = 0;
    // The reply's recording, note or photo changed on disk: the play window
    // sets its buttons for them again.
    virtual void refreshReplyFiles() = 0;
    // The filter (Module1::FilterCharacter) changed: the play window sets the
    // record button and the colour of the name for the reply shown again.
    virtual void filterChanged() = 0;

protected:
    ~PlayWindowHost() = default;
};

} // namespace tiradex
