#pragma once

#include "gui/transfer/TransferWindow.h"

#include <QStringList>

#include <array>

namespace tiradex {

// The import window: copies the recordings, notes and photos of the chosen
// characters from a transfer folder into the play, replacing the play's own
// files only when asked, and lists the replies whose recording the folder
// lacks. The folder's category lists are read when the folder is chosen
// (or typed and left).
class FrmImport : public TransferWindow
{
    Q_OBJECT

public:
    FrmImport(Module1 &state, const PlatformServices &services, PlayWindowHost &host,
              QWidget *parent = nullptr);

    static QSize SizeInFrame(const QSize &frame);

    // The files of each category in the folder, as last read.
    const std::array<QStringList, 3> &mediumFiles() const { return m_files; }

public Q_SLOTS:
    void CmdPathImportClick();
    void CmdImportClick();
    void CmdVoxManquantsClick();

private:
    void readMedium();

    std::array<QStringList, 3> m_files; // FileVox, FileNotes, FilePhotos
};

} // namespace tiradex
