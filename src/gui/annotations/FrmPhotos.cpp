#include "gui/annotations/FrmPhotos.h"

#include "gui/annotations/FrmFullScreen.h"
#include "gui/annotations/PhotoFrame.h"
#include "gui/app/PlayWindowHost.h"

#include "core/annotations/AnnotationFiles.h"
#include "core/annotations/AnnotationTexts.h"
#include "core/annotations/PhotoFit.h"
#include "core/annotations/PictureFile.h"
#include "core/app/Module1.h"
#include "platform/Dialogs.h"

#include <QCloseEvent>
#include <QFile>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

namespace tiradex {

namespace {
constexpr double FrameTwips = 5235;
const QColor FrameColour(0xFF, 0xE0, 0xC0);
const QColor BarColour(0xC0, 0xC0, 0xC0);
} // namespace

FrmPhotos::FrmPhotos(Module1 &state, Dialogs &dialogs, PlayWindowHost &host, QWidget *parent)
    : QWidget(parent), m_state(state), m_dialogs(dialogs), m_host(host)
{
    setObjectName(QStringLiteral("FrmPhotos"));
    Image1 = new PhotoFrame(FrameTwips, FrameColour, this);
    Picture1 = new QWidget(this);
    Picture1->setObjectName(QStringLiteral("Picture1"));
    Picture1->setAutoFillBackground(true);
    QPalette palette = Picture1->palette();
    palette.setColor(QPalette::Window, BarColour);
    Picture1->setPalette(palette);
    CmdDelPhoto = new QPushButton(AnnotationTexts::DeleteCaption, Picture1);
    CmdDelPhoto->setObjectName(QStringLiteral("CmdDelPhoto"));
    CmdFullScreen = new QPushButton(AnnotationTexts::FullScreenCaption, Picture1);
    CmdFullScreen->setObjectName(QStringLiteral("CmdFullScreen"));
    auto *bar = new QHBoxLayout(Picture1);
    bar->addWidget(CmdDelPhoto);
    bar->addStretch(1);
    bar->addWidget(CmdFullScreen);
    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->addWidget(Image1);
    column->addWidget(Picture1);
    column->addStretch(1);
    Picture1->setFixedSize(Image1->width(), Picture1->sizeHint().height());

    connect(CmdDelPhoto, &QPushButton::clicked, this, &FrmPhotos::CmdDelPhotoClick);
    connect(CmdFullScreen, &QPushButton::clicked, this, &FrmPhotos::CmdFullScreenClick);
    connect(Image1, &PhotoFrame::clicked, this, &FrmPhotos::CmdFullScreenClick);
    Form_Load();
}

bool FrmPhotos::EnsurePhoto(Module1 &state, Dialogs &dialogs, const CurrentReply &reply,
                            QWidget *owner)
{
    const QString photo = state.PhotoPath(reply.baseName);
    if (QFile::exists(photo))
        return true;
    const QString chosen =
        dialogs.openFileName(owner, QString(), QString(), AnnotationTexts::PhotoFilter);
    return !chosen.isEmpty() && AttachPhoto(chosen, photo, nullptr);
}

QSize FrmPhotos::WindowSize(const QWidget *onScreen)
{
    const int side = qRound(TwipsToPixels(FrameTwips, ScreenDpi(onScreen)));
    return QSize(side + 8, side + 80); // with the button bar and the sub-window's frame
}

void FrmPhotos::Form_Load()
{
    const CurrentReply reply = m_host.currentReply();
    setWindowTitle(reply.number);
    m_photoPath = m_state.PhotoPath(reply.baseName);
    const std::optional<QImage> picture = LoadPicture(m_photoPath, nullptr);
    if (!picture) {
        m_dialogs.information(this, AnnotationTexts::FileError);
        return;
    }
    Image1->showPicture(*picture);
}

void FrmPhotos::CmdDelPhotoClick()
{
    if (m_dialogs.askYesNo(this, AnnotationTexts::DeletePhoto) != Dialogs::Answer::Yes)
        return;
    QFile::remove(m_photoPath);
    m_host.refreshReplyFiles();
    close();
}

void FrmPhotos::CmdFullScreenClick()
{
    if (m_fullScreen) {
        m_fullScreen->activateWindow();
        return;
    }
    const std::optional<QImage> picture = LoadPicture(m_photoPath, nullptr);
    if (!picture) {
        m_dialogs.information(this, AnnotationTexts::FileError);
        return;
    }
    m_fullScreen = new FrmFullScreen(*picture, this);
    // Leaving the full-screen view leads straight back to the play window.
    connect(m_fullScreen, &FrmFullScreen::dismissed, this, &FrmPhotos::close, Qt::QueuedConnection);
    m_fullScreen->showCovering();
}

void FrmPhotos::closeEvent(QCloseEvent *event)
{
    if (m_fullScreen)
        m_fullScreen->close();
    m_host.refreshReplyFiles();
    event->accept();
}

FrmFullScreen *FrmPhotos::fullScreen() const
{
    return m_fullScreen;
}

} // namespace tiradex
