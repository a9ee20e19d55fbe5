#include "PlayFiles.h"

#include "PlayAliases.h"
#include "PlayXml.h"
#include "core/app/FileIo.h"
#include "core/app/Module1.h"
#include "core/cipher/Cipher.h"
#include "core/play/CharactersFile.h"

#include <QDir>
#include <QRegularExpression>

namespace {
constexpr qint64 MaxXmlBytes = 16 * 1024 * 1024;
}

std::optional<GeneratedPlay> GeneratePlay(const QByteArray &xml, const QList<SpeakerRule> &rules,
                                          QString *error)
{
    const std::optional<PlayDocument> play = ParsePlayXml(xml, error);
    if (!play)
        return std::nullopt;
    std::optional<PlayCast> cast = BuildCast(*play, rules, error);
    if (!cast)
        return std::nullopt;
    const std::optional<PlayTextResult> text = WritePlayText(*play, *cast, error);
    if (!text)
        return std::nullopt;

    GeneratedPlay generated;
    generated.cast = *cast;
    generated.text = JoinLinesCrLf(text->lines);
    generated.fixedLines = text->fixedLines;
    CharactersList list;
    for (const CastEntry &entry : cast->entries) {
        list.names << entry.name;
        list.statuses << entry.status;
    }
    generated.charactersFile = FormatCharactersFile(list);
    return generated;
}

QByteArray EncipherCharactersFile(const QByteArray &clear)
{
    // The same key bytes that the program's start-up derives.
    Module1 state;
    state.StartUp(QStringLiteral("/"));
    QByteArray data = clear;
    BlockCipher(state.KeyChars).encipher(data);
    return data;
}

bool WritePlayFiles(const GeneratedPlay &play, const QString &outFolder, const QString &playCode,
                    QString *error)
{
    // The code names files inside outFolder and must not lead out of it.
    static const QRegularExpression plainName(QStringLiteral("^[A-Za-z0-9_-]+$"));
    if (!plainName.match(playCode).hasMatch()) {
        if (error)
            *error = QStringLiteral("The play code \"%1\" is not a plain name.").arg(playCode);
        return false;
    }
    if (!QDir().mkpath(outFolder)) {
        if (error)
            *error = QStringLiteral("Cannot create the folder %1.").arg(outFolder);
        return false;
    }
    const QDir out(outFolder);
    return WriteFileAtomically(out.filePath(playCode + QStringLiteral(".txt")), play.text, error) &&
           WriteFileAtomically(out.filePath(playCode + QStringLiteral(".dat")),
                               EncipherCharactersFile(play.charactersFile), error);
}

std::optional<GeneratedPlay> GeneratePlayFiles(const QString &xmlPath, const QString &playCode,
                                               const QString &outFolder, QString *error)
{
    const std::optional<QByteArray> xml = ReadWholeFile(xmlPath, MaxXmlBytes, error);
    if (!xml)
        return std::nullopt;
    QString why;
    std::optional<GeneratedPlay> play = GeneratePlay(*xml, SpeakerRulesFor(playCode), &why);
    if (!play) {
        if (error)
            *error = QStringLiteral("%1: %2").arg(xmlPath, why);
        return std::nullopt;
    }
    if (!WritePlayFiles(*play, outFolder, playCode, error))
        return std::nullopt;
    return play;
}
