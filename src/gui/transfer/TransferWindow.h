#pragma once

#include "core/transfer/Transfer.h"
#include "platform/PlatformServices.h"

#include <QWidget>

#include <array>
#include <functional>

class QCheckBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QProgressBar;
class QPushButton;

namespace tiradex {

class Module1;
class PlayWindowHost;

// What the export and import windows share: the transfer folder, the
// category boxes, the characters with their select-all toggle, the
// missing-recordings list, and the space panel with its progress bar that
// shows only while a transfer runs. FrmExport and FrmImport give the
// captions and the commands.
//
// While a transfer runs the window keeps repainting (the progress bar moves)
// but takes no user input: its controls are disabled, input events are held
// back, and it refuses to close until the transfer has ended.
class TransferWindow : public QWidget
{
    Q_OBJECT

public:
    QGroupBox *Frame1 = nullptr;
    QLineEdit *TxtCheminReseau = nullptr;
    QPushButton *CmdPath = nullptr; // CmdPathExport / CmdPathImport
    QGroupBox *Frame2 = nullptr;
    QCheckBox *CheckVox = nullptr;
    QCheckBox *CheckNotes = nullptr;
    QCheckBox *CheckPhotos = nullptr;
    QCheckBox *ChkRemplacer = nullptr; // the import window only
    QListWidget *ListPersonnages = nullptr;
    QPushButton *CmdCoch = nullptr;
    QPushButton *CmdTransfer = nullptr; // CmdExport / CmdImport
    QPushButton *CmdVoxManquants = nullptr;
    QListWidget *LstVoxManquants = nullptr;
    QFrame *PictDiskFreeSpace = nullptr;
    QLabel *LbTailleTotale = nullptr;
    QLabel *LbEspaceOccuped = nullptr;
    QLabel *LbEspaceLibre = nullptr;
    QLabel *LbNecessaire = nullptr;
    QLabel *LbMsgTransfertEnCours = nullptr;
    QProgressBar *ProgBar = nullptr;

    // True while a transfer runs.
    bool isTransferring() const { return m_running; }

public Q_SLOTS:
    // "Select all": selects every character, the caption becomes "Reset";
    // "Reset": deselects them all, the caption becomes "Select all".
    void CmdCochClick();

protected:
    struct Captions
    {
        QString title, pathFrame, optionsFrame, vox, notes, photos, action, missing;
        const char *pathButton;   // object name of the "..." button
        const char *actionButton; // object name of the transfer button
        bool withReplace;         // the "Remplacer les fichiers existants" box
    };

    TransferWindow(Module1 &state, const PlatformServices &services, PlayWindowHost &host,
                   const Captions &captions, QWidget *parent);

    // The choices on screen, with the category lists `files`.
    TransferRequest request(const std::array<QStringList, 3> &files) const;
    QStringList selectedCharacters() const;
    // The folder dialog with `title`; the chosen folder, ending with a
    // separator, goes into TxtCheminReseau (cleared on cancel). False on cancel.
    bool browse(const QString &title);
    // Runs `transfer` with the hooks that drive the panel, the progress bar
    // and the message boxes; does nothing while one runs already.
    void runTransfer(const std::function<TransferOutcome(const TransferHooks &)> &transfer);
    // The free space of the volume holding a path, from the platform.
    VolumeQuery volumeQuery() const;
    void showMissing(const QStringList &items);
    void message(const QString &text);

    void closeEvent(QCloseEvent *event) override;

    Module1 &m_state;
    PlatformServices m_services;
    PlayWindowHost &m_host;

private:
    void setBusy(bool busy);

    bool m_running = false;
    bool m_busyPointer = false;
};

} // namespace tiradex
