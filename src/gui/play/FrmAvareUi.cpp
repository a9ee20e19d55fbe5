#include "gui/play/FrmAvareUi.h"

#include "gui/play/PlayIcons.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QShortcut>
#include <QSlider>
#include <QStyle>
#include <QTextEdit>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace tiradex {

namespace {
// Width of the act/scene tree, in device-independent pixels.
const int TreeWidth = 170;

// Discards the key presses and wheel turns that would change a reply-number
// box's entry without its list: a number is picked from the list only. The
// keys that open the list stay, so the box remains usable without a mouse.
class PickOnlyFilter : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Wheel)
            return true;
        if (event->type() != QEvent::KeyPress && event->type() != QEvent::ShortcutOverride)
            return QObject::eventFilter(watched, event);
        const auto *key = static_cast<QKeyEvent *>(event);
        const bool opensList =
            key->key() == Qt::Key_F4 || ((key->key() == Qt::Key_Down || key->key() == Qt::Key_Up) &&
                                         key->modifiers().testFlag(Qt::AltModifier));
        const bool movesFocus = key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab;
        if (opensList || movesFocus)
            return QObject::eventFilter(watched, event);
        return event->type() == QEvent::KeyPress; // swallowed
    }
};

// Presses `button` as a click would, when it can be clicked on screen.
bool press(QAbstractButton *button)
{
    if (!button->isVisibleTo(button->window()) || !button->isEnabled())
        return false;
    button->click();
    return true;
}

template <class Widget> Widget *named(QWidget *parent, const char *name)
{
    auto *widget = new Widget(parent);
    widget->setObjectName(QLatin1String(name));
    return widget;
}

QToolButton *toolButton(QWidget *parent, const char *name, const QString &caption,
                        const QString &tip)
{
    auto *button = named<QToolButton>(parent, name);
    button->setText(caption);
    button->setToolTip(tip);
    button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    button->setAutoRaise(false);
    return button;
}

QToolButton *mediaButton(QWidget *parent, const char *name, const QIcon &icon,
                         const QString &caption, const QString &tip)
{
    auto *button = named<QToolButton>(parent, name);
    button->setIcon(icon);
    button->setText(caption);
    button->setToolTip(tip);
    button->setToolButtonStyle(caption.isEmpty() ? Qt::ToolButtonIconOnly
                                                 : Qt::ToolButtonTextBesideIcon);
    return button;
}

QPushButton *pushButton(QWidget *parent, const char *name, const QString &caption,
                        const QString &tip)
{
    auto *button = named<QPushButton>(parent, name);
    button->setText(caption);
    button->setToolTip(tip);
    button->setAutoDefault(false);
    return button;
}

QSlider *progressSlider(QWidget *parent, const char *name)
{
    auto *slider = named<QSlider>(parent, name);
    slider->setOrientation(Qt::Horizontal);
    // At rest the value is 1; a playback sets the maximum to its length in
    // milliseconds, so a wide range keeps the resting handle at the start.
    slider->setRange(0, 1000);
    slider->setValue(1);
    slider->setFocusPolicy(Qt::NoFocus);
    slider->setAttribute(Qt::WA_TransparentForMouseEvents);
    slider->setMinimumWidth(140);
    return slider;
}

QFrame *panel(QWidget *parent, const char *name, QFrame::Shape shape)
{
    auto *frame = named<QFrame>(parent, name);
    frame->setFrameShape(shape);
    return frame;
}

QIcon standardIcon(QStyle::StandardPixmap which)
{
    return QApplication::style()->standardIcon(which);
}

// The captions of the main tool bar, reused by the rehearsal bar's inert
// buttons.
struct ToolBarEntry
{
    const char *name;
    const char *caption;
    const char *tip;
};
const ToolBarEntry ToolBarEntries[] = {
    {"CmdFiltres", "Filter", "Establish a filter"},
    {"CmdRepetition", "Rehearsal", "Rehearsal (Ctrl+R)"},
    {"CmdCommentaire", "Add note", "Add a textual note"},
    {"CmdPhoto", "Add photo", "Add a photography"},
    {"CmdVoirListeNotesPhotos", "All notes", "Consult all the notes and the photos"},
    {"CmdPrintScene", "Scene", "Text of the scene, for the clipboard"},
    {"CmdPrintActe", "Act", "Text of the act, for the clipboard"},
    {"CmdStat", "Statistics", "Calculations of distribution"},
    {"CmdCalculVox", "Durations", "Duration of the play"},
    {"CmdTransfertVox", "Export", "Copy recordings, notes and photos to a transfer folder"},
    {"CmdRecupVox", "Import", "Bring recordings, notes and photos from a transfer folder"},
};
} // namespace

