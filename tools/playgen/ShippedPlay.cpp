#include "ShippedPlay.h"

#include "PlayAliases.h"
#include "core/app/FileIo.h"

namespace tiradex {

namespace {
constexpr qint64 MaxXmlBytes = 16 * 1024 * 1024;
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

} // namespace tiradex
