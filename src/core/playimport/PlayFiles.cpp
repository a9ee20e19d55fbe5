#include "core/playimport/PlayFiles.h"

#include "core/app/FileIo.h"
#include "core/app/Module1.h"
#include "core/cipher/Cipher.h"
#include "core/play/CharactersFile.h"
#include "core/playimport/PlayXml.h"

#include <QDir>
#include <QRegularExpression>

namespace tiradex {

std::optional<GeneratedPlay> GeneratePlay(const QByteArray &xml, const QList<SpeakerRule> &rules,
                                          QString *error)
{
    const std::optional<PlayDocument> play = ParsePlayXml(xml, error);
    if (!play)
        return std::nullopt;
    std::optional<PlayCast> cast = BuildCast(*play, rules, error);
    if (!cast)
        return std::nullopt;
    return GeneratePlay(*play, *cast, error);
}

std::optional<GeneratedPlay> GeneratePlay(const PlayDocument &play, const PlayCast &cast,
                                          QString *error)
{
    const std::optional<WrittenPlayText> text = WritePlayText(play, cast, error);
    if (!text)
        return std::nullopt;

    GeneratedPlay generated;
    generated.cast = cast;
    generated.text = JoinLinesCrLf(text->lines);
    generated.fixedLines = text->fixedLines;
    CharactersList list;
    for (const CastEntry &entry : cast.entries) {
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

} // namespace tiradex
