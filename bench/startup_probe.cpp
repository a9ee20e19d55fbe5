// Start-up probe: builds the program's object graph as main.cpp does, then
// prints when the frame window first painted and how long opening "The
// merchant of Venice ..." took until its act/scene tree painted. Run by
// bench/startup.sh; every time is CLOCK_REALTIME in nanoseconds so that the
// script can measure from before the process was started.

#include "gui/app/MDIMain.h"
#include "gui/play/FrmAvare.h"

#include "core/app/Module1.h"
#include "core/app/PlayCatalogue.h"
#include "core/app/ShippedData.h"
#include "platform/QtDialogs.h"

#ifdef TIRADEX_PROBE_LINK_WEB
#include "gui/web/frmBrowser.h"
#endif

#include <QApplication>
#include <QEvent>
#include <QScreen>
#include <QStandardPaths>
#include <QTimer>
#include <QTreeWidget>

#include <chrono>
#include <cstdio>
#include <functional>

using namespace tiradex;

namespace {
long long nowNs()
{
    using namespace std::chrono;
    return duration_cast<nanoseconds>(system_clock::now().time_since_epoch()).count();
}

// Runs `then` once, after the first paint of `widget` has been handled.
class FirstPaint : public QObject
{
public:
    FirstPaint(QWidget *widget, std::function<void()> then)
        : QObject(widget), m_then(std::move(then))
    {
        widget->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint && m_then) {
            watched->removeEventFilter(this);
            // The paint itself runs after this filter; measure once it is done.
            QTimer::singleShot(0, this, [this] {
                auto then = std::move(m_then);
                m_then = nullptr;
                then();
            });
        }
        return false;
    }

private:
    std::function<void()> m_then;
};
} // namespace

int main(int argc, char *argv[])
{
#ifdef TIRADEX_PROBE_LINK_WEB
    // Keeps the web window, and with it WebEngine, in the link.
    if (argc > 99)
        delete new frmBrowser(QString(), QString());
#endif
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tiradex"));

    Module1 state;
    QtDialogs dialogs;
    MDIMain frame(state, dialogs);
    frame.Load(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation),
               FindShippedDataFolder(QCoreApplication::applicationDirPath()));
    if (const QScreen *screen = frame.screen())
        frame.resize(screen->availableSize());

    long long playRequested = 0;
    auto playShown = [&] {
        const long long shown = nowNs();
        std::printf("play_shown_ns %lld\nplay_open_ns %lld\n", shown, shown - playRequested);
        std::fflush(stdout);
        QCoreApplication::exit(0);
    };
    auto openPlay = [&] {
        playRequested = nowNs();
        frame.SelectPlay(PlayCatalogue().at(0));
        FrmAvare *play = frame.playWindow();
        auto *tree = play ? play->findChild<QTreeWidget *>(QStringLiteral("TreeView1")) : nullptr;
        if (!tree || tree->topLevelItemCount() == 0) {
            std::fprintf(stderr, "the play did not open with its tree\n");
            QCoreApplication::exit(1);
            return;
        }
        new FirstPaint(tree->viewport(), playShown);
    };
    new FirstPaint(&frame, [&] {
        std::printf("frame_shown_ns %lld\n", nowNs());
        std::fflush(stdout);
        QTimer::singleShot(0, &frame, openPlay);
    });
    frame.showMaximized();
    return app.exec();
}
