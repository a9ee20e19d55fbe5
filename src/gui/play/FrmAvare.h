#pragma once

#include "gui/play/FrmAvareUi.h"
#include "gui/rehearsal/RehearsalHost.h"
#include "platform/PlatformServices.h"

#include "core/play/CharactersFile.h"
#include "core/play/PlayControls.h"
#include "core/play/PlayTree.h"
#include "core/play/SceneCursor.h"

#include <QIcon>
#include <QPointer>
#include <QWidget>

#include <array>
#include <memory>

class QCloseEvent;
class QTreeWidgetItem;

namespace tiradex {

class Dialogs;
class FrmFiltre;
class FrmEnregMessage;
class MediaDevice;
class Module1;
class Rehearsal;
class ReplyPlayer;
class SceneListener;
class SoundSystem;

// The play window: the act/scene tree, the scene view with its reply
// navigation, and the buttons of the tools that work on the play.
//
// It owns its controls; nobody else touches them. Tool windows open through
// openToolWindow() and see the window as a PlayWindowHost; the reply
// playback, the scene listening and the rehearsal see it as a PlaybackHost
// or RehearsalHost: the window connects its buttons to their slots and
// shows what they report. Every control that depends on the window's state
// is set from one decision (DecidePlayControls).
class FrmAvare : public QWidget, public RehearsalHost
{
    Q_OBJECT

public:
    // Roles of the tree's items: the node key ("A1", acts only) and the
    // names of the normal and the selected picture.
    enum TreeRole
    {
        KeyRole = Qt::UserRole + 1,
        ImageRole,
        SelectedImageRole
    };

    FrmAvare(Module1 &state, Dialogs &dialogs, QWidget *parent = nullptr);
    ~FrmAvare() override;

    // The window's place in a frame whose inner area has the size `frame`:
    // three quarters of its width and height, at the top, centred across.
    static QRect PlaceInFrame(const QSize &frame);

    // Opens the play selected in the state: reads the characters list,
    // converts the play on its first opening (with the progress window), and
    // builds the act/scene tree. On failure shows one message, leaves the
    // tree empty and returns false. No scene is open afterwards.
    bool Load();

    const CharactersList &characters() const override { return m_characters; }
    const SceneCursor &scene() const override { return m_scene; }
    CurrentReply currentReply() const override;
    QStringList sceneReplyFiles() const override;
    // The recording, note and photo buttons follow the reply's files on disk.
    void refreshReplyFiles() override;

    // `window` is closed when the play window closes.
    void adoptToolWindow(QWidget *window);

    // The one way a tool window opens from the play window: shows `window`
    // (a sub-window of the frame of `size`, or a window of its own when the
    // play window is not in a frame), applies `rule` to the play window while
    // it is open and undoes it when it closes, and closes it with the play
    // window. The window is deleted when it closes. Returns the widget that
    // frames it.
    QWidget *openToolWindow(QWidget *window, ToolWindowRule rule, const QSize &size);

    // The platform services the tool windows use (see PlatformServices).
    void setServices(const PlatformServices &services);
    const PlatformServices &services() const { return m_services; }

    // The sound services of the recording and listening tools; without them
    // their buttons do nothing. The first one given makes the four media
    // devices and the players.
    void setSoundSystem(SoundSystem *sound);
    // The open recorder window, if any.
    FrmEnregMessage *recorder() const;

    void filterChanged() override;

    // The four media devices, one per kind of playback, each with its own
    // status-update handler: one reply (MMControl1), scene listening
    // (MMControl2), the partner replies (MMControl3) and the prompt
    // (MMControl4) of a rehearsal.
    // (null until a sound system is given).
    MediaDevice *MMControl1() const { return m_media[0].get(); }
    MediaDevice *MMControl2() const { return m_media[1].get(); }
    MediaDevice *MMControl3() const { return m_media[2].get(); }
    MediaDevice *MMControl4() const { return m_media[3].get(); }
    ReplyPlayer *replyPlayer() const { return m_replyPlayer.get(); }
    SceneListener *sceneListener() const { return m_sceneListener.get(); }
    Rehearsal *rehearsal() const { return m_rehearsal.get(); }

