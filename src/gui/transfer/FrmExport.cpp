#include "gui/transfer/FrmExport.h"

#include "core/app/Module1.h"
#include "core/transfer/TransferTexts.h"

#include <QLineEdit>
#include <QPushButton>

namespace tiradex {

FrmExport::FrmExport(Module1 &state, const PlatformServices &services, PlayWindowHost &host,
                     QWidget *parent)
    : TransferWindow(state, services, host,
                     {TransferTexts::ExportTitle, TransferTexts::ExportPathFrame,
                      TransferTexts::ExportOptionsFrame, TransferTexts::ExportVox,
                      TransferTexts::ExportNotes, TransferTexts::ExportPhotos,
                      TransferTexts::ExportButton, TransferTexts::ExportMissingButton,
                      "CmdPathExport", "CmdExport", false},
                     parent)
{
    setObjectName(QStringLiteral("FrmExport"));
    for (TransferCategory category : TransferCategories)
        m_files[int(category)] = ListPlayFiles(m_state, category);
    connect(CmdPath, &QPushButton::clicked, this, &FrmExport::CmdPathExportClick);
    connect(CmdTransfer, &QPushButton::clicked, this, &FrmExport::CmdExportClick);
    connect(CmdVoxManquants, &QPushButton::clicked, this, &FrmExport::CmdVoxManquantsClick);
}

QSize FrmExport::SizeInFrame(const QSize &frame)
{
    return QSize(qMin(frame.width(), 720), qMin(frame.height(), 600));
}

void FrmExport::CmdPathExportClick()
{
    browse(TransferTexts::ExportFolderTitle);
}

void FrmExport::CmdExportClick()
{
    const TransferRequest chosen = request(m_files);
    runTransfer([this, &chosen](const TransferHooks &hooks) {
        return ExportFiles(m_state, chosen, volumeQuery(), hooks);
    });
}

void FrmExport::CmdVoxManquantsClick()
{
    const QStringList characters = selectedCharacters();
    if (characters.isEmpty()) {
        message(TransferTexts::ExportMissingNoCharacter);
        return;
    }
    showMissing(MissingRecordings(m_state, characters, m_state.VoxFolder()));
}

} // namespace tiradex
