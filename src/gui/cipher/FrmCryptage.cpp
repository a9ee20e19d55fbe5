#include "gui/cipher/FrmCryptage.h"

#include "core/app/AppTexts.h"
#include "core/app/Module1.h"
#include "core/cipher/CryptFiles.h"
#include "platform/Dialogs.h"

#include <QDir>
#include <QGridLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>

namespace tiradex {

FrmCryptage::FrmCryptage(Module1 &state, Dialogs &dialogs, QWidget *parent)
    : QWidget(parent), m_state(state), m_dialogs(dialogs)
{
    setObjectName(QStringLiteral("FrmCryptage"));
    setWindowTitle(AppTexts::cipherCaption());
    setAttribute(Qt::WA_DeleteOnClose);
    File1 = new QListWidget(this);
    File1->setObjectName(QStringLiteral("File1"));
    Label1 = new QLabel(this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Command1 = new QPushButton(AppTexts::encipherButton(), this);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command1->setEnabled(false);
    Command2 = new QPushButton(AppTexts::decipherButton(), this);
    Command2->setObjectName(QStringLiteral("Command2"));

    auto *layout = new QGridLayout(this);
    layout->addWidget(File1, 0, 0, 3, 1);
    layout->addWidget(Label1, 0, 1);
    layout->addWidget(Command1, 1, 1);
    layout->addWidget(Command2, 2, 1);

    connect(File1, &QListWidget::itemClicked, this, &FrmCryptage::File1Click);
    // The keyboard picks a file too.
    connect(File1, &QListWidget::itemActivated, this, &FrmCryptage::File1Click);
    connect(Command1, &QPushButton::clicked, this, &FrmCryptage::Command1Click);
    connect(Command2, &QPushButton::clicked, this, &FrmCryptage::Command2Click);
    refreshFiles();
}

void FrmCryptage::refreshFiles()
{
    File1->clear();
    const QDir folder(m_state.AppFolder);
    File1->addItems(folder.entryList({QStringLiteral("*.dat")}, QDir::Files, QDir::Name));
}

void FrmCryptage::File1Click(QListWidgetItem *item)
{
    if (!item)
        return;
    Label1->setText(item->text());
    Command1->setEnabled(true);
}

void FrmCryptage::Command1Click()
{
    run(1);
}

void FrmCryptage::Command2Click()
{
    run(2);
}

void FrmCryptage::run(int mode)
{
    // An empty name is never handed to the cipher: without a pick the
    // button does nothing.
    if (Label1->text().isEmpty())
        return;
    // A failure is told as it is, never as done.
    const CryptFilesResult result = CryptFiles(m_state, mode, Label1->text());
    m_dialogs.information(this, result.ok() ? AppTexts::cipherDone() : result.error);
}

} // namespace tiradex
