// The play generator on arbitrary XML: it never crashes, and what it writes
// never holds a line that the conversion would misread (an act or scene
// heading that is none, a text line that names a character).

#include "core/playimport/PlayCast.h"
#include "core/playimport/PlayTextWriter.h"
#include "core/playimport/PlayXml.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

using namespace tiradex;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray xml(reinterpret_cast<const char *>(data), qsizetype(size));
    const std::optional<PlayDocument> play = ParsePlayXml(xml, nullptr);
    if (!play)
        return 0;
    const std::optional<PlayCast> cast = BuildCast(*play, {}, nullptr);
    if (!cast)
        return 0;
    const std::optional<WrittenPlayText> text = WritePlayText(*play, *cast, nullptr);
    if (!text)
        return 0;

    qsizetype scenes = 0;
    qsizetype speeches = 0;
    for (const PlayAct &act : play->acts) {
        scenes += act.scenes.size();
        for (const PlayScene &scene : act.scenes) {
            for (const SceneEvent &event : scene.events)
                speeches += event.isSpeech ? 1 : 0;
        }
    }
    const QStringList names = cast->names();
    qsizetype actLines = 0;
    qsizetype sceneLines = 0;
    qsizetype characterLines = 0;
    for (const QString &line : text->lines) {
        if (line.contains(QLatin1Char('\r')) || line.contains(QLatin1Char('\n')))
            std::abort();
        if (line.startsWith(QLatin1String("ACT"))) {
            ++actLines;
            continue;
        }
        if (actLines == 0)
            continue;
        if (line.startsWith(QLatin1String("SCENE")))
            ++sceneLines;
        else if (names.contains(line.trimmed(), Qt::CaseInsensitive))
            ++characterLines;
    }
    if (actLines != play->acts.size() || sceneLines != scenes || characterLines != speeches)
        std::abort();
    return 0;
}
