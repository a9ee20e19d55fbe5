#include "gui/app/FrmImportPlay.h"

#include "core/app/ImportedPlays.h"
#include "platform/Dialogs.h"

#include <QFileInfo>
#include <QFontDatabase>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace tiradex {

FrmImportPlay::FrmImportPlay(PlayImport import, const QString &sourceName, const QString &appFolder,
                             Dialogs &dialogs, QWidget *parent)
    : QDialog(parent), m_import(std::move(import)), m_appFolder(appFolder), m_dialogs(dialogs)
{
    setObjectName(QStringLiteral("FrmImportPlay"));
    setWindowTitle(QStringLiteral("Import a play"));
    auto *layout = new QVBoxLayout(this);

    LbSource = new QLabel(QFileInfo(sourceName).fileName(), this);
    LbSource->setObjectName(QStringLiteral("LbSource"));
    TxtTitle = new QLineEdit(m_import.title(), this);
    TxtTitle->setObjectName(QStringLiteral("TxtTitle"));
    TxtTitle->setMaxLength(PlayImport::MaxTitleLength);
    auto *form = new QFormLayout;
    form->addRow(QStringLiteral("File:"), LbSource);
    form->addRow(QStringLiteral("&Title:"), TxtTitle);
    layout->addLayout(form);

    LstCharacters = new QTreeWidget(this);
    LstCharacters->setObjectName(QStringLiteral("LstCharacters"));
    LstCharacters->setHeaderLabels(
        {QStringLiteral("Character"), QStringLiteral("Replies"), QStringLiteral("Status")});
    LstCharacters->setRootIsDecorated(false);
    LstCharacters->header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    layout->addWidget(LstCharacters, 2);

    auto *renameRow = new QHBoxLayout;
    TxtName = new QLineEdit(this);
    TxtName->setObjectName(QStringLiteral("TxtName"));
    TxtName->setMaxLength(PlayImport::MaxNameLength);
    TxtName->setPlaceholderText(
        QStringLiteral("New name (the name of another character merges the two)"));
    CmdRename = new QPushButton(QStringLiteral("&Rename"), this);
    CmdRename->setObjectName(QStringLiteral("CmdRename"));
    renameRow->addWidget(TxtName, 1);
    renameRow->addWidget(CmdRename);
    layout->addLayout(renameRow);

    TxtReport = new QPlainTextEdit(this);
    TxtReport->setObjectName(QStringLiteral("TxtReport"));
    TxtReport->setReadOnly(true);
    TxtReport->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    layout->addWidget(TxtReport, 3);

    auto *buttons = new QHBoxLayout;
    CmdAccept = new QPushButton(QStringLiteral("&Import"), this);
    CmdAccept->setObjectName(QStringLiteral("CmdAccept"));
    CmdCancel = new QPushButton(QStringLiteral("Cancel"), this);
    CmdCancel->setObjectName(QStringLiteral("CmdCancel"));
    buttons->addStretch(1);
    buttons->addWidget(CmdAccept);
    buttons->addWidget(CmdCancel);
    layout->addLayout(buttons);

    connect(LstCharacters, &QTreeWidget::itemSelectionChanged, this,
            &FrmImportPlay::characterChosen);
    connect(CmdRename, &QPushButton::clicked, this, &FrmImportPlay::CmdRenameClick);
    connect(TxtName, &QLineEdit::returnPressed, this, &FrmImportPlay::CmdRenameClick);
    connect(CmdAccept, &QPushButton::clicked, this, &FrmImportPlay::CmdAcceptClick);
    connect(CmdCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(TxtTitle, &QLineEdit::editingFinished, this, [this] {
        if (TxtTitle->text().simplified() != m_import.title())
            applyTitle();
    });
    resize(720, 640);
    refresh();
}

void FrmImportPlay::refresh()
{
    const int row = LstCharacters->currentIndex().row();
    LstCharacters->clear();
    for (const PlayImport::Character &character : m_import.characters()) {
        auto *item = new QTreeWidgetItem(
            LstCharacters, {character.name, QString::number(character.replies), character.status});
        item->setTextAlignment(1, Qt::AlignRight | Qt::AlignVCenter);
    }
    if (row >= 0 && row < LstCharacters->topLevelItemCount())
        LstCharacters->setCurrentItem(LstCharacters->topLevelItem(row));
    TxtReport->setPlainText(m_import.reportText());
    CmdAccept->setEnabled(m_import.canImport());
    CmdRename->setEnabled(LstCharacters->topLevelItemCount() > 0);
}

void FrmImportPlay::characterChosen()
{
    if (const QTreeWidgetItem *item = LstCharacters->currentItem())
        TxtName->setText(item->text(0));
}

void FrmImportPlay::CmdRenameClick()
{
    const int index = LstCharacters->currentIndex().row();
    const QString name = TxtName->text().simplified();
    const QList<PlayImport::Character> characters = m_import.characters();
    if (index < 0 || index >= characters.size()) {
        m_dialogs.information(this, QStringLiteral("Choose the character to rename first."));
        return;
    }
    const QString old = characters.at(index).name;
    if (name == old)
        return;
    for (qsizetype other = 0; other < characters.size(); ++other) {
        const QString &target = characters.at(other).name;
        if (other != index && target.compare(name, Qt::CaseInsensitive) == 0 &&
            m_dialogs.askYesNo(this, QStringLiteral("%1 is already a character. Merge %2 into "
                                                    "%1? The replies of %2 become replies of %1.")
                                         .arg(target, old)) != Dialogs::Answer::Yes)
            return;
    }
    QString error;
    if (!m_import.renameCharacter(index, name, &error)) {
        m_dialogs.information(this, error);
        return;
    }
    refresh();
}

bool FrmImportPlay::applyTitle()
{
    QString error;
    if (!m_import.setTitle(TxtTitle->text(), &error)) {
        m_dialogs.information(this, error);
        TxtTitle->setFocus();
        return false;
    }
    TxtTitle->setText(m_import.title());
    refresh();
    return true;
}

void FrmImportPlay::CmdAcceptClick()
{
    if (!applyTitle() || !m_import.canImport())
        return;
    QString error;
    const std::optional<GeneratedPlay> play = m_import.build(&error);
    std::optional<PlayCatalogueEntry> entry;
    if (play)
        entry = StoreImportedPlay(m_appFolder, m_import.title(), play->text, play->charactersFile,
                                  &error);
    if (!entry) {
        m_dialogs.information(this, QStringLiteral("The play could not be stored. %1").arg(error));
        return;
    }
    m_stored = entry;
    accept();
}

} // namespace tiradex
