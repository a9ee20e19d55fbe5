#include "core/transfer/VoxCheck.h"

#include "core/transfer/ZipExtractionClass.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

bool CheckMediumVox(const QString &path, QString *error)
{
    auto fail = [error](const QString &why) {
        if (error)
            *error = why;
        return false;
    };
    QTemporaryDir scratch;
    if (!scratch.isValid())
        return fail(QStringLiteral("no scratch folder to read it"));
    QString firstError;
    bool extracted = false;
    {
        ZipExtractionClass reader;
        QObject::connect(&reader, &ZipExtractionClass::ZipError, &reader,
                         [&firstError](int, const QString &text) {
                             if (firstError.isEmpty())
                                 firstError = text;
                         });
        if (reader.OpenZip(path))
            extracted = reader.Extract(scratch.path(), false, false);
        reader.CloseZip();
    }
    if (!extracted || !firstError.isEmpty())
        return fail(firstError.isEmpty() ? QStringLiteral("not a readable archive") : firstError);
    const QFileInfoList members = QDir(scratch.path()).entryInfoList(QDir::Files | QDir::Hidden);
    bool take = false;
    bool record = false;
    for (const QFileInfo &member : members) {
        if (member.fileName() == QStringLiteral("temp.wav") && member.size() > 0)
            take = true;
        else if (member.fileName().endsWith(QStringLiteral(".tsd")) && !record)
            record = true;
        else
            return fail(QStringLiteral("unexpected member %1").arg(member.fileName()));
    }
    if (!take)
        return fail(QStringLiteral("no take \"temp.wav\""));
    if (!record)
        return fail(QStringLiteral("no duration record"));
    return true;
}
