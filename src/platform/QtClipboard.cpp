#include "platform/QtClipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

namespace tiradex {

void QtClipboard::setPlainText(const QString &text)
{
    QGuiApplication::clipboard()->setText(text);
}

void QtClipboard::setRichText(const QByteArray &rtf, const QString &html, const QString &plain)
{
    auto *data = new QMimeData; // the clipboard takes ownership
    // Word processors on Linux look for either name of the rich-text format.
    data->setData(QStringLiteral("text/rtf"), rtf);
    data->setData(QStringLiteral("text/richtext"), rtf);
    data->setHtml(html);
    data->setText(plain);
    QGuiApplication::clipboard()->setMimeData(data);
}

} // namespace tiradex
