#include "platform/QtDialogs.h"

#include <QFileDialog>
#include <QMessageBox>

namespace tiradex {

namespace {
Dialogs::Answer toAnswer(QMessageBox::StandardButton button)
{
    switch (button) {
    case QMessageBox::Yes:
        return Dialogs::Answer::Yes;
    case QMessageBox::No:
        return Dialogs::Answer::No;
    case QMessageBox::Cancel:
        return Dialogs::Answer::Cancel;
    default:
        return Dialogs::Answer::Ok;
    }
}
} // namespace

void QtDialogs::information(QWidget *parent, const QString &text)
{
    QMessageBox::information(parent, title(), text, QMessageBox::Ok);
}

Dialogs::Answer QtDialogs::askYesNo(QWidget *parent, const QString &text)
{
    const auto button = QMessageBox::question(parent, title(), text,
                                              QMessageBox::Yes | QMessageBox::No, QMessageBox::No);
    return button == QMessageBox::Yes ? Answer::Yes : Answer::No;
}

Dialogs::Answer QtDialogs::askYesNoCancel(QWidget *parent, const QString &text)
{
    const auto button = QMessageBox::question(
        parent, title(), text, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel,
        QMessageBox::Cancel);
    return toAnswer(button);
}

QString QtDialogs::openFileName(QWidget *parent, const QString &caption, const QString &folder,
                                const QString &filter)
{
    return QFileDialog::getOpenFileName(parent, caption, folder, filter);
}

QString QtDialogs::BrowseForFolder(const QString &titleText, QWidget *owner)
{
    return QFileDialog::getExistingDirectory(owner, titleText, QString(),
                                             QFileDialog::ShowDirsOnly);
}

} // namespace tiradex