    // What the playbacks and the rehearsal report (see PlaybackHost).
    void nextReply() override { CmdPlusClick(); }
    void playbackStarted(Playback playback) override;
    void playbackEnded(Playback playback) override;
    void showProgress(Panel panel, const ProgressShown &progress) override;
    QWidget *messageOwner() override { return this; }
    void showReply(int k) override { ShowReply(k); }
    void openFilterWindow() override { CmdFiltresClick(); }
    // The rehearsal panel and bar replace the reply panel and main tool bar
    // while the view says the panel is shown.
    void showRehearsal(const RehearsalView &view) override;

public Q_SLOTS:
    // Opens the filter window, or brings the open one forward; returns it.
    FrmFiltre *CmdFiltresClick();
    // The tree's node click: a scene node opens that scene on its first
    // reply; an act node clears the view and disables the reply commands.
    void OpenScene(QTreeWidgetItem *node);
    // Shows reply k of the open scene and sets the commands for it; an index
    // outside the scene changes nothing.
    void ShowReply(int k);
    void CmdDebutClick();
    void CmdMoinsClick();
    // The next reply; nothing at the last one. While a playback runs the
    // listen, delete, note and photo buttons stay disabled and the record
    // button is left alone; only the name's colour follows the filter.
    void CmdPlusClick();
    void CmdFinClick();
    // A pick in the reply-number box: shows that reply, leaving the
    // rehearsal's box as it is.
    void ComboNumFichierPick(int k);
    // Removes the rehearsal's cover from the reply text.
    void CmdVoirTexteClick();
    // The developer check of the play text; its report replaces the reply text.
    void CheckPlayText();
    // Opens the recorder on the current reply, or brings the open one to the
    // front.
    void CmdRecordShowClick();
    // Open the export and the import window; the play window hides meanwhile.
    void CmdTransfertVoxClick();
    void CmdRecupVoxClick();
    // The report and text windows: statistics, durations, the text of the
    // open scene and of its act. Each disables the play window while open.
    void CmdStatClick();
    void CmdCalculVoxClick();
    void CmdPrintSceneClick();
    void CmdPrintActeClick();
    // The note editor on the current reply (CmdCommentaire and CmdNoteExiste).
    void CmdCommentaireClick();
    // Attaches a photo when the reply has none, then shows the photo window.
    void CmdPhotoClick();
    // The browser of every note and photo of the play.
    void CmdVoirListeNotesPhotosClick();

Q_SIGNALS:
    // The window accepted to close; sent before the scratch files are deleted.
    void closing();
    // Reply k is now shown.
    void replyShown(int k);

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    enum class Move
    {
        Jump, // first, previous, last
        Pick, // the reply-number box
        Next  // the playback-aware next reply
    };

    bool QueryUnload();
    void buildTree(const QList<ActNode> &acts);
    void clearSceneView();
    void showEmptyScene();
    void display(Move move);
    void showText(QString text);
    // Every control that depends on the window's state, set from it.
    PlayWindowState controlState() const;
    void applyControls();
    void fillReplyNumbers();
    // Connects the playback and rehearsal buttons and keys to their owners.
    void connectSoundControls();

    Module1 &m_state;
    Dialogs &m_dialogs;
    FrmAvareUi ui;
    CharactersList m_characters;
    SceneCursor m_scene;
    QIcon m_openedSceneIcon;
    QList<QPointer<QWidget>> m_toolWindows;
    QPointer<FrmFiltre> m_filterWindow;
    SoundSystem *m_sound = nullptr;
    PlatformServices m_services;
    QPointer<FrmEnregMessage> m_recorder;
    std::array<std::unique_ptr<MediaDevice>, 4> m_media;
    std::unique_ptr<ReplyPlayer> m_replyPlayer;
    std::unique_ptr<SceneListener> m_sceneListener;
    std::unique_ptr<Rehearsal> m_rehearsal;
    PlayWindowState::Playback m_playback = PlayWindowState::Playback::None;
    bool m_rehearsalShown = false;
    int m_navigationLocks = 0;
    bool m_destroying = false;
};

} // namespace tiradex
