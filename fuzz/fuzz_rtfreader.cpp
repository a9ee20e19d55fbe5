// Fuzz target: the Rich Text Format reader on arbitrary bytes (notes arrive
// from transfer media). What it reads must write and read back unchanged.

#include "core/annotations/RtfReader.h"
#include "core/annotations/RtfWriter.h"

#include <QByteArray>

#include <cstdint>
#include <cstdlib>

using namespace tiradex;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    const std::optional<RichText> text = ReadRtf(bytes, nullptr);
    if (!text)
        return 0;
    if (text->plainText().size() > bytes.size())
        std::abort(); // the output grows at most as fast as the input
    const std::optional<RichText> back = ReadRtf(WriteRtf(*text), nullptr);
    if (!back || !(*back == *text))
        std::abort();
    return 0;
}
