#include "gui/reports/ReportWindowParts.h"

#include "core/reports/ClipboardTexts.h"
#include "core/reports/ReportTexts.h"
#include "platform/Clipboard.h"
#include "platform/Dialogs.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QPushButton>
#include <QTextEdit>

namespace tiradex {

QTextEdit *MakeRichTextBox(QWidget *window)
{
    auto *box = new QTextEdit(window);
    box->setObjectName(QStringLiteral("RichTextBox1"));
    box->setAcceptRichText(false);
    return box;
}

QHBoxLayout *MakeButtonBar(QWidget *window, QWidget **bar)
{
    *bar = new QWidget(window);
    (*bar)->setObjectName(QStringLiteral("Picture1"));
    auto *frame = new QFrame(*bar);
    frame->setObjectName(QStringLiteral("Frame1"));
    auto *centred = new QHBoxLayout(*bar);
    centred->addStretch(1);
    centred->addWidget(frame);
    centred->addStretch(1);
    return new QHBoxLayout(frame);
}

QPushButton *MakeButton(QWidget *parent, const char *name, const QString &caption)
{
    auto *button = new QPushButton(caption, parent);
    button->setObjectName(QLatin1String(name));
    button->setAutoDefault(false);
    return button;
}

void CopyToClipboard(QWidget *window, Dialogs &dialogs, Clipboard *clipboard, const QTextEdit &box,
                     const QString &emptyMessage)
{
    if (box.toPlainText().trimmed().isEmpty()) {
        dialogs.information(window, emptyMessage);
        return;
    }
    if (!clipboard)
        return;
    const ClipboardTexts texts = ClipboardTextsOf(*box.document());
    clipboard->setRichText(texts.rtf, texts.html, texts.plain);
    dialogs.information(window, ReportTexts::copied());
}

void ShowPlainText(QTextEdit &box, const QString &text)
{
    QString shown = text;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    box.setPlainText(shown);
}

} // namespace tiradex
