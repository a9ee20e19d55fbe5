#pragma once

#include <QString>

namespace tiradex {

// The reply shown in the play window, as a tool window reads it at the
// moment it acts. Paths of the reply's files come from Module1's path
// operations on `baseName`.
struct CurrentReply
{
    int index = -1;    // position in the scene, -1 when no reply is shown
    QString fileName;  // "_0057_HUBERT.txt"
    QString baseName;  // "_0057_HUBERT"
    QString number;    // "0057", the reply-number box's text
    QString character; // "HUBERT", the text of LbNom
    QString actText;   // "ACT 2"
    QString sceneText; // "SCENE 3"
    int act = 0;
    int scene = 0;
    bool isValid() const { return index >= 0; }
};

} // namespace tiradex
