#pragma once

#include "platform/PlatformServices.h"

#include <QMainWindow>
#include <QMdiSubWindow>

#include "gui/app/FrmEntry.h"
#include <QPointer>

#include <functional>

class QAction;
class QMdiArea;
class QMenu;

namespace tiradex {

class Dialogs;
class FrmAvare;
class Module1;
class SoundSystem;
struct PlayCatalogueEntry;

// The frame window: holds every other window, offers the plays, the
// characters of the open play and the help entries, and refuses to close
// while sound is played or recorded.
class MDIMain : public QMainWindow
{
    Q_OBJECT

public:
    MDIMain(Module1 &state, Dialogs &dialogs, QWidget *parent = nullptr);

    // The frame's start: fixes the application folder from the folder the
    // platform reports, copies into it the shipped files it lacks from
    // `shippedDataFolder` (nothing when ""; a failure is reported once), and
    // shows the start-up window.
    void Load(const QString &reportedAppFolder, const QString &shippedDataFolder);

    FrmAvare *playWindow() const;
    QMdiSubWindow *playSubWindow() const { return m_playSubWindow; }
    FrmEntry *startUpWindow() const { return m_startUp; }
    QMdiArea *mdiArea() const { return m_mdiArea; }

    // The sound services handed to every play window.
    void setSoundSystem(SoundSystem *sound) { m_services.sound = sound; }
    // The platform services handed to every play window (their dialogs are
    // the frame's own); replaces the sound system set before.
    void setServices(const PlatformServices &services);

    // Makes the web window for "Web site ..." (its parent given), or returns
    // null after saying why. By default it loads the web module on the
    // product page.
    using WebWindowFactory = std::function<QWidget *(QWidget *parent)>;
    void setWebWindowFactory(WebWindowFactory factory) { m_webWindowFactory = std::move(factory); }

    // What "Exit" runs; by default it ends the event loop at once.
    void setExitHandler(std::function<void()> handler) { m_exit = std::move(handler); }

    // Menus, in order.
    QMenu *mnupiece = nullptr; // "Plays"
    QAction *mnumarchandvenise = nullptr;
    QAction *mnukingjohn = nullptr;
    QAction *mnuverona = nullptr;
    QAction *mnuimport = nullptr; // "Import a play ...", below the imported plays
    QAction *sep0 = nullptr;
    QAction *mnuquitter = nullptr;          // "Exit"
    QMenu *mnupointinterrogation = nullptr; // "?"
    QAction *mnuaide = nullptr;
    QAction *mnucryptage = nullptr;    // never shown
    QAction *mnupersonnages = nullptr; // only while a play is open
    QAction *mnuabout = nullptr;
    QAction *mnuweb = nullptr;

public Q_SLOTS:
    // Opens the play of `entry` in the play window: sets the play state,
    // creates the window, loads it and shows it under the play's title.
    void SelectPlay(const PlayCatalogueEntry &entry);
    // "Characters ...": the characters of the open play and their status.
    void mnupersonnagesClick();
    // "Exit": ends the program without the close checks or clean-ups.
    void mnuquitterClick();
    // "Help ...": the help note, centred in the frame.
    void mnuaideClick();
    // "About ...": the About box, centred on the screen.
    void mnuaboutClick();
    // "Web site ...": asks whether the user is online, then the web window.
    void mnuwebClick();
    // "Cryptage ...": the encryption tool (its entry is never shown).
    void mnucryptageClick();
    // "Import a play ...": a file, then the import window on its report.
    void mnuimportClick();
    // Lists the plays of the application folder's catalogue in the "Plays"
    // menu, between the shipped plays and "Import a play ...".
    void refreshImportedPlays();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void setupMenus();
    void playWindowClosing();
    QMdiSubWindow *showInFrame(QWidget *window, const QRect &geometry);

    Module1 &m_state;
    Dialogs &m_dialogs;
    PlatformServices m_services;
    QMdiArea *m_mdiArea = nullptr;
    QPointer<QMdiSubWindow> m_playSubWindow;
    QPointer<FrmEntry> m_startUp;
    QList<QAction *> m_importedEntries;
    std::function<void()> m_exit;
    WebWindowFactory m_webWindowFactory;
    QPointer<QWidget> m_about;
    QPointer<QMdiSubWindow> m_help;
    QPointer<QMdiSubWindow> m_cipherTool;
};

} // namespace tiradex
