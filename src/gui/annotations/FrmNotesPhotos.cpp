#include "gui/annotations/FrmNotesPhotos.h"

#include "gui/annotations/FrmCommentaire.h"
#include "gui/annotations/FrmFullScreen.h"
#include "gui/annotations/PhotoFrame.h"

#include "core/annotations/AnnotationFiles.h"
#include "core/annotations/AnnotationTexts.h"
#include "core/annotations/NoteFile.h"
#include "core/annotations/PhotoFit.h"
#include "core/annotations/PictureFile.h"
#include "core/app/Module1.h"
#include "platform/Dialogs.h"

#include <QApplication>
#include <QComboBox>
#include <QGridLayout>
#include <QKeyEvent>
#include <QTextEdit>

namespace tiradex {

namespace {
constexpr double FrameTwips = 3795;
const QColor FrameColour(0xFF, 0xC0, 0x80);
const QString NoteExtension = QStringLiteral(".not");
const QString PhotoExtension = QStringLiteral(".jp1");

class BusyPointer
{
public:
    BusyPointer() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyPointer() { QApplication::restoreOverrideCursor(); }
    BusyPointer(const BusyPointer &) = delete;
    BusyPointer &operator=(const BusyPointer &) = delete;
};
} // namespace

FrmNotesPhotos::FrmNotesPhotos(Module1 &state, Dialogs &dialogs, PlayWindowHost &, QWidget *parent)
    : QWidget(parent), m_state(state), m_dialogs(dialogs)
{
    setObjectName(QStringLiteral("FrmNotesPhotos"));
    setWindowTitle(AnnotationTexts::BrowserTitle);
    Image1 = new PhotoFrame(FrameTwips, FrameColour, this);
    RichTextBox1 = new QTextEdit(this);
    RichTextBox1->setObjectName(QStringLiteral("RichTextBox1"));
    RichTextBox1->setFont(FrmCommentaire::NoteFont());
    // Nothing typed here would ever be saved: the view is read-only.
    RichTextBox1->setReadOnly(true);
    LstPhotos = new QComboBox(this);
    LstPhotos->setObjectName(QStringLiteral("LstPhotos"));
    LstNotes = new QComboBox(this);
    LstNotes->setObjectName(QStringLiteral("LstNotes"));
    for (QComboBox *list : {LstPhotos, LstNotes})
        list->installEventFilter(this);

    auto *grid = new QGridLayout(this);
    grid->addWidget(Image1, 0, 0);
    grid->addWidget(RichTextBox1, 0, 1);
    grid->addWidget(LstPhotos, 1, 0);
    grid->addWidget(LstNotes, 1, 1);
    grid->setColumnStretch(1, 1);

    // The lists are read once; later changes on disk do not show.
    LstNotes->addItems(AnnotationEntries(m_state.NotesFolder(), NoteExtension));
    LstPhotos->addItems(AnnotationEntries(m_state.PhotosFolder(), PhotoExtension));
    LstNotes->setCurrentIndex(-1);
    LstPhotos->setCurrentIndex(-1);

    connect(LstNotes, &QComboBox::activated, this, &FrmNotesPhotos::LstNotesClick);
    connect(LstPhotos, &QComboBox::activated, this, &FrmNotesPhotos::LstPhotosClick);
    connect(Image1, &PhotoFrame::clicked, this, &FrmNotesPhotos::Dessin1Click);
}

QSize FrmNotesPhotos::WindowSize(const QWidget *onScreen)
{
    const int side = qRound(TwipsToPixels(FrameTwips, ScreenDpi(onScreen)));
    return QSize(side * 2 + 60, side + 70);
}

bool FrmNotesPhotos::eventFilter(QObject *watched, QEvent *event)
{
    // Keys typed into the lists are discarded: no editing, no search by typing.
    if ((watched == LstPhotos || watched == LstNotes) &&
        (event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease))
        return true;
    return QWidget::eventFilter(watched, event);
}

void FrmNotesPhotos::showNote(const QString &entry)
{
    const std::optional<RichText> note =
        LoadNote(AnnotationFileOfEntry(m_state.NotesFolder(), entry, NoteExtension), nullptr);
    if (note)
        FillDocument(*RichTextBox1->document(), *note, FrmCommentaire::NoteFont());
    else
        RichTextBox1->clear();
}

bool FrmNotesPhotos::showPhoto(const QString &entry)
{
    std::optional<QImage> picture;
    {
        BusyPointer busy;
        picture = LoadPicture(AnnotationFileOfEntry(m_state.PhotosFolder(), entry, PhotoExtension),
                              nullptr);
        if (picture)
            Image1->showPicture(*picture);
    }
    if (!picture)
        m_dialogs.information(this, AnnotationTexts::FileError);
    return picture.has_value();
}

void FrmNotesPhotos::LstNotesClick(int index)
{
    if (index < 0)
        return;
    const QString entry = LstNotes->itemText(index);
    showNote(entry);
    LstPhotos->setCurrentIndex(-1);
    Image1->clearPicture();
    const int photo = LstPhotos->findText(entry, Qt::MatchExactly);
    if (photo < 0)
        return;
    LstPhotos->setCurrentIndex(photo);
    showPhoto(entry);
}

void FrmNotesPhotos::LstPhotosClick(int index)
{
    if (index < 0)
        return;
    const QString entry = LstPhotos->itemText(index);
    LstNotes->setCurrentIndex(-1);
    Image1->clearPicture();
    if (!showPhoto(entry))
        return;
    RichTextBox1->clear();
    const int note = LstNotes->findText(entry, Qt::MatchExactly);
    if (note < 0)
        return;
    LstNotes->setCurrentIndex(note);
    showNote(entry);
}

void FrmNotesPhotos::Dessin1Click()
{
    if (m_fullScreen || LstPhotos->currentIndex() < 0)
        return;
    const std::optional<QImage> picture = LoadPicture(
        AnnotationFileOfEntry(m_state.PhotosFolder(), LstPhotos->currentText(), PhotoExtension),
        nullptr);
    if (!picture) {
        m_dialogs.information(this, AnnotationTexts::FileError);
        return;
    }
    // Leaving the view returns to the browser, which stays open.
    m_fullScreen = new FrmFullScreen(*picture, this);
    m_fullScreen->showCovering();
}

void FrmNotesPhotos::closeEvent(QCloseEvent *event)
{
    if (m_fullScreen)
        m_fullScreen->close();
    QWidget::closeEvent(event);
}

FrmFullScreen *FrmNotesPhotos::fullScreen() const
{
    return m_fullScreen;
}

} // namespace tiradex
