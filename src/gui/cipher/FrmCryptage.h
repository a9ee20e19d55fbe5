#pragma once

#include <QWidget>

class QLabel;
class QListWidget;
class QListWidgetItem;
class QPushButton;

namespace tiradex {

class Dialogs;
class Module1;

// The encryption tool: lists the play data files ("*.dat") of the
// application folder and enciphers or deciphers the one picked, in place.
class FrmCryptage : public QWidget
{
    Q_OBJECT

public:
    FrmCryptage(Module1 &state, Dialogs &dialogs, QWidget *parent = nullptr);

    QListWidget *File1 = nullptr;    // the "*.dat" files of the application folder
    QLabel *Label1 = nullptr;        // the picked file's name
    QPushButton *Command1 = nullptr; // "Crypter", enabled once a file is picked
    QPushButton *Command2 = nullptr; // "Décrypter"

public Q_SLOTS:
    // Lists the application folder's "*.dat" files again.
    void refreshFiles();
    void File1Click(QListWidgetItem *item);
    void Command1Click();
    void Command2Click();

private:
    void run(int mode);

    Module1 &m_state;
    Dialogs &m_dialogs;
};

} // namespace tiradex
