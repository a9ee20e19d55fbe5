#pragma once

#include "core/annotations/RichText.h"

#include <QByteArray>
#include <QString>

class QTextDocument;

namespace tiradex {

// The font a written document asks for.
struct RtfFont
{
    QString family = QStringLiteral("Verdana");
    int pointSize = 12;
};

// A Rich Text Format 1.x document holding `text`: header with the
// Windows-1252 code page, a font table with `font`, a colour table when a
// run has a colour, then the runs with their bold, italic, underline and
// colour. Every paragraph ends with \par. Characters of Windows-1252 are
// written as \'hh, all others as \uN? (UTF-16 units, "?" for readers that
// lack Unicode); braces and backslashes are escaped, other control
// characters than tab and paragraph end are left out. Pure ASCII output.
QByteArray WriteRtf(const RichText &text, const RtfFont &font = RtfFont());

// The same for the content of a text document (see RichTextOfDocument).
QByteArray WriteRtf(const QTextDocument &document, const RtfFont &font = RtfFont());

} // namespace tiradex
