#include "gui/transfer/TransferWindow.h"

#include "gui/app/PlayWindowHost.h"

#include "core/play/CharactersFile.h"
#include "core/transfer/TransferTexts.h"
#include "platform/Dialogs.h"
#include "platform/DiskSpace.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace tiradex {

namespace {
template <class T> T *named(T *widget, const char *name)
{
    widget->setObjectName(QLatin1String(name));
    return widget;
}
} // namespace

TransferWindow::TransferWindow(Module1 &state, const PlatformServices &services,
                               PlayWindowHost &host, const Captions &captions, QWidget *parent)
    : QWidget(parent), m_state(state), m_services(services), m_host(host)
{
    setWindowTitle(captions.title);

    Frame1 = named(new QGroupBox(captions.pathFrame, this), "Frame1");
    TxtCheminReseau = named(new QLineEdit(Frame1), "TxtCheminReseau");
    CmdPath = named(new QPushButton(QStringLiteral("..."), Frame1), captions.pathButton);
    auto *pathRow = new QHBoxLayout(Frame1);
    pathRow->addWidget(TxtCheminReseau, 1);
    pathRow->addWidget(CmdPath);

    Frame2 = named(new QGroupBox(captions.optionsFrame, this), "Frame2");
    CheckVox = named(new QCheckBox(captions.vox, Frame2), "CheckVox");
    CheckNotes = named(new QCheckBox(captions.notes, Frame2), "CheckNotes");
    CheckPhotos = named(new QCheckBox(captions.photos, Frame2), "CheckPhotos");
    CheckVox->setChecked(true);
    auto *options = new QVBoxLayout(Frame2);
    options->addWidget(CheckVox);
    options->addWidget(CheckNotes);
    options->addWidget(CheckPhotos);
    if (captions.withReplace) {
        ChkRemplacer = named(new QCheckBox(TransferTexts::ImportReplace, Frame2), "ChkRemplacer");
        options->addWidget(ChkRemplacer);
    }

    ListPersonnages = named(new QListWidget(this), "ListPersonnages");
    ListPersonnages->setSelectionMode(QAbstractItemView::MultiSelection);
    ListPersonnages->addItems(host.characters().names);
    CmdCoch = named(new QPushButton(TransferTexts::SelectAll, this), "CmdCoch");
    CmdTransfer = named(new QPushButton(captions.action, this), captions.actionButton);
    CmdVoxManquants = named(new QPushButton(captions.missing, this), "CmdVoxManquants");
    LstVoxManquants = named(new QListWidget(this), "LstVoxManquants");

    PictDiskFreeSpace = named(new QFrame(this), "PictDiskFreeSpace");
    PictDiskFreeSpace->setFrameShape(QFrame::StyledPanel);
    LbTailleTotale = named(new QLabel(PictDiskFreeSpace), "LbTailleTotale");
    LbEspaceOccuped = named(new QLabel(PictDiskFreeSpace), "LbEspaceOccuped");
    LbEspaceLibre = named(new QLabel(PictDiskFreeSpace), "LbEspaceLibre");
    LbNecessaire = named(new QLabel(PictDiskFreeSpace), "LbNecessaire");
    LbMsgTransfertEnCours = named(new QLabel(PictDiskFreeSpace), "LbMsgTransfertEnCours");
    auto *panel = new QVBoxLayout(PictDiskFreeSpace);
    for (QLabel *label :
         {LbTailleTotale, LbEspaceOccuped, LbEspaceLibre, LbNecessaire, LbMsgTransfertEnCours})
        panel->addWidget(label);
    PictDiskFreeSpace->hide();
    ProgBar = named(new QProgressBar(this), "ProgBar");
    ProgBar->hide();

    auto *left = new QVBoxLayout;
    left->addWidget(Frame1);
    left->addWidget(Frame2);
    left->addWidget(ListPersonnages, 1);
    left->addWidget(CmdCoch);
    auto *right = new QVBoxLayout;
    right->addWidget(CmdTransfer);
    right->addWidget(CmdVoxManquants);
    right->addWidget(LstVoxManquants, 1);
    auto *grid = new QGridLayout(this);
    grid->addLayout(left, 0, 0);
    grid->addLayout(right, 0, 1);
    grid->addWidget(PictDiskFreeSpace, 1, 0, 1, 2);
    grid->addWidget(ProgBar, 2, 0, 1, 2);
    grid->setColumnStretch(0, 1);
    grid->setColumnStretch(1, 1);

    connect(CmdCoch, &QPushButton::clicked, this, &TransferWindow::CmdCochClick);
}

