#include "gui/reports/FrmCalculs.h"

#include "gui/reports/ReportWindowParts.h"

#include "core/reports/ReportTexts.h"
#include "platform/Dialogs.h"

#include <QApplication>
#include <QCloseEvent>
#include <QElapsedTimer>
#include <QProgressBar>
#include <QPushButton>
#include <QTextEdit>
#include <QVBoxLayout>

namespace tiradex {

FrmCalculs::FrmCalculs(Module1 &state, const PlatformServices &services, QWidget *parent)
    : QWidget(parent), m_state(state), m_services(services), m_voxFiles(ListVoxFiles(state)),
      m_extract(DefaultDurationRecordExtractor())
{
    setObjectName(QStringLiteral("FrmCalculs"));
    setWindowTitle(ReportTexts::durationsTitle());
    RichTextBox1 = MakeRichTextBox(this);
    ProgBar = new QProgressBar(this);
    ProgBar->setObjectName(QStringLiteral("ProgBar"));
    ProgBar->hide();
    QHBoxLayout *buttons = MakeButtonBar(this, &Picture1);
    CmdCalcul = MakeButton(this, "CmdCalcul", ReportTexts::calculateCaption());
    CmdClipBoard = MakeButton(this, "CmdClipBoard", ReportTexts::clipBoardCaption());
    buttons->addWidget(CmdCalcul);
    buttons->addWidget(CmdClipBoard);
    auto *column = new QVBoxLayout(this);
    column->addWidget(RichTextBox1, 1);
    column->addWidget(ProgBar);
    column->addWidget(Picture1);
    connect(CmdCalcul, &QPushButton::clicked, this, &FrmCalculs::CmdCalculClick);
    connect(CmdClipBoard, &QPushButton::clicked, this, &FrmCalculs::CmdClipBoardClick);
}

void FrmCalculs::CmdCalculClick()
{
    if (m_calculating)
        return;
    if (m_voxFiles.isEmpty()) {
        if (m_services.dialogs)
            m_services.dialogs->information(this, ReportTexts::noVoxFile());
        return;
    }
    m_calculating = true;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    RichTextBox1->clear();
    CmdCalcul->setEnabled(false);
    CmdClipBoard->setEnabled(false);
    ProgBar->setValue(0);
    ProgBar->show();
    QElapsedTimer sincePaint;
    sincePaint.start();
    const auto progress = [this, &sincePaint](int value, int maximum) {
        ProgBar->setMaximum(qMax(maximum, 0));
        ProgBar->setValue(value);
        // Repaint a few times a second; clicks and keys wait for the end.
        if (sincePaint.elapsed() >= 50 || value == maximum) {
            QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
            sincePaint.restart();
        }
    };
    QString error;
    const std::optional<QString> result =
        CalculateDurations(m_state, m_voxFiles, m_extract, progress, &error);
    ProgBar->hide();
    ShowPlainText(*RichTextBox1, result.value_or(QString()));
    CmdCalcul->setEnabled(true);
    CmdClipBoard->setEnabled(true);
    QApplication::restoreOverrideCursor();
    m_calculating = false;
}

void FrmCalculs::CmdClipBoardClick()
{
    if (m_services.dialogs)
        CopyToClipboard(this, *m_services.dialogs, m_services.clipboard, *RichTextBox1,
                        ReportTexts::reportEmpty());
}

void FrmCalculs::closeEvent(QCloseEvent *event)
{
    // A close that arrives while the calculation pumps events waits for it.
    if (m_calculating)
        event->ignore();
    else
        QWidget::closeEvent(event);
}

} // namespace tiradex
