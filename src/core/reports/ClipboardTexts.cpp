#include "core/reports/ClipboardTexts.h"

#include <QList>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFragment>

namespace {

QByteArray escaped(const QString &text)
{
    QByteArray out;
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u == '\\' || u == '{' || u == '}') {
            out += '\\';
            out += char(u);
        } else if (u == '\t') {
            out += "\\tab ";
        } else if (u >= 0x20 && u < 0x80) {
            out += char(u);
        } else if (u >= 0x80) {
            // RTF takes a signed 16-bit value; '?' stands for readers that
            // do not know \u.
            out += "\\u" + QByteArray::number(qint16(u)) + '?';
        }
    }
    return out;
}

} // namespace

QByteArray DocumentRtf(const QTextDocument &document)
{
    // Colour 0 is the default; the others are listed as they are first met.
    QList<QColor> colours;
    QByteArray body;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            const QTextCharFormat format = fragment.charFormat();
            QByteArray codes;
            if (format.fontWeight() >= QFont::Bold)
                codes += "\\b";
            if (format.fontUnderline())
                codes += "\\ul";
            if (format.hasProperty(QTextFormat::ForegroundBrush)) {
                const QColor colour = format.foreground().color();
                qsizetype k = colours.indexOf(colour);
                if (k < 0) {
                    colours.append(colour);
                    k = colours.size() - 1;
                }
                codes += "\\cf" + QByteArray::number(k + 1);
            }
            const QByteArray text = escaped(fragment.text().replace(QChar::LineSeparator, u'\n'));
            body += codes.isEmpty() ? text : "{" + codes + " " + text + "}";
        }
        if (block.next().isValid())
            body += "\\par\r\n";
    }
    QByteArray table = "{\\colortbl ;";
    for (const QColor &c : colours) {
        table += "\\red" + QByteArray::number(c.red()) + "\\green" + QByteArray::number(c.green()) +
                 "\\blue" + QByteArray::number(c.blue()) + ';';
    }
    table += "}";
    return "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fnil Times New Roman;}}" + table +
           "\r\n\\f0\\fs24 " + body + "\\par\r\n}\r\n";
}

ClipboardTexts ClipboardTextsOf(const QTextDocument &document)
{
    ClipboardTexts texts;
    texts.rtf = DocumentRtf(document);
    texts.html = document.toHtml();
    texts.plain = document.toPlainText().replace(QChar::ParagraphSeparator, u'\n');
    texts.plain.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    return texts;
}
