#pragma once

#include <QSize>

class QWidget;

namespace tiradex {

// Shows the tool window `window` for the window `owner` without waiting for
// it. When the owner sits in the frame's window area, the tool window
// becomes a sub-window there, of `size`; otherwise it is a window of its
// own, deleted with the owner. Either way it is deleted when it closes.
// Returns the widget that frames it (the sub-window, or `window` itself).
QWidget *ShowToolWindow(QWidget *owner, QWidget *window, const QSize &size);

} // namespace tiradex
