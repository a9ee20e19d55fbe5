#pragma once

#include <QByteArray>
#include <QString>

namespace tiradex {

// The system clipboard. A rich-text copy replaces its content with the same
// text in every form another program may paste: Rich Text Format (under
// "text/rtf" and "text/richtext"), HTML and plain text.
class Clipboard
{
public:
    virtual ~Clipboard() = default;

    virtual void setPlainText(const QString &text) = 0;
    virtual void setRichText(const QByteArray &rtf, const QString &html, const QString &plain) = 0;
};

} // namespace tiradex
