#include "core/reports/ClipboardTexts.h"

#include "core/annotations/RtfWriter.h"

#include <QTextDocument>

namespace tiradex {

ClipboardTexts ClipboardTextsOf(const QTextDocument &document)
{
    ClipboardTexts texts;
    texts.rtf = WriteRtf(document);
    texts.html = document.toHtml();
    texts.plain = document.toPlainText().replace(QChar::ParagraphSeparator, u'\n');
    texts.plain.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    return texts;
}

} // namespace tiradex
