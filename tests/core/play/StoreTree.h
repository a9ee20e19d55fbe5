#pragma once

// Helpers of the scene store tests: snapshots of folder trees and the
// hand-written golden stores of tests/data/convert.

#include "TestFiles.h"

#include <QDateTime>
#include <QMap>

namespace tiradex {

// Every entry under `root`: "d PATH" for a folder, "f PATH" for a file,
// PATH relative to root with "/" separators, mapped to the file's bytes and,
// with `withTimes`, its modification time, to tell that nothing was
// rewritten with the same bytes.
inline QMap<QString, QByteArray> SnapshotTree(const QString &root, bool withTimes = false)
{
    QMap<QString, QByteArray> entries;
    QDirIterator it(root, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString relative = QDir(root).relativeFilePath(it.next());
        const QFileInfo info = it.fileInfo();
        const QByteArray time =
            withTimes ? "@" + QByteArray::number(info.lastModified().toMSecsSinceEpoch()) : "";
        if (info.isDir() && !info.isSymLink())
            entries.insert(QStringLiteral("d ") + relative, time);
        else
            entries.insert(QStringLiteral("f ") + relative, ReadTestFile(it.filePath()) + time);
    }
    return entries;
}

// "" when the tree under `root` is the golden store `name` of `dataDir`,
// else the first entry that differs. The golden store is the entries listed
// in NAME.tree (folders too, since empty ones cannot live in the
// repository), with the bytes of the files under NAME.expected/.
inline QString DiffFromGolden(const QString &root, const QString &dataDir, const QString &name)
{
    QMap<QString, QByteArray> golden;
    const QString base = dataDir + QLatin1Char('/') + name;
    for (const QString &line : QString::fromUtf8(ReadTestFile(base + ".tree")).split('\n')) {
        if (!line.isEmpty())
            golden.insert(line, line.startsWith(QLatin1String("f "))
                                    ? ReadTestFile(base + ".expected/" + line.mid(2))
                                    : QByteArray());
    }
    const QMap<QString, QByteArray> built = SnapshotTree(root);
    for (const QString &key : golden.keys() + built.keys()) {
        if (golden.value(key, "<absent>") != built.value(key, "<absent>"))
            return key;
    }
    return golden.size() > 1 ? QString() : QStringLiteral("no golden store ") + name;
}

// Names of the entries of a folder (hidden ones included), sorted.
inline QStringList FolderEntries(const QString &folder)
{
    return QDir(folder).entryList(
        QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System, QDir::Name);
}

} // namespace tiradex
