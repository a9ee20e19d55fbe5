#pragma once

#include <QString>

namespace tiradex {

// The texts of the note, photo and browser windows, as the user sees them.
namespace AnnotationTexts {
inline const QString FileError = QStringLiteral("File error");
inline const QString DeletePhoto = QStringLiteral("Delete this photo ?");
inline const QString BrowserTitle = QStringLiteral("Photos et notes");
inline const QString DeleteCaption = QStringLiteral("Supprimer");
inline const QString FullScreenCaption = QStringLiteral("Plein écran");
// The photo dialog's one filter: "JPEG files (*.*)" showing "*.jpg" files.
inline const QString PhotoFilter = QStringLiteral("JPEG files (*.*) (*.jpg)");
// A note that cannot be saved (the old note stays as it was); Yes closes
// the editor without it, No keeps it open.
inline QString NoteNotSaved(const QString &reason)
{
    return QStringLiteral("The note could not be saved.\n%1\nClose the note without saving it ?")
        .arg(reason);
}
} // namespace AnnotationTexts

} // namespace tiradex
