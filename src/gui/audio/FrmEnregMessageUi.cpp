#include "gui/audio/FrmEnregMessageUi.h"

#include "gui/audio/ScopeBox.h"
#include "gui/audio/SelectionSlider.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QTimer>

namespace tiradex {

namespace {
// Positions and sizes are given in twips, as the window was drawn.
int px(int twips)
{
    return twips / 15;
}

QRect twipRect(int x, int y, int w, int h)
{
    return QRect(px(x), px(y), px(w), px(h));
}

template <class T> T *named(T *widget, const char *name)
{
    widget->setObjectName(QLatin1String(name));
    return widget;
}

QPushButton *button(QWidget *parent, const char *name, const QString &caption, const QRect &place)
{
    auto *b = named(new QPushButton(caption, parent), name);
    b->setGeometry(place);
    return b;
}
} // namespace

void FrmEnregMessageUi::setupUi(QWidget *form)
{
    form->setObjectName(QStringLiteral("FrmEnregMessage"));
    form->setWindowTitle(QStringLiteral("Enregistrement"));
    form->setFixedSize(px(8775), px(2475));

    FrameEnreg = named(new QGroupBox(QStringLiteral("Recording "), form), "FrameEnreg");
    FrameEnreg->setGeometry(twipRect(60, 60, 8655, 2355));
    PictEnreg = named(new QFrame(FrameEnreg), "PictEnreg");
    PictEnreg->setGeometry(twipRect(180, 240, 8355, 2055));

    Slider1 = named(new SelectionSlider(PictEnreg), "Slider1");
    Slider1->setGeometry(twipRect(60, 60, 8175, 315));

    CmdRecord =
        button(PictEnreg, "CmdRecord", QStringLiteral("Record"), twipRect(60, 480, 1995, 315));
    cmdResumeRec =
        button(PictEnreg, "cmdResumeRec", QStringLiteral("Resume"), twipRect(60, 840, 1995, 315));
    cmdDelWave =
        button(PictEnreg, "cmdDelWave", QStringLiteral("Delete"), twipRect(60, 1200, 1995, 315));
    CmdCancel =
        button(PictEnreg, "CmdCancel", QStringLiteral("Cancel"), twipRect(60, 1560, 1995, 315));
    CmdPauseRec =
        button(PictEnreg, "CmdPauseRec", QStringLiteral("Pause"), twipRect(2160, 480, 1995, 315));
    cmdStopRecord =
        button(PictEnreg, "cmdStopRecord", QStringLiteral("Stop"), twipRect(4260, 480, 1935, 315));
    scopeBox = named(new ScopeBox(PictEnreg), "scopeBox");
    scopeBox->setGeometry(twipRect(2160, 900, 4035, 675));
    CheckDiagramme = named(new QCheckBox(QStringLiteral("Scope"), PictEnreg), "CheckDiagramme");
    CheckDiagramme->setGeometry(twipRect(3780, 1560, 1395, 315));
    CmdPlay = button(PictEnreg, "CmdPlay", QStringLiteral("Play"), twipRect(6300, 480, 1935, 315));
    cmdPause =
        button(PictEnreg, "cmdPause", QStringLiteral("Pause"), twipRect(6300, 840, 1935, 315));
    cmdResumePlay = button(PictEnreg, "cmdResumePlay", QStringLiteral("Resume"),
                           twipRect(6300, 1200, 1935, 315));
    CmdEnreg =
        button(PictEnreg, "CmdEnreg", QStringLiteral("Save"), twipRect(6300, 1560, 1935, 315));

    CmdStartVolume = button(form, "CmdStartVolume", QStringLiteral("Start"), QRect());
    CmdStartVolume->hide();
    CmdStopVolume = button(form, "CmdStopVolume", QStringLiteral("StopVolume"), QRect());
    CmdStopVolume->hide();
    lbSliderLen = named(new QLabel(QStringLiteral("1"), form), "lbSliderLen");
    lbSliderLen->hide();
    lbSliderValue = named(new QLabel(QStringLiteral("0"), form), "lbSliderValue");
    lbSliderValue->hide();

    TimerTempo = named(new QTimer(form), "TimerTempo");
    TimerTempo->setInterval(1000);
    Timer1 = named(new QTimer(form), "Timer1");
    Timer1->setInterval(300);

    // At opening only Record, Cancel and the scope box take clicks.
    for (QPushButton *b : {cmdResumeRec, cmdDelWave, CmdPauseRec, cmdStopRecord, CmdPlay, cmdPause,
                           cmdResumePlay, CmdEnreg})
        b->setEnabled(false);
}

} // namespace tiradex
