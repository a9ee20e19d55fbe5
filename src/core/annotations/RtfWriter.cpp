#include "core/annotations/RtfWriter.h"

#include "core/app/TextCodec.h"

#include <QTextDocument>

#include <array>
#include <cstdio>

namespace tiradex {

namespace {
const char HexDigits[] = "0123456789abcdef";

// The Windows-1252 byte of `u`, or 0 when the code page lacks it. Latin-1
// letters and signs (A0..FF) are the same in both; 80..9F hold typographic
// signs instead of control characters.
unsigned char windows1252Byte(char16_t u)
{
    if (u >= 0xa0 && u <= 0xff)
        return static_cast<unsigned char>(u);
    static const std::array<char16_t, 32> high = [] {
        std::array<char16_t, 32> table{};
        for (int b = 0x80; b < 0xa0; ++b)
            table[b - 0x80] = Windows1252Char(static_cast<unsigned char>(b)).unicode();
        return table;
    }();
    for (int k = 0; k < 32; ++k) {
        if (high[k] == u && u >= 0x100)
            return static_cast<unsigned char>(0x80 + k);
    }
    return 0;
}

// Appends `text` as RTF text: ASCII as is, Windows-1252 as \'hh, the rest as
// \uN? per UTF-16 unit.
void appendEscaped(QByteArray &out, const QString &text)
{
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u == '\\' || u == '{' || u == '}') {
            out += '\\';
            out += char(u);
        } else if (u == '\t') {
            out += "\\tab ";
        } else if (u == '\n') {
            out += "\\par\r\n";
        } else if (u >= 0x20 && u < 0x7f) {
            out += char(u);
        } else if (u < 0x20 || (u >= 0x7f && u < 0xa0)) {
            continue; // control characters carry nothing a reader could show
        } else if (const unsigned char b = windows1252Byte(u); b != 0) {
            const char escape[4] = {'\\', '\'', HexDigits[b >> 4], HexDigits[b & 15]};
            out.append(escape, 4);
        } else {
            // \u takes a signed 16-bit value.
            char escape[12];
            const int n = std::snprintf(escape, sizeof escape, "\\u%d?", int(qint16(u)));
            out.append(escape, n);
        }
    }
}

QByteArray colourEntry(const QColor &colour)
{
    return "\\red" + QByteArray::number(colour.red()) + "\\green" +
           QByteArray::number(colour.green()) + "\\blue" + QByteArray::number(colour.blue()) + ';';
}
} // namespace

QByteArray WriteRtf(const RichText &text, const RtfFont &font)
{
    QList<QRgb> colours;
    for (const RichTextRun &run : text.runs) {
        if (run.colour.isValid() && !colours.contains(run.colour.rgb()))
            colours.append(run.colour.rgb());
    }

    QByteArray out;
    out.reserve(1024 + 2 * text.plainText().size());
    out += "{\\rtf1\\ansi\\ansicpg1252\\deff0\\uc1{\\fonttbl{\\f0\\fnil\\fcharset0 ";
    appendEscaped(out, font.family);
    out += ";}}\r\n";
    if (!colours.isEmpty()) {
        out += "{\\colortbl ;";
        for (const QRgb rgb : colours)
            out += colourEntry(QColor(rgb));
        out += "}\r\n";
    }
    out += "\\viewkind4\\pard\\f0\\fs" + QByteArray::number(qMax(1, font.pointSize) * 2) + ' ';

    RichTextRun current; // the format in force: plain, automatic colour
    for (const RichTextRun &run : text.runs) {
        QByteArray words;
        if (run.bold != current.bold)
            words += run.bold ? "\\b" : "\\b0";
        if (run.italic != current.italic)
            words += run.italic ? "\\i" : "\\i0";
        if (run.underline != current.underline)
            words += run.underline ? "\\ul" : "\\ulnone";
        if (run.colour != current.colour) {
            const int index = run.colour.isValid() ? int(colours.indexOf(run.colour.rgb())) + 1 : 0;
            words += "\\cf" + QByteArray::number(index);
        }
        if (!words.isEmpty())
            out += words + ' ';
        current = run;
        appendEscaped(out, run.text);
    }
    out += "\\par\r\n}\r\n";
    return out;
}

QByteArray WriteRtf(const QTextDocument &document, const RtfFont &font)
{
    return WriteRtf(RichTextOfDocument(document), font);
}

} // namespace tiradex
