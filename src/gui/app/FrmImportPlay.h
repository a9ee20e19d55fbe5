#pragma once

#include "core/app/PlayCatalogue.h"
#include "core/playimport/PlayImport.h"

#include <QDialog>

#include <optional>

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTreeWidget;

namespace tiradex {

class Dialogs;

// The import report of a play of the user, before anything is stored: the
// title (editable), the characters with their replies (renamed or merged
// here), and every line the import could not place. "Import" stores the
// play in the application folder; "Cancel" stores nothing.
class FrmImportPlay : public QDialog
{
    Q_OBJECT

public:
    FrmImportPlay(PlayImport import, const QString &sourceName, const QString &appFolder,
                  Dialogs &dialogs, QWidget *parent = nullptr);

    // The play stored by "Import"; empty until then.
    std::optional<PlayCatalogueEntry> storedPlay() const { return m_stored; }
    const PlayImport &import() const { return m_import; }

    QLabel *LbSource = nullptr;
    QLineEdit *TxtTitle = nullptr;
    QTreeWidget *LstCharacters = nullptr;
    QLineEdit *TxtName = nullptr;
    QPushButton *CmdRename = nullptr;
    QPlainTextEdit *TxtReport = nullptr;
    QPushButton *CmdAccept = nullptr;
    QPushButton *CmdCancel = nullptr;

public Q_SLOTS:
    void CmdRenameClick();
    void CmdAcceptClick();

private:
    void refresh();
    void characterChosen();
    bool applyTitle();

    PlayImport m_import;
    QString m_appFolder;
    Dialogs &m_dialogs;
    std::optional<PlayCatalogueEntry> m_stored;
};

} // namespace tiradex
