#pragma once

#include <QList>

class QCheckBox;
class QComboBox;
class QFrame;
class QLabel;
class QPushButton;
class QSlider;
class QTextEdit;
class QShortcut;
class QToolButton;
class QTreeWidget;
class QWidget;

namespace tiradex {

// The controls of the play window and their arrangement, kept apart from the
// window's behaviour. Every control carries its name as its object name.
//
// Arrangement: the main tool bar `Picture2` (or, during a rehearsal, the
// rehearsal bar `PictBarRepet`) runs down the left edge; right of it the
// act/scene tree `TreeView1` keeps a fixed width; the rest of the width holds
// the scene heading `LbEntete`, the speaking character `LbNom` and the reply
// text `RichTextBox1`, over which the rehearsal's cover `Pict_A_Vous` is laid.
// Along the bottom, the reply panel `Picture1` (or the rehearsal panel
// `PictRepetition`) holds its frame centred.
class FrmAvareUi
{
public:
    // Creates every control as a child of `form`, in its state of a freshly
    // opened play window (no scene open).
    void setupUi(QWidget *form);

    // Enables or disables each of `controls`.
    static void setEnabled(const QList<QWidget *> &controls, bool enabled);

    // Main tool bar.
    QFrame *Picture2 = nullptr;
    QToolButton *CmdFiltres = nullptr;
    QToolButton *CmdRepetition = nullptr;
    QToolButton *CmdCommentaire = nullptr;
    QToolButton *CmdPhoto = nullptr;
    QToolButton *CmdVoirListeNotesPhotos = nullptr;
    QToolButton *CmdPrintScene = nullptr;
    QToolButton *CmdPrintActe = nullptr;
    QToolButton *CmdStat = nullptr;
    QToolButton *CmdCalculVox = nullptr;
    QToolButton *CmdTransfertVox = nullptr;
    QToolButton *CmdRecupVox = nullptr;

    // Rehearsal bar, shown in place of the main tool bar.
    QFrame *PictBarRepet = nullptr;
    QToolButton *CmdFinRepetition = nullptr;
    QList<QToolButton *> inertRehearsalButtons; // ten, always disabled

    QTreeWidget *TreeView1 = nullptr;
    QLabel *LbEntete = nullptr;
    QLabel *LbNom = nullptr;
    QTextEdit *RichTextBox1 = nullptr;

    // The rehearsal's cover over the reply text.
    QFrame *Pict_A_Vous = nullptr;
    QLabel *Lb_A_Vous = nullptr;
    QLabel *LbDecompteRepetition = nullptr;

    // Reply panel.
    QFrame *Picture1 = nullptr;
    QFrame *Frame1 = nullptr;
    QPushButton *CmdDebut = nullptr;
    QPushButton *CmdMoins = nullptr;
    QComboBox *ComboNumFichier = nullptr; // keys are discarded: pick from the list
    QPushButton *CmdPlus = nullptr;
    QPushButton *CmdFin = nullptr;
    QLabel *LbCompteRepliques = nullptr;
    QToolButton *CmdLecture = nullptr;
    QToolButton *CmdStopLecture = nullptr;
    QToolButton *CmdDelVox = nullptr;
    QSlider *Slider1 = nullptr; // progress only; takes no mouse input
    QLabel *LbEgrene = nullptr;
    QToolButton *CmdEcouteGlobalScene = nullptr;
    QToolButton *CmdStopEcouteScene = nullptr;
    QToolButton *CmdRecordShow = nullptr;
    QToolButton *CmdNoteExiste = nullptr;
    QToolButton *CmdPhotoExiste = nullptr;

    // Rehearsal panel, shown in place of the reply panel.
    QFrame *PictRepetition = nullptr;
    QFrame *FrameRepetition = nullptr;
    QPushButton *CmdDemarRepetition = nullptr;
    QPushButton *CmdContinuerRepetition = nullptr; // same place as CmdDemarRepetition
    QCheckBox *CheckJuskaFinRepetition = nullptr;
    QComboBox *ComboNumFichierRepetition = nullptr;
    QLabel *LbNumRepliqueRepetition = nullptr;
    QPushButton *CmdStopGlobalRepetition = nullptr;
    QPushButton *CmdEcouter = nullptr;
    QPushButton *CmdStopLectureRepetition = nullptr;
    QPushButton *CmdVoirTexte = nullptr;
    QSlider *Slider2 = nullptr; // progress only; takes no mouse input
    QLabel *LbEgreneRepetition = nullptr;
    // The rehearsal panel's keys, enabled while it is shown: Space Start or
    // Continue, Escape Stop (partner take, gap or prompt), P the prompt, R
    // reveal the text, N "Non Stop", E end of the rehearsal. Ctrl+R enters
    // the rehearsal at any time. The tool tips of the controls name them.
    QList<QShortcut *> rehearsalKeys;

    // Hidden state of the scene view, readable as texts.
    QLabel *LbIncrem = nullptr;      // index of the current reply, "0" when none
    QLabel *LbNumActe = nullptr;     // "ACT n" of the open scene
    QLabel *LbNumScene = nullptr;    // "SCENE m" of the open scene
    QPushButton *Command2 = nullptr; // the developer check of the play text; never shown

private:
    void setupToolBar(QWidget *form);
    void setupRehearsalBar(QWidget *form);
    void setupReplyPanel(QWidget *form);
    void setupRehearsalPanel(QWidget *form);
    void setupCover(QWidget *form);
    void setupRehearsalKeys(QWidget *form);
};

} // namespace tiradex
