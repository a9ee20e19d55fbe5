#pragma once

#include <QList>
#include <QString>

namespace tiradex {

// One play that the program offers in its "Plays" menu.
struct PlayCatalogueEntry
{
    QString menuName;     // object name of the menu entry, e.g. "mnumarchandvenise"
    QString menuCaption;  // "The merchant of Venice ..."
    QString playCode;     // "merchantvenice": names the text, characters file and play folder
    QString playTextFile; // playCode + ".txt"
    QString windowTitle;  // title of the play window
};

// The three plays, in menu order. The list is fixed.
const QList<PlayCatalogueEntry> &PlayCatalogue();

// The entry whose play code is `code`, or nullptr.
const PlayCatalogueEntry *FindPlay(const QString &code);

} // namespace tiradex
