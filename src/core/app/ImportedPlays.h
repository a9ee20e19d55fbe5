#pragma once

#include "core/app/PlayCatalogue.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <optional>

namespace tiradex {

// The plays the user imported, listed in the catalogue file "plays.ini" of
// the application folder: one record per play, its code and its title in
// the quoted-record form ("hamlet","The Tragedy of Hamlet"). Each play is
// stored as the shipped ones are: code + ".txt" and the enciphered
// code + ".dat" beside the catalogue.

// The catalogue file's name in the application folder.
QString ImportedPlaysFileName();

// The imported plays, in catalogue order, as entries the "Plays" menu and
// the play selection take (window title = title, caption = title + " ...").
// The file is untrusted: records whose code is not a plain lower-case code,
// repeats a code or names a shipped play are skipped; a missing file is an
// empty list.
QList<PlayCatalogueEntry> ReadImportedPlays(const QString &appFolder);

// The catalogue file's bytes for `plays` (code and title of each).
QByteArray FormatImportedPlays(const QList<PlayCatalogueEntry> &plays);

// A code for a new play: the title's letters and digits in lower case
// (accents dropped, at most 24), "play" when none are left; a number is
// appended while the code is a shipped play's, is listed in `taken`, or
// names a file or folder of the application folder.
QString MakePlayCode(const QString &title, const QString &appFolder,
                     const QList<PlayCatalogueEntry> &taken);

// Stores a play: writes code.txt and the enciphered code.dat, then the
// catalogue with the play added, each file replaced atomically (a crash
// leaves the former catalogue whole). Returns the new entry.
std::optional<PlayCatalogueEntry> StoreImportedPlay(const QString &appFolder, const QString &title,
                                                    const QByteArray &playText,
                                                    const QByteArray &clearCharactersFile,
                                                    QString *error);

} // namespace tiradex
