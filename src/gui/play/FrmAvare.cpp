#include "gui/play/FrmAvare.h"

#include "gui/annotations/FrmCommentaire.h"
#include "gui/annotations/FrmNotesPhotos.h"
#include "gui/annotations/FrmPhotos.h"
#include "gui/app/FrmProg.h"
#include "gui/app/ToolWindow.h"
#include "gui/audio/FrmEnregMessage.h"
#include "gui/audio/ReplyPlayer.h"
#include "gui/audio/SceneListener.h"
#include "gui/play/PlayIcons.h"
#include "gui/rehearsal/FrmFiltre.h"
#include "gui/rehearsal/Rehearsal.h"
#include "gui/reports/FrmCalculs.h"
#include "gui/reports/FrmPrintText.h"
#include "gui/reports/FrmStats.h"
#include "gui/transfer/FrmExport.h"
#include "gui/transfer/FrmImport.h"

#include "core/app/Module1.h"
#include "core/play/PlayControls.h"
#include "core/play/PlayLoader.h"
#include "core/play/PlayTextCheck.h"
#include "core/play/SceneStore.h"
#include "platform/Dialogs.h"
#include "platform/audio/MediaDevice.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QShortcut>
#include <QTextEdit>
#include <QToolButton>
#include <QTreeWidget>

#include <memory>

namespace tiradex {

namespace {
const QColor NameRed(255, 0, 0);
const QColor NameBlack(0, 0, 0);

// Shows the busy pointer for the life of the object.
class BusyPointer
{
public:
    BusyPointer() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyPointer() { QApplication::restoreOverrideCursor(); }
    BusyPointer(const BusyPointer &) = delete;
    BusyPointer &operator=(const BusyPointer &) = delete;
};
} // namespace

FrmAvare::FrmAvare(Module1 &state, Dialogs &dialogs, QWidget *parent)
    : QWidget(parent), m_state(state), m_dialogs(dialogs)
{
    m_services.dialogs = &m_dialogs;
    setObjectName(QStringLiteral("FrmAvare"));
    setWindowIcon(PlayIcons::treeImage(QStringLiteral("kopen")));
    ui.setupUi(this);
    m_openedSceneIcon = PlayIcons::openedSceneIcon();

    connect(ui.TreeView1, &QTreeWidget::itemClicked, this,
            [this](QTreeWidgetItem *node) { OpenScene(node); });
    connect(ui.TreeView1, &QTreeWidget::itemActivated, this,
            [this](QTreeWidgetItem *node) { OpenScene(node); });
    // Moving through the tree with the keyboard opens the node reached, as a
    // click does; a mouse press also moves the current node, and its click
    // opens it.
    connect(ui.TreeView1, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem *node) {
        if (node && QApplication::mouseButtons() == Qt::NoButton)
            OpenScene(node);
    });
    connect(ui.CmdDebut, &QPushButton::clicked, this, &FrmAvare::CmdDebutClick);
    connect(ui.CmdMoins, &QPushButton::clicked, this, &FrmAvare::CmdMoinsClick);
    connect(ui.CmdPlus, &QPushButton::clicked, this, &FrmAvare::CmdPlusClick);
    connect(ui.CmdFin, &QPushButton::clicked, this, &FrmAvare::CmdFinClick);
    connect(ui.ComboNumFichier, &QComboBox::activated, this, &FrmAvare::ComboNumFichierPick);
    connect(ui.CmdVoirTexte, &QPushButton::clicked, this, &FrmAvare::CmdVoirTexteClick);
    connect(ui.Command2, &QPushButton::clicked, this, &FrmAvare::CheckPlayText);
    connect(ui.CmdFiltres, &QToolButton::clicked, this, &FrmAvare::CmdFiltresClick);
    connect(ui.CmdRecordShow, &QToolButton::clicked, this, &FrmAvare::CmdRecordShowClick);
    connect(ui.CmdStat, &QToolButton::clicked, this, &FrmAvare::CmdStatClick);
    connect(ui.CmdCalculVox, &QToolButton::clicked, this, &FrmAvare::CmdCalculVoxClick);
    connect(ui.CmdPrintScene, &QToolButton::clicked, this, &FrmAvare::CmdPrintSceneClick);
    connect(ui.CmdPrintActe, &QToolButton::clicked, this, &FrmAvare::CmdPrintActeClick);
    connect(ui.CmdTransfertVox, &QToolButton::clicked, this, &FrmAvare::CmdTransfertVoxClick);
    connect(ui.CmdRecupVox, &QToolButton::clicked, this, &FrmAvare::CmdRecupVoxClick);
    connect(ui.CmdCommentaire, &QToolButton::clicked, this, &FrmAvare::CmdCommentaireClick);
    connect(ui.CmdNoteExiste, &QToolButton::clicked, this, &FrmAvare::CmdCommentaireClick);
    connect(ui.CmdPhoto, &QToolButton::clicked, this, &FrmAvare::CmdPhotoClick);
    connect(ui.CmdPhotoExiste, &QToolButton::clicked, this, &FrmAvare::CmdPhotoClick);
    connect(ui.CmdVoirListeNotesPhotos, &QToolButton::clicked, this,
            &FrmAvare::CmdVoirListeNotesPhotosClick);
}