void FrmAvareUi::setEnabled(const QList<QWidget *> &controls, bool enabled)
{
    for (QWidget *control : controls)
        control->setEnabled(enabled);
}

void FrmAvareUi::setupUi(QWidget *form)
{
    setupToolBar(form);
    setupRehearsalBar(form);

    TreeView1 = named<QTreeWidget>(form, "TreeView1");
    TreeView1->setHeaderHidden(true);
    TreeView1->setColumnCount(1);
    TreeView1->setRootIsDecorated(true);
    TreeView1->setFixedWidth(TreeWidth);
    TreeView1->setIconSize(QSize(20, 20));

    LbEntete = named<QLabel>(form, "LbEntete");
    QFont headingFont = LbEntete->font();
    headingFont.setBold(true);
    LbEntete->setFont(headingFont);
    LbEntete->setWordWrap(true);
    LbNom = named<QLabel>(form, "LbNom");
    QFont nameFont = LbNom->font();
    nameFont.setBold(true);
    nameFont.setPointSizeF(nameFont.pointSizeF() * 1.4);
    LbNom->setFont(nameFont);
    LbNom->setForegroundRole(QPalette::WindowText);

    RichTextBox1 = named<QTextEdit>(form, "RichTextBox1");
    RichTextBox1->setReadOnly(true);
    RichTextBox1->setAcceptRichText(false);
    QFont textFont = RichTextBox1->font();
    textFont.setPointSizeF(textFont.pointSizeF() * 1.25);
    RichTextBox1->setFont(textFont);
    setupCover(form);

    setupReplyPanel(form);
    setupRehearsalPanel(form);
    setupRehearsalKeys(form);

    LbIncrem = named<QLabel>(form, "LbIncrem");
    LbIncrem->setText(QStringLiteral("0"));
    LbNumActe = named<QLabel>(form, "LbNumActe");
    LbNumScene = named<QLabel>(form, "LbNumScene");
    Command2 = pushButton(form, "Command2",
                          QStringLiteral("Vérification du fichier texte (commande non accessible "
                                         "au public)"),
                          QString());
    for (QWidget *hidden : QList<QWidget *>{LbIncrem, LbNumActe, LbNumScene, Command2})
        hidden->hide();

    // Text column: heading, name, then the reply text with the cover in the same
    // cell.
    auto *textCell = new QGridLayout;
    textCell->setContentsMargins(0, 0, 0, 0);
    textCell->addWidget(RichTextBox1, 0, 0);
    textCell->addWidget(Pict_A_Vous, 0, 0);
    auto *textColumn = new QVBoxLayout;
    textColumn->addWidget(LbEntete);
    textColumn->addWidget(LbNom);
    textColumn->addLayout(textCell, 1);

    auto *middle = new QHBoxLayout;
    middle->addWidget(Picture2);
    middle->addWidget(PictBarRepet);
    middle->addWidget(TreeView1);
    middle->addLayout(textColumn, 1);

    auto *outer = new QVBoxLayout(form);
    outer->setContentsMargins(6, 6, 6, 6);
    outer->addLayout(middle, 1);
    outer->addWidget(Picture1);
    outer->addWidget(PictRepetition);
}

void FrmAvareUi::setupToolBar(QWidget *form)
{
    Picture2 = panel(form, "Picture2", QFrame::NoFrame);
    auto *column = new QVBoxLayout(Picture2);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(3);
    QToolButton **targets[] = {
        &CmdFiltres,    &CmdRepetition, &CmdCommentaire, &CmdPhoto,     &CmdVoirListeNotesPhotos,
        &CmdPrintScene, &CmdPrintActe,  &CmdStat,        &CmdCalculVox, &CmdTransfertVox,
        &CmdRecupVox};
    int i = 0;
    for (const ToolBarEntry &entry : ToolBarEntries) {
        QToolButton *button = toolButton(Picture2, entry.name, QLatin1String(entry.caption),
                                         QLatin1String(entry.tip));
        *targets[i++] = button;
        column->addWidget(button);
    }
    column->addStretch(1);
    // Buttons that act on a scene wait for one.
    setEnabled({CmdRepetition, CmdCommentaire, CmdPhoto, CmdPrintScene, CmdPrintActe}, false);
}

