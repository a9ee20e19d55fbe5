#pragma once

#include <QIcon>
#include <QString>

namespace tiradex {

// The pictures of the play window, drawn in code so that they stay sharp at
// every screen density: the tree's "kclose" (an act, a closed book), "kopen"
// (the scene open in the view, an open book) and "kfile" (a scene, a page),
// and the record button's red dot. Each call draws them anew; callers keep
// what they reuse.
namespace PlayIcons {
// The tree picture of `key` ("kclose", "kopen", "kfile"); a null icon for
// any other key.
QIcon treeImage(const QString &key);
// A scene node's icon: "kfile", and "kopen" while the node is selected.
QIcon openedSceneIcon();
QIcon recordDot();
} // namespace PlayIcons

} // namespace tiradex