void FrmAvare::CmdTransfertVoxClick()
{
    auto *window = new FrmExport(m_state, m_services, *this);
    openToolWindow(window, ToolWindowRule::HidePlayWindow,
                   FrmExport::SizeInFrame(this->window()->size()));
}

void FrmAvare::CmdRecupVoxClick()
{
    auto *window = new FrmImport(m_state, m_services, *this);
    openToolWindow(window, ToolWindowRule::HidePlayWindow,
                   FrmImport::SizeInFrame(this->window()->size()));
}

void FrmAvare::CmdCommentaireClick()
{
    if (!currentReply().isValid())
        return;
    openToolWindow(new FrmCommentaire(m_state, m_dialogs, *this), ToolWindowRule::DisablePlayWindow,
                   FrmCommentaire::SizeInFrame(window()->size()));
}

void FrmAvare::CmdPhotoClick()
{
    const CurrentReply reply = currentReply();
    if (!reply.isValid() || !FrmPhotos::EnsurePhoto(m_state, m_dialogs, reply, this))
        return;
    refreshReplyFiles();
    openToolWindow(new FrmPhotos(m_state, m_dialogs, *this), ToolWindowRule::DisablePlayWindow,
                   FrmPhotos::WindowSize(this));
}

void FrmAvare::CmdVoirListeNotesPhotosClick()
{
    openToolWindow(new FrmNotesPhotos(m_state, m_dialogs, *this), ToolWindowRule::DisablePlayWindow,
                   FrmNotesPhotos::WindowSize(this));
}

FrmEnregMessage *FrmAvare::recorder() const
{
    return m_recorder;
}

void FrmAvare::CmdRecordShowClick()
{
    if (!m_sound)
        return;
    if (m_state.RecorderOpen && m_recorder) {
        QWidget *window = m_recorder->parentWidget() ? m_recorder->parentWidget() : m_recorder;
        window->show();
        window->raise();
        window->activateWindow();
        return;
    }
    auto *recorder = new FrmEnregMessage(m_state, m_dialogs, *m_sound, *this);
    m_recorder = recorder;
    openToolWindow(recorder, ToolWindowRule::LockNavigation, recorder->sizeHint());
    recorder->Load();
}

// The tool windows go first, while this window can still take back their
// rules; members then go in reverse order: the players before the devices
// they follow. (FrmAvarePlayback.cpp holds the window's side of playback.)
FrmAvare::~FrmAvare()
{
    m_destroying = true;
    for (const QPointer<QWidget> &window : std::as_const(m_toolWindows))
        delete window.data();
}

QRect FrmAvare::PlaceInFrame(const QSize &frame)
{
    const int width = frame.width() * 3 / 4;
    const int height = frame.height() * 3 / 4;
    return QRect((frame.width() - width) / 2, 0, width, height);
}

bool FrmAvare::Load()
{
    std::unique_ptr<FrmProg> progressWindow;
    std::unique_ptr<BusyPointer> busy;
    PlayLoadHooks hooks;
    hooks.conversionStarts = [&] {
        busy = std::make_unique<BusyPointer>();
        progressWindow = std::make_unique<FrmProg>(window());
        progressWindow->show();
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    };
    // Lets the progress window repaint while the play is cut up.
    hooks.progress = [](int) {
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    };
    hooks.conversionEnds = [&] {
        progressWindow.reset();
        busy.reset();
    };
    const PlayLoadResult loaded = LoadPlay(m_state, hooks);
    m_characters = loaded.characters;
    buildTree(loaded.tree);
    clearSceneView();
    if (!loaded.ok()) {
        m_dialogs.information(this, loaded.error);
        return false;
    }
    return true;
}

