#pragma once

// The play window of a test play with the fake disk space, and the export or
// import window opened from its button.

#include "FakeDiskSpace.h"
#include "PlayWindowFixture.h"
#include "gui/transfer/TransferWindow.h"

#include <QApplication>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>

namespace tiradex {

class TransferFixture : public PlayWindowFixture
{
public:
    FakeDiskSpace disk;

    // HUBERT and ARTHUR speak the `replies` replies of act 1 scene 1 in turn.
    void setUpPlay(int replies)
    {
        setUp({Hubert, Arthur}, {TestPlay::numberedScene(1, 1, 1, replies, {Hubert, Arthur})});
        openWindow();
        PlatformServices services;
        services.sound = &sound;
        services.diskSpace = &disk;
        play->setServices(services);
    }

    // Clicks the play window's button `button`; the window of type W it opens.
    template <class W> W *open(const char *button)
    {
        Click(play.get(), button);
        W *window = ShownWindow<W>();
        if (!window)
            qFatal("the transfer window did not open");
        return window;
    }
};

// Watches a transfer window while its transfer runs, from the progress
// bar's changes: what the user could see and do at those moments.
class TransferWatch : public QObject
{
public:
    explicit TransferWatch(TransferWindow *window) : m_window(window)
    {
        QObject::connect(window->ProgBar, &QProgressBar::valueChanged, this, [this](int value) {
            values.append(value);
            maximum = m_window->ProgBar->maximum();
            duringTransfer =
                duringTransfer && m_window->isTransferring() &&
                !m_window->CmdTransfer->isEnabled() && !m_window->ListPersonnages->isEnabled() &&
                m_window->PictDiskFreeSpace->isVisible() && QApplication::overrideCursor() &&
                !m_window->close(); // refused while it runs
        });
        window->ProgBar->installEventFilter(this);
    }

    QList<int> values;
    int maximum = 0;
    bool duringTransfer = true;
    int paints = 0;

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        paints += event->type() == QEvent::Paint && m_window->isTransferring();
        return false;
    }

private:
    TransferWindow *m_window;
};

} // namespace tiradex
