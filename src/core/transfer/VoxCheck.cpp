#include "core/transfer/VoxCheck.h"

#include "core/audio/VoxFile.h"
#include "core/transfer/TransferTexts.h"
#include "core/transfer/ZipExtractionClass.h"
#include "core/transfer/ZipMember.h"

#include <QIODevice>

namespace tiradex {

namespace {
// Takes the inflated take and forgets it: the reader checks its size and
// CRC on the way, which is all the check needs.
class DiscardDevice : public QIODevice
{
public:
    DiscardDevice() { open(QIODevice::WriteOnly); }

protected:
    qint64 readData(char *, qint64) override { return -1; }
    qint64 writeData(const char *, qint64 length) override { return length; }
};

bool fail(QString *error, const QString &why)
{
    if (error)
        *error = why;
    return false;
}
} // namespace

bool CheckMediumVox(const QString &path, const QString &baseName, QString *error)
{
    if (!ReadVoxDurationRecord(path, baseName, error))
        return false;
    ZipExtractionClass reader;
    if (!reader.OpenZip(path))
        return fail(error, TransferTexts::ZipNotAZipFile(path));
    const std::optional<QList<ZipCentralEntry>> entries = reader.ReadDirectory();
    if (!entries)
        return fail(error, TransferTexts::ZipNotAZipFile(path));
    // The take as playback finds it: the first member of that whole name.
    for (const ZipCentralEntry &entry : *entries) {
        if (entry.name.compare(QStringLiteral("temp.wav"), Qt::CaseInsensitive) != 0)
            continue;
        if (entry.size == 0)
            break;
        DiscardDevice sink;
        ClaimedRanges claimed;
        if (reader.ReadMember(entry, sink, claimed) != MemberResult::Written)
            return fail(error, QStringLiteral("Data checksum error in temp.wav of %1").arg(path));
        return true;
    }
    return fail(error, QStringLiteral("The file %1 holds no recording").arg(path));
}

} // namespace tiradex
