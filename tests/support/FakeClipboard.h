#pragma once

#include "platform/Clipboard.h"

namespace tiradex {

// Keeps the last content put on the clipboard, in each of its forms.
class FakeClipboard : public Clipboard
{
public:
    QByteArray rtf;
    QString html;
    QString plain;
    int copies = 0; // how many times something was put on the clipboard

    void setPlainText(const QString &text) override
    {
        rtf.clear();
        html.clear();
        plain = text;
        ++copies;
    }
    void setRichText(const QByteArray &rtfText, const QString &htmlText,
                     const QString &plainText) override
    {
        rtf = rtfText;
        html = htmlText;
        plain = plainText;
        ++copies;
    }
};

} // namespace tiradex
