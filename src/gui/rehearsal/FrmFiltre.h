#pragma once

#include "platform/PlatformServices.h"

#include <QWidget>

class QCheckBox;
class QComboBox;
class QLabel;
class QListWidget;
class QListWidgetItem;
class QPushButton;

namespace tiradex {

class Module1;
class PlayWindowHost;

// The filter window: names the character the actor plays. The play window
// opens it with the rule that disables the play window while it is open, as
// a dialog would; closing it keeps the filter. A double click on a character
// (or Return on it) sets or replaces the filter; "Suppress the filter" clears
// it. Every change shows at once on the play window's reply: record button
// and colour of the character's name. Where speech synthesis works, the
// window also offers "Voices for missing replies" and the voice of the
// selected character, both kept in the play's settings file.
class FrmFiltre : public QWidget
{
    Q_OBJECT

public:
    FrmFiltre(Module1 &state, const PlatformServices &services, PlayWindowHost &play,
              QWidget *parent = nullptr);

    // The window's size in a frame window whose window area has the size `frame`.
    static QSize SizeInFrame(const QSize &frame);

    QLabel *Label1 = nullptr;
    QLabel *LbFiltre = nullptr;
    QListWidget *LstFiltre = nullptr;
    QPushButton *CmdDelFiltre = nullptr;
    // Synthetic voices, shown when the machine can speak: whether replies
    // nobody recorded are spoken, and the voice of the selected character.
    QCheckBox *ChkVoixFiltre = nullptr;
    QComboBox *ComboVoix = nullptr;

public Q_SLOTS:
    // Makes the character of `item` the filter; nothing for no item.
    void LstFiltreDblClick(QListWidgetItem *item);
    void CmdDelFiltreClick();

private:
    void Form_Load();
    void showVoice();
    // Changes the play's settings file by `change`, keeping the rest of it.
    template <typename Change> void changeSettings(Change change);

    Module1 &m_state;
    PlatformServices m_services;
    PlayWindowHost &m_play;
};

} // namespace tiradex
