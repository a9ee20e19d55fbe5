#include "gui/app/MDIMain.h"

#include "gui/app/FrmAbout.h"
#include "gui/app/FrmEntry.h"
#include "gui/app/FrmHlp.h"
#include "gui/app/FrmImportPlay.h"
#include "gui/app/WebWindowLoader.h"
#include "gui/cipher/FrmCryptage.h"
#include "gui/play/FrmAvare.h"
#include "gui/play/PlayIcons.h"

#include "core/app/AppTexts.h"
#include "core/app/ImportedPlays.h"
#include "core/app/Module1.h"
#include "core/app/PlayCatalogue.h"
#include "core/app/ShippedData.h"
#include "core/play/PlayTree.h"
#include "platform/Dialogs.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>

#include <algorithm>

namespace tiradex {

MDIMain::MDIMain(Module1 &state, Dialogs &dialogs, QWidget *parent)
    : QMainWindow(parent), m_state(state), m_dialogs(dialogs),
      m_exit([] { QCoreApplication::exit(0); })
{
    m_webWindowFactory = [this](QWidget *owner) -> QWidget * {
        QString error;
        QWidget *window =
            WebWindowLoader(QCoreApplication::applicationDirPath())
                .create(AppTexts::productPage(), AppTexts::searchPage(), owner, &error);
        if (!window)
            m_dialogs.information(this, error);
        return window;
    };
    m_services.dialogs = &m_dialogs;
    setObjectName(QStringLiteral("MDIMain"));
    setWindowTitle(AppTexts::productName());
    setWindowIcon(PlayIcons::treeImage(QStringLiteral("kclose")));
    m_mdiArea = new QMdiArea(this);
    m_mdiArea->setObjectName(QStringLiteral("mdiArea"));
    setCentralWidget(m_mdiArea);
    setupMenus();
}

void MDIMain::setupMenus()
{
    auto entry = [this](QMenu *menu, const char *name, const QString &caption) {
        QAction *action = menu->addAction(caption);
        action->setObjectName(QLatin1String(name));
        return action;
    };
    mnupiece = menuBar()->addMenu(AppTexts::playsMenu());
    mnupiece->setObjectName(QStringLiteral("mnupiece"));
    mnupiece->menuAction()->setObjectName(QStringLiteral("mnupieceAction"));
    const QList<PlayCatalogueEntry> &plays = PlayCatalogue();
    QList<QAction *> playEntries;
    for (const PlayCatalogueEntry &play : plays) {
        QAction *action = entry(mnupiece, play.menuName.toLatin1().constData(), play.menuCaption);
        connect(action, &QAction::triggered, this, [this, play] { SelectPlay(play); });
        playEntries.append(action);
    }
    mnumarchandvenise = playEntries.value(0);
    mnukingjohn = playEntries.value(1);
    mnuverona = playEntries.value(2);
    mnuimport = entry(mnupiece, "mnuimport", AppTexts::importEntry());
    connect(mnuimport, &QAction::triggered, this, &MDIMain::mnuimportClick);
    sep0 = mnupiece->addSeparator();
    sep0->setObjectName(QStringLiteral("sep0"));
    mnuquitter = entry(mnupiece, "mnuquitter", AppTexts::exitEntry());
    connect(mnuquitter, &QAction::triggered, this, &MDIMain::mnuquitterClick);

    mnupointinterrogation = menuBar()->addMenu(AppTexts::helpMenu());
    mnupointinterrogation->setObjectName(QStringLiteral("mnupointinterrogation"));
    mnuaide = entry(mnupointinterrogation, "mnuaide", AppTexts::helpEntry());
    mnucryptage = entry(mnupointinterrogation, "mnucryptage", AppTexts::cipherEntry());
    mnucryptage->setVisible(false);
    mnupersonnages = entry(mnupointinterrogation, "mnupersonnages", AppTexts::charactersEntry());
    mnupersonnages->setVisible(false);
    connect(mnupersonnages, &QAction::triggered, this, &MDIMain::mnupersonnagesClick);
    mnuabout = entry(mnupointinterrogation, "mnuabout", AppTexts::aboutEntry());
    mnuweb = entry(mnupointinterrogation, "mnuweb", AppTexts::webEntry());
    connect(mnuaide, &QAction::triggered, this, &MDIMain::mnuaideClick);
    connect(mnucryptage, &QAction::triggered, this, &MDIMain::mnucryptageClick);
    connect(mnuabout, &QAction::triggered, this, &MDIMain::mnuaboutClick);
    connect(mnuweb, &QAction::triggered, this, &MDIMain::mnuwebClick);
}

void MDIMain::Load(const QString &reportedAppFolder, const QString &shippedDataFolder)
{
    m_state.StartUp(reportedAppFolder);
    QString error;
    if (!shippedDataFolder.isEmpty() &&
        !InstallShippedFiles(shippedDataFolder, m_state.AppFolder, &error))
        m_dialogs.information(this, error);
    refreshImportedPlays();
    m_startUp = new FrmEntry({mnupiece->menuAction(), mnuaide}, this);
    m_startUp->show();
}

void MDIMain::setServices(const PlatformServices &services)
{
    m_services = services;
    m_services.dialogs = &m_dialogs;
}

FrmAvare *MDIMain::playWindow() const
{
    return m_playSubWindow ? qobject_cast<FrmAvare *>(m_playSubWindow->widget()) : nullptr;
}

void MDIMain::SelectPlay(const PlayCatalogueEntry &entry)
{
    if (m_playSubWindow)
        return; // one play at a time; the menu is disabled meanwhile
    m_state.SelectPlay(entry);

    auto *play = new FrmAvare(m_state, m_dialogs);
    play->setServices(m_services);
    m_playSubWindow = m_mdiArea->addSubWindow(play);
    m_playSubWindow->setAttribute(Qt::WA_DeleteOnClose);
    m_playSubWindow->setObjectName(QStringLiteral("FrmAvareSubWindow"));
    connect(play, &FrmAvare::closing, this, &MDIMain::playWindowClosing);

    mnupiece->menuAction()->setEnabled(false);
    mnupersonnages->setVisible(true);
    m_playSubWindow->setGeometry(FrmAvare::PlaceInFrame(m_mdiArea->viewport()->size()));
    play->Load();
    play->setWindowTitle(entry.windowTitle);
    m_playSubWindow->show();
}

void MDIMain::playWindowClosing()
{
    // The sub-window finishes closing and deletes itself; a new play may be
    // picked from here on.
    m_playSubWindow = nullptr;
    mnupiece->menuAction()->setEnabled(true);
    mnupersonnages->setVisible(false);
}

void MDIMain::mnupersonnagesClick()
{
    const FrmAvare *play = playWindow();
    if (!play)
        return;
    m_dialogs.information(this,
                          CharactersMessage(play->characters().names, play->characters().statuses));
}

void MDIMain::mnuquitterClick()
{
    m_exit();
}

QMdiSubWindow *MDIMain::showInFrame(QWidget *window, const QRect &geometry)
{
    QMdiSubWindow *sub = m_mdiArea->addSubWindow(window);
    sub->setAttribute(Qt::WA_DeleteOnClose);
    sub->setObjectName(window->objectName() + QStringLiteral("SubWindow"));
    if (geometry.isValid())
        sub->setGeometry(geometry);
    sub->show();
    m_mdiArea->setActiveSubWindow(sub);
    return sub;
}

void MDIMain::mnuaideClick()
{
    if (m_help) {
        m_mdiArea->setActiveSubWindow(m_help);
        return;
    }
    m_help = showInFrame(new FrmHlp, QRect());
    m_help->adjustSize();
    m_help->setGeometry(FrmHlp::PlaceInArea(m_mdiArea->viewport()->size(), m_help->size()));
}

void MDIMain::mnuaboutClick()
{
    if (!m_about)
        m_about = new FrmAbout(m_dialogs, m_services.clipboard, this);
    m_about->show();
    m_about->raise();
    m_about->activateWindow();
}

void MDIMain::mnuwebClick()
{
    if (m_dialogs.askYesNo(this, AppTexts::webQuestion()) != Dialogs::Answer::Yes)
        return;
    QWidget *window = m_webWindowFactory ? m_webWindowFactory(nullptr) : nullptr;
    if (!window)
        return;
    const QSize area = m_mdiArea->viewport()->size();
    const QSize size(area.width() * 3 / 4, area.height() * 3 / 4);
    showInFrame(window, QRect(QPoint((area.width() - size.width()) / 2,
                                     (area.height() - size.height()) / 2),
                              size));
}

void MDIMain::mnucryptageClick()
{
    if (m_cipherTool) {
        m_mdiArea->setActiveSubWindow(m_cipherTool);
        return;
    }
    auto *tool = new FrmCryptage(m_state, m_dialogs);
    m_cipherTool = showInFrame(tool, QRect(QPoint(20, 20), tool->sizeHint() + QSize(8, 30)));
}

void MDIMain::refreshImportedPlays()
{
    qDeleteAll(m_importedEntries);
    m_importedEntries.clear();
    QList<PlayCatalogueEntry> plays = ReadImportedPlays(m_state.AppFolder);
    std::stable_sort(plays.begin(), plays.end(),
                     [](const PlayCatalogueEntry &a, const PlayCatalogueEntry &b) {
                         return a.windowTitle.localeAwareCompare(b.windowTitle) < 0;
                     });
    for (const PlayCatalogueEntry &play : plays) {
        auto *action = new QAction(play.menuCaption, mnupiece);
        action->setObjectName(play.menuName);
        // The caption is the user's text: "&" is a letter, not a shortcut.
        action->setText(QString(play.menuCaption).replace(QLatin1Char('&'), QStringLiteral("&&")));
        connect(action, &QAction::triggered, this, [this, play] { SelectPlay(play); });
        mnupiece->insertAction(mnuimport, action);
        m_importedEntries.append(action);
    }
}

void MDIMain::mnuimportClick()
{
    if (m_playSubWindow)
        return;
    const QString path =
        m_dialogs.openFileName(this, QStringLiteral("Import a play"), QDir::homePath(),
                               QStringLiteral("Plays (*.txt *.xml);;All files (*)"));
    if (path.isEmpty())
        return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    PlayImport import = PlayImport::fromFile(path);
    QApplication::restoreOverrideCursor();
    auto *window = new FrmImportPlay(std::move(import), path, m_state.AppFolder, m_dialogs, this);
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->setModal(true);
    connect(window, &QDialog::accepted, this, [this, window] {
        refreshImportedPlays();
        if (const std::optional<PlayCatalogueEntry> play = window->storedPlay())
            m_dialogs.information(
                this, QStringLiteral("\"%1\" is now in the Plays menu.").arg(play->windowTitle));
    });
    window->show();
}

void MDIMain::closeEvent(QCloseEvent *event)
{
    if (const std::optional<QString> refusal = m_state.CloseRefusal()) {
        m_dialogs.information(this, *refusal);
        event->ignore();
        return;
    }
    // The play window runs its own close request and clean-up.
    if (m_playSubWindow && !m_playSubWindow->close()) {
        event->ignore();
        return;
    }
    if (m_startUp)
        m_startUp->close();
    event->accept();
}

} // namespace tiradex
