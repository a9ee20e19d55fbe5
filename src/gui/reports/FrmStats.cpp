#include "gui/reports/FrmStats.h"

#include "gui/app/PlayWindowHost.h"
#include "gui/reports/ReportWindowParts.h"

#include "core/play/CharactersFile.h"
#include "core/reports/ReplyStatistics.h"
#include "core/reports/ReportTexts.h"
#include "platform/Dialogs.h"

#include <QPushButton>
#include <QTextEdit>
#include <QVBoxLayout>

namespace tiradex {

FrmStats::FrmStats(Module1 &state, const PlatformServices &services, PlayWindowHost &host,
                   QWidget *parent)
    : QWidget(parent), m_state(state), m_services(services), m_host(host)
{
    setObjectName(QStringLiteral("FrmStats"));
    setWindowTitle(ReportTexts::statisticsTitle());
    RichTextBox1 = MakeRichTextBox(this);
    QHBoxLayout *buttons = MakeButtonBar(this, &Picture1);
    CmdClipBoard = MakeButton(this, "CmdClipBoard", ReportTexts::clipBoardCaption());
    buttons->addWidget(CmdClipBoard);
    auto *column = new QVBoxLayout(this);
    column->addWidget(RichTextBox1, 1);
    column->addWidget(Picture1);
    connect(CmdClipBoard, &QPushButton::clicked, this, &FrmStats::CmdClipBoardClick);
    Form_Load();
}

void FrmStats::Form_Load()
{
    const QStringList &names = m_host.characters().names;
    QString error;
    const std::optional<QList<StatRecord>> records = LoadStatCache(m_state, names, &error);
    if (!records) {
        if (m_services.dialogs)
            m_services.dialogs->information(this, ReportTexts::cannotCount(error));
        return;
    }
    ShowPlainText(*RichTextBox1, StatisticsReport(*records, names));
}

void FrmStats::CmdClipBoardClick()
{
    if (m_services.dialogs)
        CopyToClipboard(this, *m_services.dialogs, m_services.clipboard, *RichTextBox1,
                        ReportTexts::reportEmpty());
}

} // namespace tiradex
