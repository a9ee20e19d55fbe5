#pragma once

#include "core/reports/DurationCalculation.h"
#include "platform/PlatformServices.h"

#include <QStringList>
#include <QWidget>

class QProgressBar;
class QPushButton;
class QTextEdit;

namespace tiradex {

class Module1;

// The durations window: "Calculate" adds up the durations recorded in the
// play's vox files (listed when the window opens) and estimates the length
// of the whole play from them. The progress bar shows only while a
// calculation runs; the window keeps repainting meanwhile, but takes no
// input until the calculation is over.
class FrmCalculs : public QWidget
{
    Q_OBJECT

public:
    FrmCalculs(Module1 &state, const PlatformServices &services, QWidget *parent = nullptr);

    // The reading of the duration records (the program's by default).
    void setExtractor(DurationRecordExtractor extract) { m_extract = std::move(extract); }
    // The vox files the window found when it opened.
    const QStringList &voxFiles() const { return m_voxFiles; }

    QTextEdit *RichTextBox1 = nullptr;
    QProgressBar *ProgBar = nullptr;
    QWidget *Picture1 = nullptr;
    QPushButton *CmdCalcul = nullptr;
    QPushButton *CmdClipBoard = nullptr;

public Q_SLOTS:
    void CmdCalculClick();
    void CmdClipBoardClick();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    Module1 &m_state;
    PlatformServices m_services;
    QStringList m_voxFiles;
    DurationRecordExtractor m_extract;
    bool m_calculating = false;
};

} // namespace tiradex