void FrmAvareUi::setupRehearsalBar(QWidget *form)
{
    PictBarRepet = panel(form, "PictBarRepet", QFrame::NoFrame);
    auto *column = new QVBoxLayout(PictBarRepet);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(3);
    int inert = 0;
    for (const ToolBarEntry &entry : ToolBarEntries) {
        if (QLatin1String(entry.name) == QLatin1String("CmdRepetition")) {
            CmdFinRepetition =
                toolButton(PictBarRepet, "CmdFinRepetition", QStringLiteral("End rehearsal"),
                           QStringLiteral("Fin répétition (E)"));
            column->addWidget(CmdFinRepetition);
            continue;
        }
        const QByteArray name = "PictBarRepetButton" + QByteArray::number(++inert);
        QToolButton *button =
            toolButton(PictBarRepet, name.constData(), QLatin1String(entry.caption), QString());
        button->setEnabled(false);
        inertRehearsalButtons.append(button);
        column->addWidget(button);
    }
    column->addStretch(1);
    PictBarRepet->hide();
}

void FrmAvareUi::setupCover(QWidget *form)
{
    Pict_A_Vous = panel(form, "Pict_A_Vous", QFrame::StyledPanel);
    Pict_A_Vous->setAutoFillBackground(true);
    QPalette coverColours = Pict_A_Vous->palette();
    coverColours.setColor(QPalette::Window, QColor(0x2b, 0x3a, 0x55));
    coverColours.setColor(QPalette::WindowText, Qt::white);
    Pict_A_Vous->setPalette(coverColours);
    Lb_A_Vous = named<QLabel>(Pict_A_Vous, "Lb_A_Vous");
    LbDecompteRepetition = named<QLabel>(Pict_A_Vous, "LbDecompteRepetition");
    for (QLabel *label : {Lb_A_Vous, LbDecompteRepetition}) {
        label->setAlignment(Qt::AlignCenter);
        QFont font = label->font();
        font.setBold(true);
        font.setPointSizeF(font.pointSizeF() * 2.2);
        label->setFont(font);
    }
    // The name sits in the middle of the cover and the countdown right
    // under it: a space as high as the countdown balances it above.
    const int countdownHeight = LbDecompteRepetition->fontMetrics().height();
    LbDecompteRepetition->setMinimumHeight(countdownHeight);
    auto *column = new QVBoxLayout(Pict_A_Vous);
    column->setSpacing(0);
    column->addStretch(1);
    column->addSpacing(countdownHeight);
    column->addWidget(Lb_A_Vous);
    column->addWidget(LbDecompteRepetition);
    column->addStretch(1);
    Pict_A_Vous->hide();
}