void FrmAvare::buildTree(const QList<ActNode> &acts)
{
    ui.TreeView1->clear();
    const QIcon actImage = PlayIcons::treeImage(QStringLiteral("kclose"));
    const QIcon sceneImage = PlayIcons::treeImage(QStringLiteral("kfile"));
    for (const ActNode &act : acts) {
        auto *actItem = new QTreeWidgetItem(ui.TreeView1, QStringList{act.text});
        actItem->setData(0, KeyRole, act.key);
        actItem->setData(0, ImageRole, QStringLiteral("kclose"));
        actItem->setIcon(0, actImage);
        for (const QString &sceneText : act.sceneTexts) {
            auto *sceneItem = new QTreeWidgetItem(actItem, QStringList{sceneText});
            sceneItem->setData(0, ImageRole, QStringLiteral("kfile"));
            sceneItem->setIcon(0, sceneImage);
        }
    }
}

CurrentReply FrmAvare::currentReply() const
{
    CurrentReply reply;
    if (!m_scene.isOpen() || m_scene.isEmpty())
        return reply;
    const int k = m_scene.index();
    reply.index = k;
    reply.fileName = m_scene.fileName(k);
    reply.baseName = m_scene.baseName(k);
    reply.number = ui.ComboNumFichier->currentText();
    reply.character = ui.LbNom->text();
    reply.actText = ui.LbNumActe->text();
    reply.sceneText = ui.LbNumScene->text();
    reply.act = m_scene.act();
    reply.scene = m_scene.scene();
    return reply;
}

void FrmAvare::adoptToolWindow(QWidget *window)
{
    m_toolWindows.append(QPointer<QWidget>(window));
}

QWidget *FrmAvare::openToolWindow(QWidget *window, ToolWindowRule rule, const QSize &size)
{
    // In the frame the play window's own frame is the sub-window around it.
    QWidget *playFrame = qobject_cast<QMdiSubWindow *>(parentWidget()) ? parentWidget() : this;
    QWidget *framed = ShowToolWindow(this, window, size);
    adoptToolWindow(framed);
    switch (rule) {
    case ToolWindowRule::DisablePlayWindow:
        setEnabled(false);
        connect(window, &QObject::destroyed, this, [this] {
            if (!m_destroying)
                setEnabled(true);
        });
        break;
    case ToolWindowRule::HidePlayWindow:
        playFrame->hide();
        connect(window, &QObject::destroyed, this, [this, frame = QPointer<QWidget>(playFrame)] {
            if (frame && !m_destroying) {
                frame->show();
                frame->activateWindow();
            }
        });
        break;
    case ToolWindowRule::LockNavigation:
        ++m_navigationLocks;
        applyControls();
        connect(window, &QObject::destroyed, this, [this] {
            --m_navigationLocks;
            if (!m_destroying)
                applyControls();
        });
        break;
    }
    return framed;
}

void FrmAvare::setServices(const PlatformServices &services)
{
    m_services = services;
    m_services.dialogs = &m_dialogs;
    setSoundSystem(services.sound);
}

QStringList FrmAvare::sceneReplyFiles() const
{
    QStringList files;
    if (!m_scene.isOpen())
        return files;
    for (int k = 0; k < m_scene.count(); ++k)
        files.append(m_scene.fileName(k));
    return files;
}

void FrmAvare::refreshReplyFiles()
{
    applyControls();
}

// Three quarters of the frame window's width and height.
static QSize reportWindowSize(const QWidget *frame)
{
    return QSize(frame->width() * 3 / 4, frame->height() * 3 / 4);
}

void FrmAvare::CmdStatClick()
{
    const BusyPointer busy;
    openToolWindow(new FrmStats(m_state, m_services, *this), ToolWindowRule::DisablePlayWindow,
                   reportWindowSize(window()));
}

void FrmAvare::CmdCalculVoxClick()
{
    const BusyPointer busy;
    openToolWindow(new FrmCalculs(m_state, m_services), ToolWindowRule::DisablePlayWindow,
                   reportWindowSize(window()));
}

void FrmAvare::CmdPrintSceneClick()
{
    if (!m_scene.isOpen())
        return;
    const BusyPointer busy;
    openToolWindow(new FrmPrintScene(m_state, m_services, *this, m_scene.act(), m_scene.scene()),
                   ToolWindowRule::DisablePlayWindow, reportWindowSize(window()));
}

void FrmAvare::CmdPrintActeClick()
{
    if (!m_scene.isOpen())
        return;
    const BusyPointer busy;
    openToolWindow(new FrmPrintActe(m_state, m_services, *this, m_scene.act()),
                   ToolWindowRule::DisablePlayWindow, reportWindowSize(window()));
}

