#include "gui/transfer/FrmImport.h"

#include "gui/app/PlayWindowHost.h"

#include "core/transfer/TransferTexts.h"
#include "core/transfer/VoxCheck.h"

#include <QLineEdit>
#include <QPushButton>

namespace tiradex {

FrmImport::FrmImport(Module1 &state, const PlatformServices &services, PlayWindowHost &host,
                     QWidget *parent)
    : TransferWindow(state, services, host,
                     {TransferTexts::ImportTitle, TransferTexts::ImportPathFrame,
                      TransferTexts::ImportOptionsFrame, TransferTexts::ImportVox,
                      TransferTexts::ImportNotes, TransferTexts::ImportPhotos,
                      TransferTexts::ImportButton, TransferTexts::ImportMissingButton,
                      "CmdPathImport", "CmdImport", true},
                     parent)
{
    setObjectName(QStringLiteral("FrmImport"));
    connect(CmdPath, &QPushButton::clicked, this, &FrmImport::CmdPathImportClick);
    connect(CmdTransfer, &QPushButton::clicked, this, &FrmImport::CmdImportClick);
    connect(CmdVoxManquants, &QPushButton::clicked, this, &FrmImport::CmdVoxManquantsClick);
    // A folder typed by hand is read as a chosen one is, so that the lists
    // never describe another folder than the one the files come from.
    connect(TxtCheminReseau, &QLineEdit::editingFinished, this, &FrmImport::readMedium);
}

QSize FrmImport::SizeInFrame(const QSize &frame)
{
    return QSize(qMin(frame.width(), 720), qMin(frame.height(), 620));
}

void FrmImport::readMedium()
{
    for (TransferCategory category : TransferCategories)
        m_files[int(category)] = ListMediumFiles(TxtCheminReseau->text(), category);
}

void FrmImport::CmdPathImportClick()
{
    browse(TransferTexts::ImportFolderTitle);
    readMedium();
}

void FrmImport::CmdImportClick()
{
    const TransferRequest chosen = request(m_files);
    runTransfer([this, &chosen](const TransferHooks &hooks) {
        return ImportFiles(m_state, chosen, volumeQuery(), CheckMediumVox, hooks);
    });
    // The reply the play window shows may have a recording, note or photo now.
    m_host.refreshReplyFiles();
}

void FrmImport::CmdVoxManquantsClick()
{
    if (m_files[int(TransferCategory::Recordings)].isEmpty()) {
        message(TransferTexts::ImportMissingNoMedium);
        return;
    }
    const QStringList characters = selectedCharacters();
    if (characters.isEmpty()) {
        message(TransferTexts::ImportMissingNoCharacter);
        return;
    }
    showMissing(MissingRecordings(m_state, characters, TxtCheminReseau->text()));
}

} // namespace tiradex