void FrmAvareUi::setupReplyPanel(QWidget *form)
{
    Picture1 = panel(form, "Picture1", QFrame::NoFrame);
    Frame1 = panel(Picture1, "Frame1", QFrame::StyledPanel);

    CmdDebut = pushButton(Frame1, "CmdDebut", QStringLiteral("<<"),
                          QStringLiteral("First reply of the scene"));
    CmdMoins =
        pushButton(Frame1, "CmdMoins", QStringLiteral("<"), QStringLiteral("Previous reply"));
    CmdPlus = pushButton(Frame1, "CmdPlus", QStringLiteral(">"), QStringLiteral("Next reply"));
    CmdFin = pushButton(Frame1, "CmdFin", QStringLiteral(">>"),
                        QStringLiteral("Last reply of the scene"));
    for (QPushButton *nav : {CmdDebut, CmdMoins, CmdPlus, CmdFin}) {
        nav->setMinimumWidth(nav->fontMetrics().horizontalAdvance(QStringLiteral("<<<<")));
        nav->setEnabled(false);
    }
    ComboNumFichier = named<QComboBox>(Frame1, "ComboNumFichier");
    ComboNumFichier->setEditable(false);
    ComboNumFichier->setMinimumContentsLength(5);
    ComboNumFichier->installEventFilter(new PickOnlyFilter(ComboNumFichier));
    ComboNumFichier->setToolTip(QStringLiteral("Number of the reply in the play"));
    LbCompteRepliques = named<QLabel>(Frame1, "LbCompteRepliques");
    LbCompteRepliques->setMinimumWidth(
        LbCompteRepliques->fontMetrics().horizontalAdvance(QStringLiteral("888/888")));

    CmdRecordShow = mediaButton(Frame1, "CmdRecordShow", PlayIcons::recordDot(),
                                QStringLiteral("Record"), QStringLiteral("Record a reply"));
    CmdNoteExiste =
        mediaButton(Frame1, "CmdNoteExiste", standardIcon(QStyle::SP_FileDialogContentsView),
                    QStringLiteral("Note"), QStringLiteral("Consult the associated comment"));
    CmdPhotoExiste =
        mediaButton(Frame1, "CmdPhotoExiste", standardIcon(QStyle::SP_DesktopIcon),
                    QStringLiteral("Photo"), QStringLiteral("Consult the associate photo"));

    CmdLecture = mediaButton(Frame1, "CmdLecture", standardIcon(QStyle::SP_MediaPlay),
                             QStringLiteral("Play"), QStringLiteral("Play the current reply"));
    CmdStopLecture = mediaButton(Frame1, "CmdStopLecture", standardIcon(QStyle::SP_MediaStop),
                                 QString(), QStringLiteral("Stop playing the reply"));
    CmdDelVox = mediaButton(Frame1, "CmdDelVox", standardIcon(QStyle::SP_TrashIcon), QString(),
                            QStringLiteral("Delete the Vox file of the current reply"));
    Slider1 = progressSlider(Frame1, "Slider1");
    LbEgrene = named<QLabel>(Frame1, "LbEgrene");
    LbEgrene->setMinimumWidth(
        LbEgrene->fontMetrics().horizontalAdvance(QStringLiteral("888/888 secondes")));
    CmdEcouteGlobalScene = mediaButton(
        Frame1, "CmdEcouteGlobalScene", standardIcon(QStyle::SP_MediaSeekForward),
        QStringLiteral("Play scene"), QStringLiteral("Play all the scene from the current reply."));
    CmdStopEcouteScene =
        mediaButton(Frame1, "CmdStopEcouteScene", standardIcon(QStyle::SP_MediaStop), QString(),
                    QStringLiteral("Stop playing the scene"));

    setEnabled({CmdRecordShow, CmdNoteExiste, CmdPhotoExiste, CmdLecture, CmdStopLecture, CmdDelVox,
                CmdEcouteGlobalScene, CmdStopEcouteScene},
               false);

    auto *grid = new QGridLayout(Frame1);
    grid->setHorizontalSpacing(4);
    auto *navigation = new QHBoxLayout;
    for (QWidget *w :
         QList<QWidget *>{CmdDebut, CmdMoins, ComboNumFichier, CmdPlus, CmdFin, LbCompteRepliques})
        navigation->addWidget(w);
    auto *annotations = new QHBoxLayout;
    for (QWidget *w : QList<QWidget *>{CmdRecordShow, CmdNoteExiste, CmdPhotoExiste})
        annotations->addWidget(w);
    auto *playback = new QHBoxLayout;
    for (QWidget *w : QList<QWidget *>{CmdLecture, CmdStopLecture, CmdDelVox})
        playback->addWidget(w);
    playback->addWidget(Slider1, 1);
    playback->addWidget(LbEgrene);
    auto *scene = new QHBoxLayout;
    scene->addWidget(CmdEcouteGlobalScene);
    scene->addWidget(CmdStopEcouteScene);
    grid->addLayout(navigation, 0, 0);
    grid->addLayout(annotations, 0, 1);
    grid->addLayout(playback, 1, 0);
    grid->addLayout(scene, 1, 1);

    auto *row = new QHBoxLayout(Picture1);
    row->setContentsMargins(0, 0, 0, 0);
    row->addStretch(1);
    row->addWidget(Frame1);
    row->addStretch(1);
}

