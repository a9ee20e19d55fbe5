#include "core/audio/TakePackage.h"

#include "core/app/FileIo.h"
#include "core/transfer/ZipClass.h"

#include <QFileInfo>

#include <algorithm>

namespace tiradex {

namespace {
qint16 toInt16(qint64 value)
{
    return qint16(std::clamp<qint64>(value, -32768, 32767));
}
} // namespace

QByteArray DurationRecordLine(int act, int scene, qint64 lengthMs)
{
    return QByteArray::number(toInt16(act)) + ',' + QByteArray::number(toInt16(scene)) + ',' +
           QByteArray::number(toInt16(lengthMs / 1000)) + "\r\n";
}

PackageResult PackageTake(const QString &appFolder, const QString &baseName, int act, int scene,
                          qint64 lengthMs, QString *error)
{
    const QString record = appFolder + baseName + QStringLiteral(".tsd");
    if (!WriteFileAtomically(record, DurationRecordLine(act, scene, lengthMs), error))
        return PackageResult::Failed;
    const QString take = appFolder + QStringLiteral("temp.wav");
    const QFileInfo takeInfo(take);
    if (!takeInfo.exists() || takeInfo.size() < 1)
        return PackageResult::NoTake;
    // The archive is named after the take: its name less ".wav", plus ".vox".
    const QString archive = take.left(take.size() - 4) + QStringLiteral(".vox");
    ZipClass zip;
    if (!zip.AddFile(take) || !zip.AddFile(record) || !zip.WriteZip(archive, true)) {
        if (error)
            *error = zip.errorString();
        return PackageResult::Failed;
    }
    return PackageResult::Packaged;
}

bool SavePackagedTake(const QString &appFolder, const QString &voxPath, QString *error)
{
    return CopyFileAtomically(appFolder + QStringLiteral("temp.vox"), voxPath, error);
}

} // namespace tiradex
