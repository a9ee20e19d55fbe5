#pragma once

#include <QWidget>

class QLabel;
class QPushButton;

namespace tiradex {

class Clipboard;
class Dialogs;

// The About box: product, version, legal notice and maker. The e-mail and
// web labels copy their text to the clipboard when clicked (or when Return
// or Space is pressed on them) and say so.
class FrmAbout : public QWidget
{
    Q_OBJECT

public:
    FrmAbout(Dialogs &dialogs, Clipboard *clipboard, QWidget *parent = nullptr);

    QLabel *Label1 = nullptr; // "Tiradex"
    QLabel *Label6 = nullptr; // "Version 1.00"
    QLabel *Label5 = nullptr; // legal notice
    QLabel *Label7 = nullptr; // the maker's company line
    QLabel *Label2 = nullptr; // e-mail address
    QLabel *Label8 = nullptr; // web address
    QPushButton *Command1 = nullptr;

public Q_SLOTS:
    void Label2Click();
    void Label8Click();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    void copyToClipboard(const QString &text, const QString &message);

    Dialogs &m_dialogs;
    Clipboard *m_clipboard;
};

} // namespace tiradex
