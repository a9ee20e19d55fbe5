// Fuzz target: the archive reader on arbitrary bytes. Each input is opened
// and extracted twice (folders kept and replacing files, then flat and
// keeping files) into a scratch folder; anything written beside that folder
// means a member escaped, and aborts.

#include "core/transfer/ZipExtractionClass.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstdint>
#include <cstdlib>

using namespace tiradex;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static QTemporaryDir scratch;
    static const QString archive = scratch.filePath(QStringLiteral("input.zip"));
    static const QString out = scratch.filePath(QStringLiteral("out"));
    QFile file(archive);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        std::abort();
    file.write(reinterpret_cast<const char *>(data), static_cast<qint64>(size));
    file.close();
    {
        ZipExtractionClass reader;
        reader.OpenZip(archive);
        reader.Extract(out, true, true);
        reader.OpenZip(archive);
        reader.Extract(out, false, false);
    }
    const QStringList entries =
        QDir(scratch.path())
            .entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    for (const QString &entry : entries) {
        if (entry != QLatin1String("input.zip") && entry != QLatin1String("out"))
            std::abort();
    }
    QDir(out).removeRecursively();
    return 0;
}
