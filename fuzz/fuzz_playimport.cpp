// The import on arbitrary bytes (a play text or XML): it never crashes, an
// importable report always builds, and every character name it leaves is
// usable in a file name.

#include "core/playimport/PlayImport.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

using namespace tiradex;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray source(reinterpret_cast<const char *>(data), qsizetype(size));
    const PlayImport import = PlayImport::fromBytes(source, QStringLiteral("fuzz.txt"));
    (void)import.reportText();
    if (!import.canImport())
        return 0;
    for (const PlayImport::Character &character : import.characters()) {
        if (!PlayImport::NameFault(character.name).isEmpty())
            std::abort();
    }
    if (!import.build(nullptr))
        std::abort();
    return 0;
}
