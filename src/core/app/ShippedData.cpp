#include "core/app/ShippedData.h"

#include "core/app/FileIo.h"

#include <QDir>
#include <QFileInfo>

namespace tiradex {

QStringList ShippedFileNames()
{
    return {QStringLiteral("merchantvenice.txt"),
            QStringLiteral("merchantvenice.dat"),
            QStringLiteral("kingjohn.txt"),
            QStringLiteral("kingjohn.dat"),
            QStringLiteral("verone.txt"),
            QStringLiteral("verone.dat"),
            QStringLiteral("del.wav"),
            QStringLiteral("tiradex.htm")};
}

QString FindShippedDataFolder(const QString &applicationDir)
{
    const QDir dir(applicationDir);
    const QStringList candidates = {dir.absoluteFilePath(QStringLiteral("../share/tiradex")),
                                    dir.absoluteFilePath(QStringLiteral("../data"))};
    for (const QString &candidate : candidates) {
        if (QFileInfo::exists(candidate + QStringLiteral("/merchantvenice.txt")))
            return QDir::cleanPath(candidate);
    }
    return QString();
}

bool InstallShippedFiles(const QString &dataFolder, const QString &appFolder, QString *error)
{
    if (!QDir().mkpath(appFolder)) {
        if (error)
            *error = QStringLiteral("Cannot create the folder %1.").arg(appFolder);
        return false;
    }
    const QDir source(dataFolder);
    const QDir target(appFolder);
    for (const QString &name : ShippedFileNames()) {
        const QString from = source.filePath(name);
        const QString to = target.filePath(name);
        if (QFileInfo::exists(to) || !QFileInfo::exists(from))
            continue;
        if (!CopyFileAtomically(from, to, error))
            return false;
    }
    // The help page's pictures, in their own folder beside it.
    const QDir pictures(source.filePath(QStringLiteral("help")));
    const QStringList names = pictures.entryList({QStringLiteral("*.png")}, QDir::Files);
    if (names.isEmpty())
        return true;
    const QString pictureFolder = target.filePath(QStringLiteral("help"));
    if (!QDir().mkpath(pictureFolder)) {
        if (error)
            *error = QStringLiteral("Cannot create the folder %1.").arg(pictureFolder);
        return false;
    }
    for (const QString &name : names) {
        const QString to = QDir(pictureFolder).filePath(name);
        if (!QFileInfo::exists(to) && !CopyFileAtomically(pictures.filePath(name), to, error))
            return false;
    }
    return true;
}

} // namespace tiradex
