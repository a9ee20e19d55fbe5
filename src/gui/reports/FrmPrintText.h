#pragma once

#include "core/reports/SceneText.h"
#include "platform/PlatformServices.h"

#include <QWidget>

class QCheckBox;
class QLabel;
class QListWidget;
class QPushButton;
class QTextEdit;

namespace tiradex {

class Module1;
class PlayWindowHost;

// What the scene and act text windows share: the text with its name lines
// in bold, the characters list whose selected names "Apply the selection"
// marks in red, "Replies numbers", and the copy to the clipboard. The two
// windows differ only in the scenes they put together.
class FrmPrintText : public QWidget
{
    Q_OBJECT

public:
    QTextEdit *RichTextBox1 = nullptr;
    QListWidget *ListPersonnages = nullptr;
    QCheckBox *CheckNumReplique = nullptr;
    QPushButton *CmdSelect = nullptr;
    QPushButton *CmdClipBoard = nullptr;
    QWidget *Picture1 = nullptr;
    QLabel *LbNumActe = nullptr;
    QLabel *LbNumScene = nullptr;
    QLabel *LbEntete = nullptr;

    // The text shown now with its marks.
    const MarkedText &shownText() const { return m_shown; }

public Q_SLOTS:
    // Rebuilds the text (reply numbers as ticked) and marks the selected
    // characters' name lines.
    void CmdSelectClick();
    void CmdClipBoardClick();

protected:
    FrmPrintText(Module1 &state, const PlatformServices &services, PlayWindowHost &host,
                 QWidget *parent);
    // Builds the text for `options`; called by the subclass once it is set up.
    virtual MarkedText assemble(const SceneTextOptions &options) const = 0;
    // Fills the list and shows the text with no character selected.
    void Form_Load();

    Module1 &m_state;

private:
    void showText(const MarkedText &text);

    PlatformServices m_services;
    PlayWindowHost &m_host;
    MarkedText m_shown;
};

// The text of the open scene.
class FrmPrintScene : public FrmPrintText
{
    Q_OBJECT

public:
    FrmPrintScene(Module1 &state, const PlatformServices &services, PlayWindowHost &host, int act,
                  int scene, QWidget *parent = nullptr);

protected:
    MarkedText assemble(const SceneTextOptions &options) const override;

private:
    int m_act;
    int m_scene;
};

// The text of the act holding the open scene.
class FrmPrintActe : public FrmPrintText
{
    Q_OBJECT

public:
    FrmPrintActe(Module1 &state, const PlatformServices &services, PlayWindowHost &host, int act,
                 QWidget *parent = nullptr);

protected:
    MarkedText assemble(const SceneTextOptions &options) const override;

private:
    int m_act;
};

} // namespace tiradex
