#include "core/cipher/CryptFiles.h"

#include "core/app/FileIo.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

namespace tiradex {

namespace {
// The characters files are a few kilobytes; anything far larger is not one.
constexpr qint64 kMaxCipherFileBytes = 256LL * 1024 * 1024;
} // namespace

CryptFileStatus CryptFile(const BlockCipher &cipher, const QString &path, int mode, QString *error)
{
    const QFileInfo info(path);
    // A file marked read-only is left alone even for a user (root) whom the
    // system would let write it.
    if (!info.isFile() || !info.isWritable() || !info.permission(QFileDevice::WriteOwner))
        return CryptFileStatus::Skipped;
    if (info.size() < 8)
        return CryptFileStatus::TooShort;
    std::optional<QByteArray> bytes = ReadWholeFile(path, kMaxCipherFileBytes, error);
    if (!bytes)
        return CryptFileStatus::Failed;
    if (bytes->size() < 8)
        return CryptFileStatus::TooShort;
    if (mode == 1)
        cipher.encipher(*bytes);
    else
        cipher.decipher(*bytes);

    QSaveFile file(path);
    file.setDirectWriteFallback(true);
    if (!file.open(QIODevice::WriteOnly)) {
        // Opening for writing failed although the file looked writable
        // (locked, or the permissions changed): leave it as it is.
        return CryptFileStatus::Skipped;
    }
    if (file.write(*bytes) != bytes->size() || !file.commit()) {
        if (error)
            *error = QStringLiteral("Cannot write the file %1: %2").arg(path, file.errorString());
        file.cancelWriting();
        return CryptFileStatus::Failed;
    }
    return CryptFileStatus::Transformed;
}

CryptFilesResult CryptFiles(Module1 &state, int mode, const QString &fileName)
{
    CryptFilesResult result;
    state.CipherMode = mode;
    state.CipherFileName = fileName;
    if (mode < 1 || mode > 2 || fileName.isEmpty()) {
        state.CipherMode = 0;
        return result;
    }
    const BlockCipher cipher(state.KeyChars);
    QString folder = state.AppPathRaw;
    if (!folder.endsWith(QLatin1Char('/')))
        folder += QLatin1Char('/');
    const QDir dir(folder);
    const QStringList names = dir.entryList({fileName}, QDir::Files, QDir::Name);
    if (QCoreApplication::instance())
        QCoreApplication::processEvents();
    for (const QString &name : names) {
        QString error;
        switch (CryptFile(cipher, dir.filePath(name), mode, &error)) {
        case CryptFileStatus::Transformed:
            ++result.transformed;
            break;
        case CryptFileStatus::TooShort:
        case CryptFileStatus::Skipped:
            ++result.skipped;
            break;
        case CryptFileStatus::Failed:
            result.error = error;
            state.CipherMode = 0;
            return result;
        }
    }
    state.CipherMode = 0;
    return result;
}

std::optional<QByteArray> DecipherFileToMemory(const Module1 &state, const QString &path,
                                               QString *error, qint64 maxBytes)
{
    std::optional<QByteArray> bytes = ReadWholeFile(path, maxBytes, error);
    if (!bytes)
        return std::nullopt;
    BlockCipher(state.KeyChars).decipher(*bytes);
    return bytes;
}

} // namespace tiradex
