#include "core/annotations/AnnotationFiles.h"

#include "core/app/FileIo.h"

#include <QDir>
#include <QFileInfo>

namespace tiradex {

QStringList AnnotationEntries(const QString &folder, const QString &extension)
{
    const QStringList names =
        QDir(folder).entryList({QStringLiteral("*") + extension}, QDir::Files, QDir::Name);
    QStringList entries;
    for (const QString &name : names) {
        // "*.not" also matches "x.note" on some file systems; the name must
        // have a leading character and the extension itself.
        if (name.size() > 5 && name.endsWith(extension, Qt::CaseInsensitive))
            entries.append(name.mid(1, name.size() - 5));
    }
    return entries;
}

QString AnnotationFileOfEntry(const QString &folder, const QString &entry, const QString &extension)
{
    return folder + QStringLiteral("/_") + entry + extension;
}

bool AttachPhoto(const QString &source, const QString &photoPath, QString *error)
{
    if (!QFileInfo(source).isFile()) {
        if (error)
            *error = QStringLiteral("The file %1 does not exist.").arg(source);
        return false;
    }
    QDir().mkpath(QFileInfo(photoPath).path());
    return CopyFileAtomically(source, photoPath, error);
}

} // namespace tiradex
