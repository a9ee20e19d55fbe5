#include "core/app/FileIo.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace tiradex {

std::optional<QByteArray> ReadWholeFile(const QString &path, qint64 maxBytes, QString *error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error) {
            *error =
                QFileInfo::exists(path)
                    ? QStringLiteral("Cannot read the file %1: %2").arg(path, file.errorString())
                    : QStringLiteral("The file %1 does not exist.").arg(path);
        }
        return std::nullopt;
    }
    if (file.size() > maxBytes) {
        if (error)
            *error = QStringLiteral("The file %1 is too large (%2 bytes, at most %3).")
                         .arg(path, QString::number(file.size()), QString::number(maxBytes));
        return std::nullopt;
    }
    // Read one byte past the limit so that a file growing under us is noticed.
    // The buffer follows the file's size, not the limit: a read of the limit
    // at once would allocate (and touch) the whole limit for every small file.
    QByteArray bytes = file.read(qMin(file.size(), maxBytes) + 1);
    while (bytes.size() <= maxBytes) {
        const QByteArray more = file.read(qMin<qint64>(maxBytes + 1 - bytes.size(), 64 * 1024));
        if (more.isEmpty())
            break;
        bytes += more;
    }
    if (bytes.size() > maxBytes) {
        if (error)
            *error = QStringLiteral("The file %1 is too large.").arg(path);
        return std::nullopt;
    }
    if (file.error() != QFileDevice::NoError) {
        if (error)
            *error = QStringLiteral("Cannot read the file %1: %2").arg(path, file.errorString());
        return std::nullopt;
    }
    return bytes;
}

bool WriteFileAtomically(const QString &path, const QByteArray &bytes, QString *error)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        if (error)
            *error = QStringLiteral("Cannot write the file %1: %2").arg(path, file.errorString());
        return false;
    }
    if (file.write(bytes) != bytes.size() || !file.commit()) {
        if (error)
            *error = QStringLiteral("Cannot write the file %1: %2").arg(path, file.errorString());
        file.cancelWriting();
        return false;
    }
    return true;
}

bool CopyFileAtomically(const QString &source, const QString &target, QString *error)
{
    QFile in(source);
    if (!in.open(QIODevice::ReadOnly)) {
        if (error)
            *error = QStringLiteral("Cannot read the file %1: %2").arg(source, in.errorString());
        return false;
    }
    QSaveFile out(target);
    if (!out.open(QIODevice::WriteOnly)) {
        if (error)
            *error = QStringLiteral("Cannot write the file %1: %2").arg(target, out.errorString());
        return false;
    }
    char buffer[64 * 1024];
    for (;;) {
        const qint64 n = in.read(buffer, sizeof buffer);
        if (n < 0) {
            if (error)
                *error =
                    QStringLiteral("Cannot read the file %1: %2").arg(source, in.errorString());
            out.cancelWriting();
            return false;
        }
        if (n == 0)
            break;
        if (out.write(buffer, n) != n) {
            if (error)
                *error =
                    QStringLiteral("Cannot write the file %1: %2").arg(target, out.errorString());
            out.cancelWriting();
            return false;
        }
    }
    if (!out.commit()) {
        if (error)
            *error = QStringLiteral("Cannot write the file %1: %2").arg(target, out.errorString());
        return false;
    }
    return true;
}

} // namespace tiradex
