#include "core/play/PlayLoader.h"

#include "core/play/SceneStore.h"

#include <QFileInfo>

namespace tiradex {

namespace {
QString cannotOpen(const Module1 &state, const QString &cause)
{
    const PlayCatalogueEntry *entry = FindPlay(state.PlayCode);
    const QString title = entry ? entry->windowTitle : state.PlayCode;
    return QStringLiteral("The play \"%1\" cannot be opened.\r\n\r\n%2").arg(title, cause);
}
} // namespace

PlayLoadResult LoadPlay(const Module1 &state, const PlayLoadHooks &hooks)
{
    PlayLoadResult result;
    QString error;
    std::optional<CharactersList> characters = LoadCharactersFile(state, &error);
    if (!characters) {
        result.error = cannotOpen(state, error);
        return result;
    }
    const bool needsConversion = !QFileInfo::exists(state.PlayFolder);
    if (needsConversion) {
        if (characters->names.isEmpty()) {
            result.error = cannotOpen(state, QStringLiteral("The characters file %1 lists no "
                                                            "character.")
                                                 .arg(state.CharactersFileName()));
            return result;
        }
        if (hooks.conversionStarts)
            hooks.conversionStarts();
        const ConvertResult converted = ConvertPlay(state, characters->names, hooks.progress);
        if (hooks.conversionEnds)
            hooks.conversionEnds();
        if (!converted.ok()) {
            result.error = cannotOpen(state, converted.error);
            return result;
        }
        result.converted = !converted.alreadyConverted;
    }
    std::optional<QList<ActRecord>> acts = ReadTreeviewIni(state, &error);
    if (!acts) {
        result.error = cannotOpen(state, error);
        return result;
    }
    result.characters = std::move(*characters);
    result.tree = BuildActTree(*acts);
    return result;
}

} // namespace tiradex