FrmFiltre *FrmAvare::CmdFiltresClick()
{
    if (m_filterWindow) {
        m_filterWindow->activateWindow();
        return m_filterWindow;
    }
    m_filterWindow = new FrmFiltre(m_state, m_services, *this);
    openToolWindow(m_filterWindow, ToolWindowRule::DisablePlayWindow,
                   FrmFiltre::SizeInFrame(window()->size()));
    return m_filterWindow;
}

void FrmAvare::filterChanged()
{
    applyControls();
}

void FrmAvare::OpenScene(QTreeWidgetItem *node)
{
    if (!node)
        return;
    // The node opened is the tree's current one, however it was reached: a
    // tree without a current node would take its first one as soon as it
    // gets the focus (when a control is locked), and open it.
    {
        const QSignalBlocker quiet(ui.TreeView1);
        ui.TreeView1->setCurrentItem(node);
    }
    QTreeWidgetItem *actNode = node->parent();
    if (!actNode) {
        clearSceneView();
        return;
    }
    ui.LbNumScene->setText(node->text(0));
    ui.LbNumActe->setText(actNode->text(0));
    const int act = Module1::ActNumberOfNodeText(actNode->text(0));
    const int scene = Module1::SceneNumberOfNodeText(node->text(0));
    m_scene.open(m_state, act, scene);

    node->setIcon(0, m_openedSceneIcon);
    node->setData(0, SelectedImageRole, QStringLiteral("kopen"));

    // A scene without a heading record gets no heading rather than the
    // heading of the scene shown before.
    const std::optional<QList<SceneHeader>> headers = ReadHeadIni(m_state);
    ui.LbEntete->setText(headers ? SceneHeading(*headers, act, scene).value_or(QString())
                                 : QString());
    fillReplyNumbers();
    ui.LbIncrem->setText(QStringLiteral("0"));
    if (m_scene.isEmpty()) {
        showEmptyScene();
        return;
    }

    showText(m_scene.replyText(m_state, 0));
    ui.LbNom->setText(m_scene.character(0));
    ui.LbCompteRepliques->setText(m_scene.positionText());
    applyControls();
    Q_EMIT replyShown(0);
}

void FrmAvare::fillReplyNumbers()
{
    const QStringList numbers = m_scene.replyNumbers();
    for (QComboBox *box : {ui.ComboNumFichier, ui.ComboNumFichierRepetition}) {
        const QSignalBlocker quiet(box);
        box->clear();
        box->addItems(numbers);
        box->setCurrentIndex(numbers.isEmpty() ? -1 : 0);
    }
}

void FrmAvare::clearSceneView()
{
    m_scene.close();
    for (QLabel *label : {ui.LbNumScene, ui.LbNumActe, ui.LbNom, ui.LbCompteRepliques, ui.LbEntete})
        label->clear();
    ui.RichTextBox1->clear();
    ui.LbIncrem->setText(QStringLiteral("0"));
    fillReplyNumbers();
    applyControls();
}

// A scene folder without reply files: the scene's heading and an empty view.
// The scene and act texts stay available; nothing else has a reply to act on.
void FrmAvare::showEmptyScene()
{
    ui.RichTextBox1->clear();
    ui.LbNom->clear();
    ui.LbCompteRepliques->setText(m_scene.positionText());
    applyControls();
}

void FrmAvare::ShowReply(int k)
{
    if (!m_scene.setIndex(k))
        return;
    ui.LbIncrem->setText(QString::number(k));
    display(Move::Jump);
}

void FrmAvare::CmdDebutClick()
{
    ShowReply(0);
}

void FrmAvare::CmdMoinsClick()
{
    if (m_scene.index() == 0)
        return;
    ShowReply(m_scene.index() - 1);
}

void FrmAvare::CmdPlusClick()
{
    if (!m_scene.setIndex(m_scene.index() + 1))
        return; // the last reply: no wrap
    ui.LbIncrem->setText(QString::number(m_scene.index()));
    display(Move::Next);
}

void FrmAvare::CmdFinClick()
{
    ShowReply(m_scene.count() - 1);
}

void FrmAvare::ComboNumFichierPick(int k)
{
    if (!m_scene.setIndex(k))
        return;
    ui.LbIncrem->setText(QString::number(k));
    display(Move::Pick);
}

void FrmAvare::display(Move move)
{
    const int k = m_scene.index();
    if (move != Move::Pick) {
        ui.ComboNumFichier->setCurrentIndex(k);
        ui.ComboNumFichierRepetition->setCurrentIndex(k);
    }
    showText(m_scene.replyText(m_state, k));
    ui.LbNom->setText(m_scene.character(k));
    ui.LbCompteRepliques->setText(m_scene.positionText());
    if (move == Move::Next)
        ui.LbNumRepliqueRepetition->setText(ui.LbCompteRepliques->text());
    applyControls();
    Q_EMIT replyShown(k);
}

