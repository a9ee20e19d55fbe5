#pragma once

#include <QByteArray>
#include <QString>

class QTextDocument;

namespace tiradex {

// The forms in which a text window's content goes to the clipboard, so that
// a paste works in a word processor (RTF), a browser-based or other rich
// editor (HTML) and a plain editor (text with CR LF line ends).
struct ClipboardTexts
{
    QByteArray rtf;
    QString html;
    QString plain;
};

// The clipboard forms of `document`: bold, underline and colour of its
// characters are kept in the RTF and the HTML; the plain text has CR LF
// line ends.
ClipboardTexts ClipboardTextsOf(const QTextDocument &document);

} // namespace tiradex
