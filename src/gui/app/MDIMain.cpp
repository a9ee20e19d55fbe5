#include "gui/app/MDIMain.h"

#include "gui/app/FrmEntry.h"
#include "gui/play/FrmAvare.h"
#include "gui/play/PlayIcons.h"

#include "core/app/Module1.h"
#include "core/app/PlayCatalogue.h"
#include "core/app/ShippedData.h"
#include "core/play/PlayTree.h"
#include "platform/Dialogs.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>

MDIMain::MDIMain(Module1 &state, Dialogs &dialogs, QWidget *parent)
    : QMainWindow(parent), m_state(state), m_dialogs(dialogs),
      m_exit([] { QCoreApplication::exit(0); })
{
    m_services.dialogs = &m_dialogs;
    setObjectName(QStringLiteral("MDIMain"));
    setWindowTitle(QStringLiteral("Tiradex"));
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
    mnupiece = menuBar()->addMenu(QStringLiteral("Plays"));
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
    sep0 = mnupiece->addSeparator();
    sep0->setObjectName(QStringLiteral("sep0"));
    mnuquitter = entry(mnupiece, "mnuquitter", QStringLiteral("Exit"));
    connect(mnuquitter, &QAction::triggered, this, &MDIMain::mnuquitterClick);

    mnupointinterrogation = menuBar()->addMenu(QStringLiteral("?"));
    mnupointinterrogation->setObjectName(QStringLiteral("mnupointinterrogation"));
    mnuaide = entry(mnupointinterrogation, "mnuaide", QStringLiteral("Help ..."));
    mnucryptage = entry(mnupointinterrogation, "mnucryptage", QStringLiteral("Cryptage ..."));
    mnucryptage->setVisible(false);
    mnupersonnages =
        entry(mnupointinterrogation, "mnupersonnages", QStringLiteral("Characters ..."));
    mnupersonnages->setVisible(false);
    connect(mnupersonnages, &QAction::triggered, this, &MDIMain::mnupersonnagesClick);
    mnuabout = entry(mnupointinterrogation, "mnuabout", QStringLiteral("About ..."));
    mnuweb = entry(mnupointinterrogation, "mnuweb", QStringLiteral("Web site ..."));
}

void MDIMain::Load(const QString &reportedAppFolder, const QString &shippedDataFolder)
{
    m_state.StartUp(reportedAppFolder);
    QString error;
    if (!shippedDataFolder.isEmpty() &&
        !InstallShippedFiles(shippedDataFolder, m_state.AppFolder, &error))
        m_dialogs.information(this, error);
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