void TransferWindow::CmdCochClick()
{
    const bool selectAll = CmdCoch->text() == TransferTexts::SelectAll;
    for (int i = 0; i < ListPersonnages->count(); ++i)
        ListPersonnages->item(i)->setSelected(selectAll);
    CmdCoch->setText(selectAll ? TransferTexts::Reset : TransferTexts::SelectAll);
}

QStringList TransferWindow::selectedCharacters() const
{
    QStringList names;
    for (int i = 0; i < ListPersonnages->count(); ++i) {
        if (ListPersonnages->item(i)->isSelected())
            names.append(ListPersonnages->item(i)->text());
    }
    return names;
}

TransferRequest TransferWindow::request(const std::array<QStringList, 3> &files) const
{
    TransferRequest request;
    request.folder = TxtCheminReseau->text();
    request.characters = selectedCharacters();
    request.categories = {CheckVox->isChecked(), CheckNotes->isChecked(), CheckPhotos->isChecked()};
    request.files = files;
    request.replace = ChkRemplacer && ChkRemplacer->isChecked();
    return request;
}

bool TransferWindow::browse(const QString &title)
{
    QString folder = m_services.dialogs->BrowseForFolder(title, this);
    if (folder.isEmpty()) {
        TxtCheminReseau->clear();
        return false;
    }
    if (!folder.endsWith(QLatin1Char('/')))
        folder += QLatin1Char('/');
    TxtCheminReseau->setText(folder);
    return true;
}

VolumeQuery TransferWindow::volumeQuery() const
{
    const DiskSpace *disk = m_services.diskSpace;
    return [disk](const QString &path) -> std::optional<VolumeSpace> {
        const std::optional<DiskSpace::Volume> volume =
            disk ? disk->query(path) : std::optional<DiskSpace::Volume>();
        if (!volume)
            return std::nullopt;
        return VolumeSpace{volume->totalBytes, volume->freeBytes};
    };
}

void TransferWindow::message(const QString &text)
{
    m_services.dialogs->information(this, text);
}

void TransferWindow::showMissing(const QStringList &items)
{
    LstVoxManquants->clear();
    LstVoxManquants->addItems(items);
}

void TransferWindow::setBusy(bool busy)
{
    for (QWidget *control :
         {static_cast<QWidget *>(Frame1), static_cast<QWidget *>(Frame2),
          static_cast<QWidget *>(ListPersonnages), static_cast<QWidget *>(CmdCoch),
          static_cast<QWidget *>(CmdTransfer), static_cast<QWidget *>(CmdVoxManquants)})
        control->setEnabled(!busy);
    if (busy != m_busyPointer) {
        if (busy)
            QApplication::setOverrideCursor(Qt::WaitCursor);
        else
            QApplication::restoreOverrideCursor();
        m_busyPointer = busy;
    }
}

void TransferWindow::runTransfer(
    const std::function<TransferOutcome(const TransferHooks &)> &transfer)
{
    if (m_running)
        return;
    m_running = true;
    const auto repaint = [] {
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    };
    TransferHooks hooks;
    hooks.message = [this](const QString &text) { message(text); };
    hooks.space = [this](const TransferSpace &space) {
        const QStringList texts = SpaceTexts(space);
        LbTailleTotale->setText(texts.at(0));
        LbEspaceOccuped->setText(texts.at(1));
        LbEspaceLibre->setText(texts.at(2));
        LbNecessaire->setText(texts.at(3));
    };
    hooks.started = [this, repaint](const QString &text) {
        setBusy(true);
        LbMsgTransfertEnCours->setText(text);
        PictDiskFreeSpace->show();
        repaint();
    };
    hooks.categoryStarted = [this, repaint](int maximum) {
        ProgBar->setRange(0, qMax(1, maximum));
        ProgBar->setValue(0);
        ProgBar->show();
        repaint();
    };
    hooks.progress = [this, repaint](int value) {
        ProgBar->setValue(value);
        repaint();
    };
    hooks.ended = [this] {
        setBusy(false);
        LbMsgTransfertEnCours->clear();
        ProgBar->hide();
    };
    hooks.closed = [this] { PictDiskFreeSpace->hide(); };
    transfer(hooks);
    setBusy(false);
    m_running = false;
}

void TransferWindow::closeEvent(QCloseEvent *event)
{
    if (m_running) {
        event->ignore();
        return;
    }
    QWidget::closeEvent(event);
}

} // namespace tiradex
