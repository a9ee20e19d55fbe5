#include "gui/reports/FrmPrintText.h"

#include "gui/app/PlayWindowHost.h"
#include "gui/reports/ReportWindowParts.h"

#include "core/app/Module1.h"
#include "core/app/PlayCatalogue.h"
#include "core/play/CharactersFile.h"
#include "core/reports/ReportTexts.h"
#include "platform/Dialogs.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTextEdit>

namespace tiradex {

namespace {
QString playTitle(const Module1 &state)
{
    const PlayCatalogueEntry *entry = FindPlay(state.PlayCode);
    return entry ? entry->windowTitle : state.PlayCode;
}
} // namespace

FrmPrintText::FrmPrintText(Module1 &state, const PlatformServices &services, PlayWindowHost &host,
                           QWidget *parent)
    : QWidget(parent), m_state(state), m_services(services), m_host(host)
{
    RichTextBox1 = MakeRichTextBox(this);
    ListPersonnages = new QListWidget(this);
    ListPersonnages->setObjectName(QStringLiteral("ListPersonnages"));
    ListPersonnages->setSelectionMode(QAbstractItemView::MultiSelection);
    ListPersonnages->setMaximumWidth(220);
    LbNumActe = new QLabel(this);
    LbNumActe->setObjectName(QStringLiteral("LbNumActe"));
    LbNumScene = new QLabel(this);
    LbNumScene->setObjectName(QStringLiteral("LbNumScene"));
    LbEntete = new QLabel(this);
    LbEntete->setObjectName(QStringLiteral("LbEntete"));
    for (QLabel *hidden : {LbNumActe, LbNumScene, LbEntete})
        hidden->hide();

    QHBoxLayout *buttons = MakeButtonBar(this, &Picture1);
    CheckNumReplique = new QCheckBox(ReportTexts::repliesNumbersCaption(), this);
    CheckNumReplique->setObjectName(QStringLiteral("CheckNumReplique"));
    CmdSelect = MakeButton(this, "CmdSelect", ReportTexts::applySelectionCaption());
    CmdClipBoard = MakeButton(this, "CmdClipBoard", ReportTexts::clipBoardCaption());
    buttons->addWidget(CheckNumReplique);
    buttons->addWidget(CmdSelect);
    buttons->addWidget(CmdClipBoard);

    auto *grid = new QGridLayout(this);
    grid->addWidget(RichTextBox1, 0, 0);
    grid->addWidget(ListPersonnages, 0, 1);
    grid->addWidget(Picture1, 1, 0, 1, 2);
    grid->setColumnStretch(0, 1);

    connect(CmdSelect, &QPushButton::clicked, this, &FrmPrintText::CmdSelectClick);
    // A click on the box acts at once, with the selection as it stands.
    connect(CheckNumReplique, &QCheckBox::clicked, this, &FrmPrintText::CmdSelectClick);
    connect(CmdClipBoard, &QPushButton::clicked, this, &FrmPrintText::CmdClipBoardClick);
}

void FrmPrintText::Form_Load()
{
    ListPersonnages->addItems(m_host.characters().names);
    SceneTextOptions options;
    options.names = m_host.characters().names;
    options.replyNumbers = CheckNumReplique->isChecked();
    showText(assemble(options));
}

void FrmPrintText::CmdSelectClick()
{
    SceneTextOptions options;
    options.names = m_host.characters().names;
    options.replyNumbers = CheckNumReplique->isChecked();
    for (const QListWidgetItem *item : ListPersonnages->selectedItems())
        options.selected.append(item->text());
    showText(assemble(options));
}

void FrmPrintText::CmdClipBoardClick()
{
    if (m_services.dialogs)
        CopyToClipboard(this, *m_services.dialogs, m_services.clipboard, *RichTextBox1,
                        ReportTexts::textZoneEmpty());
}

void FrmPrintText::showText(const MarkedText &text)
{
    m_shown = text;
    FillMarkedDocument(*RichTextBox1->document(), text);
    RichTextBox1->moveCursor(QTextCursor::Start);
}

FrmPrintScene::FrmPrintScene(Module1 &state, const PlatformServices &services, PlayWindowHost &host,
                             int act, int scene, QWidget *parent)
    : FrmPrintText(state, services, host, parent), m_act(act), m_scene(scene)
{
    setObjectName(QStringLiteral("FrmPrintScene"));
    setWindowTitle(SceneWindowCaption(playTitle(state), act, scene));
    LbNumActe->setText(QStringLiteral("ACT %1").arg(act));
    LbNumScene->setText(QStringLiteral("SCENE %1").arg(scene));
    Form_Load();
}

MarkedText FrmPrintScene::assemble(const SceneTextOptions &options) const
{
    MarkedText text = SceneWindowText(m_state, m_act, m_scene, options);
    LbEntete->setText(text.text.section(QStringLiteral("\r\n"), 0, 0));
    return text;
}

FrmPrintActe::FrmPrintActe(Module1 &state, const PlatformServices &services, PlayWindowHost &host,
                           int act, QWidget *parent)
    : FrmPrintText(state, services, host, parent), m_act(act)
{
    setObjectName(QStringLiteral("FrmPrintActe"));
    setWindowTitle(ActWindowCaption(playTitle(state), act));
    LbNumActe->setText(QStringLiteral("ACT %1").arg(act));
    Form_Load();
}

MarkedText FrmPrintActe::assemble(const SceneTextOptions &options) const
{
    return ActWindowText(m_state, m_act, options);
}

} // namespace tiradex
