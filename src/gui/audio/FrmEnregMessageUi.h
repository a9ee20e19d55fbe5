#pragma once

class QCheckBox;
class QGroupBox;
class QFrame;
class QLabel;
class QPushButton;
class QTimer;
class QWidget;

namespace tiradex {

class ScopeBox;
class SelectionSlider;

// The controls of the recorder window and their arrangement, kept apart
// from its behaviour. Every control carries its name as its object name.
//
// Arrangement (inner area 585 x 165 pixels, from 8775 x 2475 twips at 15
// twips a pixel): the frame "Recording " holds a panel whose top row is the
// position slider; below it a left column Record, Resume, Delete, Cancel; in
// the middle Pause and Stop over the scope with its "Scope" box; a right
// column Play, Pause, Resume, Save.
class FrmEnregMessageUi
{
public:
    // Creates every control as a child of `form` in its state at opening.
    void setupUi(QWidget *form);

    QGroupBox *FrameEnreg = nullptr;
    QFrame *PictEnreg = nullptr;
    SelectionSlider *Slider1 = nullptr;
    QPushButton *CmdRecord = nullptr;
    QPushButton *cmdResumeRec = nullptr;
    QPushButton *cmdDelWave = nullptr;
    QPushButton *CmdCancel = nullptr;
    QPushButton *CmdPauseRec = nullptr;
    QPushButton *cmdStopRecord = nullptr;
    ScopeBox *scopeBox = nullptr;
    QCheckBox *CheckDiagramme = nullptr;
    QPushButton *CmdPlay = nullptr;
    QPushButton *cmdPause = nullptr;
    QPushButton *cmdResumePlay = nullptr;
    QPushButton *CmdEnreg = nullptr;
    QTimer *TimerTempo = nullptr;          // 1000 ms, off: finishes a take
    QTimer *Timer1 = nullptr;              // 300 ms, off: refreshes the scope
    QPushButton *CmdStartVolume = nullptr; // hidden
    QPushButton *CmdStopVolume = nullptr;  // hidden
    QLabel *lbSliderLen = nullptr;         // hidden, "1": the length factor
    QLabel *lbSliderValue = nullptr;       // hidden, "0"
};

} // namespace tiradex
