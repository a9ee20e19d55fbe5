#pragma once

#include "gui/transfer/TransferWindow.h"

#include <QStringList>

#include <array>

namespace tiradex {

// The export window: copies the recordings, notes and photos of the chosen
// characters to a transfer folder, and lists their replies that have no
// recording yet. The play's category lists are read once, when it opens.
class FrmExport : public TransferWindow
{
    Q_OBJECT

public:
    FrmExport(Module1 &state, const PlatformServices &services, PlayWindowHost &host,
              QWidget *parent = nullptr);

    // The window's size in a frame window whose window area is `frame`.
    static QSize SizeInFrame(const QSize &frame);

public Q_SLOTS:
    void CmdPathExportClick();
    void CmdExportClick();
    void CmdVoxManquantsClick();

private:
    std::array<QStringList, 3> m_files; // FileVox, FileNotes, FilePhotos
};

} // namespace tiradex
