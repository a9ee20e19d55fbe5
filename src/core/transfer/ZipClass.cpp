#include "core/transfer/ZipClass.h"

#include "core/app/TextCodec.h"
#include "core/transfer/ZipFormat.h"

#include <QFileInfo>
#include <QSaveFile>

namespace tiradex {

using namespace ZipFormat;

bool ZipClass::fail(const QString &text)
{
    m_error = text;
    return false;
}

void ZipClass::SetComment(const QString &comment)
{
    m_comment = EncodeWindows1252(comment);
}

bool ZipClass::AddFile(const QString &FilePath, const QString &filename, const QString &Comment)
{
    m_error.clear();
    if (m_members.size() >= MaxFieldLength)
        return fail(QStringLiteral("An archive holds at most %1 members.").arg(MaxFieldLength));
    auto member = std::make_unique<ZipFile>();
    QString error;
    if (!member->Prepare(FilePath, &error))
        return fail(error);
    if (!filename.isEmpty())
        member->SetName(filename);
    if (!Comment.isEmpty())
        member->SetComment(Comment);
    if (member->StoredName().size() > MaxFieldLength)
        return fail(QStringLiteral("The member name for %1 is longer than %2 bytes.")
                        .arg(FilePath)
                        .arg(MaxFieldLength));
    if (member->StoredComment().size() > MaxFieldLength)
        return fail(QStringLiteral("The member comment for %1 is longer than %2 bytes.")
                        .arg(FilePath)
                        .arg(MaxFieldLength));
    m_members.push_back(std::move(member));
    return true;
}

bool ZipClass::WriteZip(const QString &FilePath, bool Overwrite)
{
    m_error.clear();
    const QFileInfo target(FilePath);
    if ((target.exists() || target.isSymLink()) && !Overwrite)
        return fail(QStringLiteral("The file %1 already exists.").arg(FilePath));
    if (m_comment.size() > MaxFieldLength)
        return fail(
            QStringLiteral("The archive comment is longer than %1 bytes.").arg(MaxFieldLength));
    // Every offset and size field is 32 bits wide: check before writing.
    qint64 total = EndRecordSize + m_comment.size();
    for (const auto &member : m_members)
        total += member->LocalSize() + member->CentralSize();
    if (total > qint64(0xFFFFFFFF))
        return fail(QStringLiteral("The archive %1 would be larger than 4 GiB.").arg(FilePath));

    QSaveFile file(FilePath);
    if (!file.open(QIODevice::WriteOnly))
        return fail(
            QStringLiteral("Cannot write the file %1: %2").arg(FilePath, file.errorString()));
    const auto writeFailed = [&] {
        const QString reason = file.errorString();
        file.cancelWriting();
        return fail(QStringLiteral("Cannot write the file %1: %2").arg(FilePath, reason));
    };
    quint32 offset = 0;
    for (const auto &member : m_members) {
        if (!member->WriteLocal(file, offset))
            return writeFailed();
        offset += static_cast<quint32>(member->LocalSize());
    }
    const quint32 centralStart = offset;
    for (const auto &member : m_members) {
        if (!member->WriteCentral(file))
            return writeFailed();
        offset += static_cast<quint32>(member->CentralSize());
    }
    const auto count = static_cast<quint16>(m_members.size());
    QByteArray end;
    end.reserve(EndRecordSize + m_comment.size());
    AppendLe32(end, EndSignature);
    AppendLe16(end, 0); // number of this disk
    AppendLe16(end, 0); // disk where the central directory starts
    AppendLe16(end, count);
    AppendLe16(end, count);
    AppendLe32(end, offset - centralStart);
    AppendLe32(end, centralStart);
    AppendLe16(end, static_cast<quint16>(m_comment.size()));
    end.append(m_comment);
    if (file.write(end) != end.size())
        return writeFailed();
    if (!file.commit())
        return fail(
            QStringLiteral("Cannot write the file %1: %2").arg(FilePath, file.errorString()));
    return true;
}

} // namespace tiradex
