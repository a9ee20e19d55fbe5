#pragma once

#include <QString>
#include <QStringList>

namespace tiradex {

// The browser's entries of the files in `folder` matching "*" + `extension`
// (".not", ".jp1"): each name less its leading "_" and its four-character
// extension ("_0057_HUBERT.not" gives "0057_HUBERT"), in name order, hence
// in reply-number order. A missing folder gives no entries.
QStringList AnnotationEntries(const QString &folder, const QString &extension);

// The file of a browser entry in `folder`: folder + "/_" + entry + extension.
QString AnnotationFileOfEntry(const QString &folder, const QString &entry,
                              const QString &extension);

// Copies the chosen picture `source` byte for byte to the reply's photo file
// `photoPath` (written under a temporary name and renamed into place). The
// photos folder is created when missing. Fails without leaving a partial file.
bool AttachPhoto(const QString &source, const QString &photoPath, QString *error);

} // namespace tiradex
