#include "core/annotations/RichText.h"

#include <QFont>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

namespace tiradex {

void RichText::append(const QString &text, const RichTextRun &format)
{
    if (text.isEmpty())
        return;
    if (!runs.isEmpty() && runs.last().sameFormat(format)) {
        runs.last().text += text;
        return;
    }
    RichTextRun run = format;
    run.text = text;
    runs.append(run);
}

QString RichText::plainText() const
{
    QString text;
    for (const RichTextRun &run : runs)
        text += run.text;
    return text;
}

RichText RichTextOfDocument(const QTextDocument &document)
{
    RichText text;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        if (block != document.begin())
            text.append(QStringLiteral("\n"),
                        text.runs.isEmpty() ? RichTextRun() : text.runs.last());
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (!fragment.isValid())
                continue;
            const QTextCharFormat format = fragment.charFormat();
            RichTextRun run;
            run.bold = format.fontWeight() >= QFont::Bold;
            run.italic = format.fontItalic();
            run.underline = format.fontUnderline();
            if (format.hasProperty(QTextFormat::ForegroundBrush) &&
                format.foreground().style() != Qt::NoBrush)
                run.colour = format.foreground().color();
            QString piece = fragment.text();
            piece.replace(QChar::LineSeparator, QLatin1Char('\n'));
            piece.remove(QChar::ObjectReplacementCharacter);
            text.append(piece, run);
        }
    }
    return text;
}

void FillDocument(QTextDocument &document, const RichText &text, const QFont &font)
{
    document.clear();
    document.setDefaultFont(font);
    QTextCursor cursor(&document);
    QTextCharFormat base;
    base.setFont(font);
    cursor.setCharFormat(base);
    for (const RichTextRun &run : text.runs) {
        QTextCharFormat format = base;
        format.setFontWeight(run.bold ? QFont::Bold : QFont::Normal);
        format.setFontItalic(run.italic);
        format.setFontUnderline(run.underline);
        if (run.colour.isValid())
            format.setForeground(run.colour);
        const QStringList paragraphs = run.text.split(QLatin1Char('\n'));
        for (qsizetype k = 0; k < paragraphs.size(); ++k) {
            if (k > 0)
                cursor.insertBlock(QTextBlockFormat(), format);
            cursor.insertText(paragraphs[k], format);
        }
    }
    // The caret types in the default format afterwards, not in the last run's.
    cursor.movePosition(QTextCursor::Start);
}

} // namespace tiradex
