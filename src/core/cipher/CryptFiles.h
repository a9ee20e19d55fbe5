#pragma once

#include "core/app/Module1.h"
#include "core/cipher/Cipher.h"

#include <QByteArray>
#include <QString>

#include <optional>

namespace tiradex {

// What one CryptFiles call did.
struct CryptFilesResult
{
    int transformed = 0; // files enciphered or deciphered
    int skipped = 0;     // read-only or locked files, and files under 8 bytes
    QString error;       // the first failure that ended the call; empty exactly on success

    bool ok() const { return error.isEmpty(); }
};

enum class CryptFileStatus
{
    Transformed, // the file was enciphered or deciphered in place
    TooShort,    // under 8 bytes: left as it is
    Skipped,     // cannot be opened for writing (read-only, locked): left as it is
    Failed       // reading or writing failed; *error says why
};

// Enciphers (mode 1) or deciphers (mode 2) one file in place. The new content
// replaces the old one atomically where the folder allows it, so a crash never
// leaves a half-transformed file; in a folder that allows no new file the
// content is written over the old one directly.
CryptFileStatus CryptFile(const BlockCipher &cipher, const QString &path, int mode, QString *error);

// Enciphers (mode 1) or deciphers (mode 2) in place every normal file of the
// application folder (AppPathRaw) that matches `fileName`, which may hold the
// wildcards "*" and "?". Modes below 1 and an empty name do nothing. Files
// that cannot be opened for writing are skipped; chaining restarts for each
// file. The state's CipherMode and CipherFileName are set for the call and
// CipherMode is 0 again afterwards.
CryptFilesResult CryptFiles(Module1 &state, int mode, const QString &fileName);

// Deciphers the file at `path` in memory; the file itself is never written.
// Files over `maxBytes` are refused. On failure returns std::nullopt and sets
// *error to a sentence naming the file.
std::optional<QByteArray> DecipherFileToMemory(const Module1 &state, const QString &path,
                                               QString *error, qint64 maxBytes = 4 * 1024 * 1024);

} // namespace tiradex
