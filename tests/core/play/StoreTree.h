#pragma once

// Helpers of the scene store tests: snapshots of folder trees and the
// hand-written golden stores of tests/data/convert.

#include <QDateTime>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QStringList>

namespace tiradex {

// Every entry under `root`: "d PATH" for a folder, "f PATH" for a file,
// PATH relative to root with "/" separators, mapped to the file's bytes.
inline QMap<QString, QByteArray> SnapshotTree(const QString &root)
{
    QMap<QString, QByteArray> entries;
    QDirIterator it(root, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System,
                    QDirIterator::Subdirectories);
    const QDir base(root);
    while (it.hasNext()) {
        const QString path = it.next();
        const QFileInfo info = it.fileInfo();
        const QString relative = base.relativeFilePath(path);
        if (info.isDir() && !info.isSymLink()) {
            entries.insert(QStringLiteral("d ") + relative, QByteArray());
        } else {
            QFile file(path);
            QByteArray bytes = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
            entries.insert(QStringLiteral("f ") + relative, bytes);
        }
    }
    return entries;
}

// SnapshotTree plus each entry's modification time, to tell that nothing was
// rewritten with the same bytes.
inline QMap<QString, QByteArray> SnapshotTreeWithTimes(const QString &root)
{
    QMap<QString, QByteArray> entries = SnapshotTree(root);
    const QDir base(root);
    for (auto it = entries.begin(); it != entries.end(); ++it) {
        const QFileInfo info(base.filePath(it.key().mid(2)));
        it.value() += "@" + QByteArray::number(info.lastModified().toMSecsSinceEpoch());
    }
    return entries;
}

// The golden store `name` of tests/data/convert: the entries listed in
// NAME.tree, with the bytes of the files under NAME.expected/. Folders are
// listed in the manifest because empty ones cannot live in the repository.
inline QMap<QString, QByteArray> GoldenTree(const QString &dataDir, const QString &name)
{
    QMap<QString, QByteArray> entries;
    QFile manifest(dataDir + QStringLiteral("/") + name + QStringLiteral(".tree"));
    if (!manifest.open(QIODevice::ReadOnly))
        return entries;
    const QString filesRoot = dataDir + QStringLiteral("/") + name + QStringLiteral(".expected/");
    const QStringList lines = QString::fromUtf8(manifest.readAll()).split(QLatin1Char('\n'));
    for (const QString &line : lines) {
        if (line.isEmpty())
            continue;
        QByteArray bytes;
        if (line.startsWith(QLatin1String("f "))) {
            QFile file(filesRoot + line.mid(2));
            bytes =
                file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing golden>");
        }
        entries.insert(line, bytes);
    }
    return entries;
}

// "" when the tree under `root` is the golden store `name`, else the first
// entry that differs.
inline QString DiffFromGolden(const QString &root, const QString &dataDir, const QString &name)
{
    const QMap<QString, QByteArray> golden = GoldenTree(dataDir, name);
    const QMap<QString, QByteArray> built = SnapshotTree(root);
    if (golden.isEmpty())
        return QStringLiteral("no golden store ") + name;
    for (const QString &key : golden.keys() + built.keys()) {
        if (golden.value(key, "<absent>") != built.value(key, "<absent>"))
            return key;
    }
    return QString();
}

inline QByteArray ReadFileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

inline bool WriteFileBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// Names of the entries of a folder (hidden ones included), sorted.
inline QStringList FolderEntries(const QString &folder)
{
    return QDir(folder).entryList(
        QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System, QDir::Name);
}

} // namespace tiradex