void FrmAvareUi::setupRehearsalPanel(QWidget *form)
{
    PictRepetition = panel(form, "PictRepetition", QFrame::NoFrame);
    FrameRepetition = panel(PictRepetition, "FrameRepetition", QFrame::StyledPanel);

    CmdDemarRepetition = pushButton(FrameRepetition, "CmdDemarRepetition", QStringLiteral("Start"),
                                    QStringLiteral("Start (Space)"));
    CmdContinuerRepetition =
        pushButton(FrameRepetition, "CmdContinuerRepetition", QStringLiteral("Continue"),
                   QStringLiteral("Continue (Space)"));
    CmdStopGlobalRepetition = pushButton(FrameRepetition, "CmdStopGlobalRepetition",
                                         QStringLiteral("Stop"), QStringLiteral("Stop (Esc)"));
    CheckJuskaFinRepetition = named<QCheckBox>(FrameRepetition, "CheckJuskaFinRepetition");
    CheckJuskaFinRepetition->setText(QStringLiteral("Non Stop"));
    CheckJuskaFinRepetition->setToolTip(QStringLiteral("Non Stop (N)"));
    ComboNumFichierRepetition = named<QComboBox>(FrameRepetition, "ComboNumFichierRepetition");
    ComboNumFichierRepetition->setMinimumContentsLength(5);
    LbNumRepliqueRepetition = named<QLabel>(FrameRepetition, "LbNumRepliqueRepetition");
    LbNumRepliqueRepetition->setMinimumWidth(
        LbNumRepliqueRepetition->fontMetrics().horizontalAdvance(QStringLiteral("888/888")));
    CmdEcouter = pushButton(FrameRepetition, "CmdEcouter", QStringLiteral("Cue"),
                            QStringLiteral("Listen to a cue (P)"));
    CmdStopLectureRepetition =
        pushButton(FrameRepetition, "CmdStopLectureRepetition", QStringLiteral("Stop cue"),
                   QStringLiteral("Stop the cue (Esc)"));
    CmdVoirTexte = pushButton(FrameRepetition, "CmdVoirTexte", QStringLiteral("Show text"),
                              QStringLiteral("Read the note (R)"));
    Slider2 = progressSlider(FrameRepetition, "Slider2");
    LbEgreneRepetition = named<QLabel>(FrameRepetition, "LbEgreneRepetition");
    LbEgreneRepetition->setMinimumWidth(
        LbEgreneRepetition->fontMetrics().horizontalAdvance(QStringLiteral("888/888 secondes")));

    setEnabled({CmdStopGlobalRepetition, CmdStopLectureRepetition, CmdEcouter, CmdVoirTexte},
               false);
    CmdContinuerRepetition->hide();

    auto *grid = new QGridLayout(FrameRepetition);
    grid->addWidget(CmdDemarRepetition, 0, 0);
    grid->addWidget(CmdContinuerRepetition, 0,
                    0); // the same place, one shown at a time
    grid->addWidget(CmdStopGlobalRepetition, 0, 1);
    grid->addWidget(CheckJuskaFinRepetition, 0, 2);
    grid->addWidget(ComboNumFichierRepetition, 0, 3);
    grid->addWidget(LbNumRepliqueRepetition, 0, 4);
    grid->addWidget(CmdEcouter, 1, 0);
    grid->addWidget(CmdStopLectureRepetition, 1, 1);
    grid->addWidget(CmdVoirTexte, 1, 2);
    auto *progress = new QHBoxLayout;
    progress->addWidget(Slider2, 1);
    progress->addWidget(LbEgreneRepetition);
    grid->addLayout(progress, 1, 3, 1, 2);

    auto *row = new QHBoxLayout(PictRepetition);
    row->setContentsMargins(0, 0, 0, 0);
    row->addStretch(1);
    row->addWidget(FrameRepetition);
    row->addStretch(1);
    PictRepetition->hide();
}

void FrmAvareUi::setupRehearsalKeys(QWidget *form)
{
    // The panel's keys are enabled only while it is shown, so the same
    // letters still reach the tree's search and the other controls outside it.
    auto key = [&](const QKeySequence &sequence, QList<QAbstractButton *> buttons) {
        auto *shortcut = new QShortcut(sequence, form);
        shortcut->setContext(Qt::WidgetWithChildrenShortcut);
        QObject::connect(shortcut, &QShortcut::activated, form, [buttons] {
            for (QAbstractButton *button : buttons) {
                if (press(button))
                    return;
            }
        });
        return shortcut;
    };
    key(QKeySequence(Qt::CTRL | Qt::Key_R), {CmdRepetition});
    rehearsalKeys = {
        key(Qt::Key_Space, {CmdDemarRepetition, CmdContinuerRepetition}),
        key(Qt::Key_Escape, {CmdStopGlobalRepetition, CmdStopLectureRepetition}),
        key(Qt::Key_P, {CmdEcouter}),
        key(Qt::Key_R, {CmdVoirTexte}),
        key(Qt::Key_N, {CheckJuskaFinRepetition}),
        key(Qt::Key_E, {CmdFinRepetition}),
    };
    for (QShortcut *shortcut : std::as_const(rehearsalKeys))
        shortcut->setEnabled(false);
}

} // namespace tiradex
