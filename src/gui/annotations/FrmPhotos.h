#pragma once

#include <QImage>
#include <QPointer>
#include <QWidget>

class QPushButton;

namespace tiradex {

class Dialogs;
class FrmFullScreen;
class Module1;
class PhotoFrame;
class PlayWindowHost;
struct CurrentReply;

// The photo window of the current reply: the photo fitted into a square
// frame, "Supprimer" to delete it, "Plein écran" (or a click on it) for the
// full-screen view, whose closing closes this window too.
class FrmPhotos : public QWidget
{
    Q_OBJECT

public:
    FrmPhotos(Module1 &state, Dialogs &dialogs, PlayWindowHost &host, QWidget *parent = nullptr);

    // The attach step of the photo command: when the reply has no photo,
    // asks for a picture file ("JPEG files (*.*)" showing *.jpg) and copies
    // it byte for byte as the reply's photo. True when the reply has a photo
    // afterwards; false when the choice is cancelled or the copy fails (then
    // nothing is shown and no file is left).
    static bool EnsurePhoto(Module1 &state, Dialogs &dialogs, const CurrentReply &reply,
                            QWidget *owner);
    // The window's size: the frame and the button bar below it.
    static QSize WindowSize(const QWidget *onScreen);

    PhotoFrame *Image1 = nullptr;
    QWidget *Picture1 = nullptr;
    QPushButton *CmdDelPhoto = nullptr;
    QPushButton *CmdFullScreen = nullptr;
    // The open full-screen view, if any.
    FrmFullScreen *fullScreen() const;

public Q_SLOTS:
    void CmdDelPhotoClick();
    void CmdFullScreenClick();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void Form_Load();

    Module1 &m_state;
    Dialogs &m_dialogs;
    PlayWindowHost &m_host;
    QString m_photoPath;
    QPointer<FrmFullScreen> m_fullScreen;
};

} // namespace tiradex
