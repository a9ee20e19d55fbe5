#pragma once

#include "app/Module1.h"

#include <QByteArray>
#include <QString>

#include <optional>

// What one CryptFiles call did.
struct CryptFilesResult
{
    int transformed = 0; // files enciphered or deciphered
    int skipped = 0;     // read-only or locked files, and files under 8 bytes
    QString error;       // the first failure that ended the call, "" if none
};

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
