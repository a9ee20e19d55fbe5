#include "core/app/ImportedPlays.h"

#include "core/app/FileIo.h"
#include "core/app/QuotedRecord.h"
#include "core/app/TextCodec.h"
#include "core/playimport/PlayFiles.h"

#include <QDir>
#include <QFileInfo>

namespace tiradex {

namespace {

constexpr qint64 MaxCatalogueBytes = 4 * 1024 * 1024;
constexpr int MaxCodeLength = 24;

bool IsPlainCode(const QString &code)
{
    if (code.isEmpty() || code.size() > MaxCodeLength + 6)
        return false;
    for (const QChar c : code) {
        if (!((c >= QLatin1Char('a') && c <= QLatin1Char('z')) ||
              (c >= QLatin1Char('0') && c <= QLatin1Char('9'))))
            return false;
    }
    return true;
}

PlayCatalogueEntry EntryFor(const QString &code, const QString &title)
{
    return {QStringLiteral("mnuimported_") + code, title + QStringLiteral(" ..."), code,
            code + QStringLiteral(".txt"), title};
}

} // namespace

QString ImportedPlaysFileName()
{
    return QStringLiteral("plays.ini");
}

QList<PlayCatalogueEntry> ReadImportedPlays(const QString &appFolder)
{
    QList<PlayCatalogueEntry> plays;
    const QString path = QDir(appFolder).filePath(ImportedPlaysFileName());
    if (!QFileInfo::exists(path))
        return plays;
    const std::optional<QList<QStringList>> records =
        ReadRecordFile(path, nullptr, MaxCatalogueBytes);
    if (!records)
        return plays;
    QStringList codes;
    for (const QStringList &record : *records) {
        if (record.size() < 2)
            continue;
        const QString code = record.at(0);
        const QString title = record.at(1).simplified();
        if (!IsPlainCode(code) || codes.contains(code) || FindPlay(code) || title.isEmpty())
            continue;
        codes.append(code);
        plays.append(EntryFor(code, title));
    }
    return plays;
}

QByteArray FormatImportedPlays(const QList<PlayCatalogueEntry> &plays)
{
    QByteArray bytes;
    for (const PlayCatalogueEntry &play : plays)
        bytes +=
            FormatRecord({RecordField::text(play.playCode), RecordField::text(play.windowTitle)});
    return bytes;
}

QString MakePlayCode(const QString &title, const QString &appFolder,
                     const QList<PlayCatalogueEntry> &taken)
{
    QString base;
    // NFD splits an accented letter into the letter and its accent.
    for (const QChar c : title.normalized(QString::NormalizationForm_D).toLower()) {
        if (base.size() < MaxCodeLength && ((c >= QLatin1Char('a') && c <= QLatin1Char('z')) ||
                                            (c >= QLatin1Char('0') && c <= QLatin1Char('9'))))
            base += c;
    }
    if (base.isEmpty())
        base = QStringLiteral("play");
    const QDir folder(appFolder);
    const auto isTaken = [&](const QString &code) {
        if (FindPlay(code) || folder.exists(code) || folder.exists(code + QStringLiteral(".txt")) ||
            folder.exists(code + QStringLiteral(".dat")))
            return true;
        for (const PlayCatalogueEntry &play : taken) {
            if (play.playCode == code)
                return true;
        }
        return false;
    };
    QString code = base;
    for (int n = 2; isTaken(code); ++n)
        code = base + QString::number(n);
    return code;
}

std::optional<PlayCatalogueEntry> StoreImportedPlay(const QString &appFolder, const QString &title,
                                                    const QByteArray &playText,
                                                    const QByteArray &clearCharactersFile,
                                                    QString *error)
{
    if (!QDir().mkpath(appFolder)) {
        if (error)
            *error = QStringLiteral("Cannot create the folder %1.").arg(appFolder);
        return std::nullopt;
    }
    QList<PlayCatalogueEntry> plays = ReadImportedPlays(appFolder);
    const QString code = MakePlayCode(title, appFolder, plays);
    const QDir folder(appFolder);

    const QByteArray enciphered = EncipherCharactersFile(clearCharactersFile);

    // The play's files first: a crash before the catalogue is written leaves
    // files nobody lists, never a listed play without its files.
    if (!WriteFileAtomically(folder.filePath(code + QStringLiteral(".txt")), playText, error) ||
        !WriteFileAtomically(folder.filePath(code + QStringLiteral(".dat")), enciphered, error))
        return std::nullopt;
    const PlayCatalogueEntry entry = EntryFor(code, title);
    plays.append(entry);
    if (!WriteFileAtomically(folder.filePath(ImportedPlaysFileName()), FormatImportedPlays(plays),
                             error))
        return std::nullopt;
    return entry;
}

} // namespace tiradex