PlayWindowState FrmAvare::controlState() const
{
    PlayWindowState state;
    state.filterCharacter = m_state.FilterCharacter;
    state.playback = m_playback;
    state.rehearsal = m_rehearsalShown;
    state.navigationLocked = m_navigationLocks > 0;
    if (!m_scene.isOpen())
        return state;
    if (m_scene.isEmpty()) {
        state.scene = PlayWindowState::Scene::Empty;
        return state;
    }
    const int k = m_scene.index();
    state.scene = PlayWindowState::Scene::Reply;
    state.character = m_scene.character(k);
    state.files = FindReplyFiles(m_state, m_scene.baseName(k));
    state.sceneRecorded = m_scene.firstRecordedFrom(m_state, 0) >= 0;
    return state;
}

void FrmAvare::applyControls()
{
    const PlayControlStates c = DecidePlayControls(controlState());
    ui.Picture2->setEnabled(c.mainToolBar);
    ui.CmdFiltres->setEnabled(c.filter);
    ui.CmdRepetition->setEnabled(c.rehearse);
    ui.CmdCommentaire->setEnabled(c.note);
    ui.CmdPhoto->setEnabled(c.photo);
    ui.CmdPrintScene->setEnabled(c.printScene);
    ui.CmdPrintActe->setEnabled(c.printAct);
    FrmAvareUi::setEnabled({ui.CmdStat, ui.CmdCalculVox, ui.CmdTransfertVox, ui.CmdRecupVox,
                            ui.CmdVoirListeNotesPhotos},
                           c.sceneTools);
    ui.TreeView1->setEnabled(c.tree);
    FrmAvareUi::setEnabled({ui.CmdDebut, ui.CmdMoins, ui.CmdPlus, ui.CmdFin}, c.navigation);
    ui.ComboNumFichier->setEnabled(c.replyNumbers);
    ui.CmdRecordShow->setEnabled(c.record);
    ui.CmdLecture->setEnabled(c.listen);
    ui.CmdDelVox->setEnabled(c.deleteRecording);
    ui.CmdEcouteGlobalScene->setEnabled(c.listenScene);
    ui.CmdStopLecture->setEnabled(c.stopReply);
    ui.CmdStopEcouteScene->setEnabled(c.stopScene);
    ui.CmdNoteExiste->setEnabled(c.noteExists);
    ui.CmdPhotoExiste->setEnabled(c.photoExists);
    ui.Picture1->setVisible(!c.rehearsalShown);
    ui.Picture2->setVisible(!c.rehearsalShown);
    ui.PictRepetition->setVisible(c.rehearsalShown);
    ui.PictBarRepet->setVisible(c.rehearsalShown);
    for (QShortcut *key : std::as_const(ui.rehearsalKeys))
        key->setEnabled(c.rehearsalShown);
    QPalette palette = ui.LbNom->palette();
    palette.setColor(QPalette::WindowText, c.nameRed ? NameRed : NameBlack);
    ui.LbNom->setPalette(palette);
}

void FrmAvare::showText(QString text)
{
    // The store's texts end their lines with CR LF; the text box wants LF.
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    ui.RichTextBox1->setPlainText(text);
}

void FrmAvare::CmdVoirTexteClick()
{
    ui.Pict_A_Vous->hide();
    ui.CmdVoirTexte->setEnabled(false);
}

void FrmAvare::CheckPlayText()
{
    const BusyPointer busy;
    QString error;
    const std::optional<CharactersList> characters = LoadCharactersFile(m_state, &error);
    std::optional<QString> report;
    if (characters)
        report = tiradex::CheckPlayText(m_state, characters->names, &error);
    if (!report) {
        m_dialogs.information(this, error);
        return;
    }
    showText(*report);
}

void FrmAvare::closeEvent(QCloseEvent *event)
{
    if (QueryUnload())
        event->accept();
    else
        event->ignore();
}

bool FrmAvare::QueryUnload()
{
    if (const std::optional<QString> refusal = m_state.CloseRefusal()) {
        m_dialogs.information(this, *refusal);
        return false;
    }
    for (const QPointer<QWidget> &toolWindow : std::as_const(m_toolWindows)) {
        if (toolWindow)
            toolWindow->close();
    }
    m_toolWindows.clear();
    Q_EMIT closing();
    m_state.ResetOnPlayClose();
    return true;
}

} // namespace tiradex
