#pragma once

#include "platform/Dialogs.h"

namespace tiradex {

// Dialogs through QMessageBox and QFileDialog.
class QtDialogs : public Dialogs
{
public:
    static QString title() { return QStringLiteral("Tiradex"); }

    void information(QWidget *parent, const QString &text) override;
    Answer askYesNo(QWidget *parent, const QString &text) override;
    Answer askYesNoCancel(QWidget *parent, const QString &text) override;
    QString openFileName(QWidget *parent, const QString &caption, const QString &folder,
                         const QString &filter) override;
    QString BrowseForFolder(const QString &title, QWidget *owner) override;
};

} // namespace tiradex
