#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

namespace tiradex {

// The whole content of a file of at most `maxBytes` bytes. On failure (missing,
// unreadable, too large) returns std::nullopt and, when `error` is given, a
// sentence naming the file and the cause.
std::optional<QByteArray> ReadWholeFile(const QString &path, qint64 maxBytes, QString *error);

// Replaces the file at `path` with `bytes` atomically: the data go to a
// temporary file in the same folder, which is renamed over the target once
// complete, so a crash or a full disk leaves the previous file intact.
bool WriteFileAtomically(const QString &path, const QByteArray &bytes, QString *error);

// Copies `source` over `target` atomically (as WriteFileAtomically).
bool CopyFileAtomically(const QString &source, const QString &target, QString *error);

} // namespace tiradex
