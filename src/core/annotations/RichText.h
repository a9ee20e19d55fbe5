#pragma once

#include <QColor>
#include <QList>
#include <QString>

class QFont;
class QTextDocument;

namespace tiradex {

// A piece of text with one character format. In `text`, "\n" ends a
// paragraph and "\t" is a tab; every other character is shown as it is.
struct RichTextRun
{
    QString text;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    QColor colour; // invalid: the default (automatic) colour

    bool sameFormat(const RichTextRun &other) const
    {
        return bold == other.bold && italic == other.italic && underline == other.underline &&
               colour == other.colour;
    }
    bool operator==(const RichTextRun &) const = default;
};

// A formatted text: runs in order. Adjacent runs of the same format are
// merged by append(), so two equal texts compare equal.
struct RichText
{
    QList<RichTextRun> runs;

    // Adds `text` in the format of `format` (its text is ignored).
    void append(const QString &text, const RichTextRun &format);
    // The text without its formats: paragraphs separated by "\n".
    QString plainText() const;
    bool operator==(const RichText &) const = default;
};

// The runs of a text document: its blocks become paragraphs, the bold
// (weight of Bold or more), italic, underline and text colour of its
// fragments are kept; line separators count as paragraph ends and objects
// (images) are left out.
RichText RichTextOfDocument(const QTextDocument &document);

// Replaces the content of `document` with `text`, every run in `font` with
// its own bold, italic, underline and colour.
void FillDocument(QTextDocument &document, const RichText &text, const QFont &font);

} // namespace tiradex
