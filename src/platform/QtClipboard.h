#pragma once

#include "platform/Clipboard.h"

namespace tiradex {

// The clipboard of the desktop session, through QGuiApplication::clipboard().
class QtClipboard : public Clipboard
{
public:
    void setPlainText(const QString &text) override;
    void setRichText(const QByteArray &rtf, const QString &html, const QString &plain) override;
};

} // namespace tiradex
