#pragma once

#include "platform/PlatformServices.h"

#include <QWidget>

class QPushButton;
class QTextEdit;

namespace tiradex {

class Module1;
class PlayWindowHost;

// The statistics window ("Statistiques"): the reply counts of the open play
// per scene and per character, built when the window opens from the
// play's "stat.txt" (counted and written first when missing).
class FrmStats : public QWidget
{
    Q_OBJECT

public:
    FrmStats(Module1 &state, const PlatformServices &services, PlayWindowHost &host,
             QWidget *parent = nullptr);

    QTextEdit *RichTextBox1 = nullptr;
    QWidget *Picture1 = nullptr;
    QPushButton *CmdClipBoard = nullptr;

public Q_SLOTS:
    void CmdClipBoardClick();

private:
    void Form_Load();

    Module1 &m_state;
    PlatformServices m_services;
    PlayWindowHost &m_host;
};

} // namespace tiradex
