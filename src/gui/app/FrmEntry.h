#pragma once

#include <QAction>
#include <QList>
#include <QPointer>
#include <QWidget>

class QLabel;
class QProgressBar;
class QTimer;

namespace tiradex {

// The start-up window: the program's name, version and maker over a progress
// bar that fills in about two seconds. It closes itself after about three
// seconds; while it is open the frame's menu entries handed to it are
// disabled, and they are enabled again when it closes.
class FrmEntry : public QWidget
{
    Q_OBJECT

public:
    static constexpr int ProgressMaximum = 10000;
    static constexpr int ProgressStep = 100;
    static constexpr int SecondsShown = 3;

    // Disables `lockedEntries` and starts both timers.
    explicit FrmEntry(const QList<QAction *> &lockedEntries, QWidget *parent = nullptr);

    QLabel *Label3 = nullptr;   // "Tiradex"
    QLabel *Label2 = nullptr;   // "Version 1.00"
    QLabel *Label1 = nullptr;   // "  Halvenor"
    QLabel *LbCompte = nullptr; // seconds shown so far, hidden
    QProgressBar *ProgBar = nullptr;
    QTimer *Timer1 = nullptr; // 1000 ms: counts the seconds
    QTimer *Timer2 = nullptr; // 18 ms: moves the progress bar

public Q_SLOTS:
    // One second more; the window closes itself at the third.
    void Timer1Tick();
    // The progress bar takes the step counter's value (values beyond the
    // maximum are ignored), then the counter moves on by one step.
    void Timer2Tick();

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    QList<QPointer<QAction>> m_lockedEntries;
    int m_step = 0;
};

} // namespace tiradex
