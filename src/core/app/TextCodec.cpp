#include "core/app/TextCodec.h"

#include <QHash>

namespace tiradex {

namespace {
// 0x80..0x9F of Windows-1252; the rest of the code page equals Latin-1.
const char16_t kHighTable[32] = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                 0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                                 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

// Length of the valid UTF-8 sequence starting at bytes[i], or 0 when the
// bytes there are not valid UTF-8 (overlong forms and surrogates included).
int validSequenceLength(const unsigned char *p, qsizetype remaining, char32_t *codePoint)
{
    const unsigned char b0 = p[0];
    int length = 0;
    char32_t value = 0;
    char32_t minimum = 0;
    if (b0 < 0x80) {
        *codePoint = b0;
        return 1;
    } else if ((b0 & 0xE0) == 0xC0) {
        length = 2;
        value = b0 & 0x1F;
        minimum = 0x80;
    } else if ((b0 & 0xF0) == 0xE0) {
        length = 3;
        value = b0 & 0x0F;
        minimum = 0x800;
    } else if ((b0 & 0xF8) == 0xF0) {
        length = 4;
        value = b0 & 0x07;
        minimum = 0x10000;
    } else {
        return 0;
    }
    if (remaining < length)
        return 0;
    for (int k = 1; k < length; ++k) {
        if ((p[k] & 0xC0) != 0x80)
            return 0;
        value = (value << 6) | (p[k] & 0x3F);
    }
    if (value < minimum || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF))
        return 0;
    *codePoint = value;
    return length;
}
} // namespace

QChar Windows1252Char(unsigned char byte)
{
    if (byte >= 0x80 && byte <= 0x9F)
        return QChar(kHighTable[byte - 0x80]);
    return QChar(byte);
}

QString DecodeText(const QByteArray &bytes)
{
    const auto *p = reinterpret_cast<const unsigned char *>(bytes.constData());
    qsizetype n = bytes.size();
    qsizetype i = 0;
    if (n >= 3 && p[0] == 0xEF && p[1] == 0xBB && p[2] == 0xBF)
        i = 3;
    QString out;
    out.reserve(n - i);
    while (i < n) {
        char32_t cp = 0;
        const int length = validSequenceLength(p + i, n - i, &cp);
        if (length == 0) {
            out.append(Windows1252Char(p[i]));
            ++i;
        } else {
            if (cp < 0x10000) {
                out.append(QChar(static_cast<char16_t>(cp)));
            } else {
                out.append(QChar(QChar::highSurrogate(cp)));
                out.append(QChar(QChar::lowSurrogate(cp)));
            }
            i += length;
        }
    }
    return out;
}

QByteArray EncodeText(const QString &text)
{
    return text.toUtf8();
}

QByteArray EncodeWindows1252(const QString &text)
{
    static const QHash<char16_t, char> reverse = [] {
        QHash<char16_t, char> table;
        for (int b = 0x80; b <= 0x9F; ++b)
            table.insert(kHighTable[b - 0x80], static_cast<char>(b));
        return table;
    }();
    QByteArray out;
    out.reserve(text.size());
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u < 0x80 || (u >= 0xA0 && u <= 0xFF)) {
            out.append(static_cast<char>(u));
        } else {
            const auto it = reverse.constFind(u);
            out.append(it != reverse.constEnd() ? *it : '?');
        }
    }
    return out;
}

} // namespace tiradex
