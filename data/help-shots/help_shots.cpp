// Saves pictures of the program's windows as PNG files, for the help page
// and for reviewing the "?" windows:
//   tiradex-help-shots help FOLDER             scene.png, recorder.png, rehearsal.png
//   tiradex-help-shots shell FOLDER URL HELP   about.png, helpnote.png, web.png, helppage.png
// The program's data folder is the one of the environment (XDG_DATA_HOME);
// the plays must be built.

#include "gui/app/FrmAbout.h"
#include "gui/app/FrmEntry.h"
#include "gui/app/MDIMain.h"
#include "gui/app/WebWindowLoader.h"
#include "gui/play/FrmAvare.h"

#include "core/app/AppTexts.h"
#include "core/app/Module1.h"
#include "core/app/PlayCatalogue.h"
#include "core/app/ShippedData.h"
#include "platform/PlatformServices.h"

#include "FakeClipboard.h"
#include "FakeDialogs.h"
#include "VirtualSoundSystem.h"
#include "WidgetDriver.h"

#include <QApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QScreen>
#include <QStandardPaths>
#include <QTest>

#include <cstdio>

using namespace tiradex;

namespace {

bool save(QWidget *widget, const QString &file)
{
    QCoreApplication::processEvents();
    QTest::qWait(300);
    const bool ok = widget->grab().save(file);
    std::printf("%s %s\n", ok ? "saved" : "FAILED", qPrintable(file));
    return ok;
}

// Waits until the web window's caption is its page title.
bool loaded(QWidget *web)
{
    return QTest::qWaitFor(
        [web] {
            return !web->windowTitle().isEmpty() && web->windowTitle() != AppTexts::loading();
        },
        30000);
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tiradex"));
    const QStringList args = QCoreApplication::arguments();
    if (args.size() < 3) {
        std::fprintf(stderr, "usage: tiradex-help-shots help|shell FOLDER [URL HELPPAGE]\n");
        return 2;
    }
    const QString mode = args.at(1);
    const QString out = args.at(2) + QLatin1Char('/');

    Module1 state;
    FakeDialogs dialogs;
    FakeClipboard clipboard;
    VirtualSoundSystem sound;
    MDIMain frame(state, dialogs);
    PlatformServices services;
    services.sound = &sound;
    services.clipboard = &clipboard;
    frame.setServices(services);
    frame.Load(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation),
               FindShippedDataFolder(QCoreApplication::applicationDirPath()));
    frame.resize(1100, 720);
    frame.show();
    if (!QTest::qWaitForWindowExposed(&frame))
        return 1;
    if (FrmEntry *splash = frame.startUpWindow())
        splash->close();
    bool ok = true;

    if (mode == QLatin1String("help")) {
        frame.SelectPlay(PlayCatalogue().at(0));
        FrmAvare *play = frame.playWindow();
        if (!play)
            return 1;
        auto *tree = Control<QTreeWidget>(play, "TreeView1");
        ClickNode(tree, TreeNode(tree, QStringLiteral("ACT 1"), QStringLiteral("SCENE 1")));
        ok &= save(&frame, out + QStringLiteral("scene.png"));
        Click(play, "CmdRecordShow");
        QMdiSubWindow *recorder = frame.mdiArea()->activeSubWindow();
        ok &= recorder && recorder != frame.playSubWindow() &&
              save(&frame, out + QStringLiteral("recorder.png"));
    } else if (mode == QLatin1String("shell") && args.size() >= 5) {
        frame.mnuabout->trigger();
        auto *about = frame.findChild<FrmAbout *>();
        ok &= about && save(about, out + QStringLiteral("about.png"));
        if (about)
            about->close();
        frame.mnuaide->trigger();
        ok &= save(&frame, out + QStringLiteral("helpnote.png"));
        for (QMdiSubWindow *sub : frame.mdiArea()->subWindowList())
            sub->close();

        const WebWindowLoader loader(QCoreApplication::applicationDirPath());
        for (const auto &[address, name] : {std::pair{args.at(3), QStringLiteral("web.png")},
                                            std::pair{QUrl::fromLocalFile(args.at(4)).toString(),
                                                      QStringLiteral("helppage.png")}}) {
            dialogs.answers = {Dialogs::Answer::Yes};
            frame.setWebWindowFactory([&loader, address = address](QWidget *parent) {
                QString error;
                QWidget *web = loader.create(address, address, parent, &error);
                if (!web)
                    std::fprintf(stderr, "%s\n", qPrintable(error));
                return web;
            });
            frame.mnuweb->trigger();
            QMdiSubWindow *web = frame.mdiArea()->activeSubWindow();
            ok &= web && loaded(web->widget()) && save(&frame, out + name);
            if (web)
                web->close();
        }
    } else {
        std::fprintf(stderr, "unknown mode %s\n", qPrintable(mode));
        return 2;
    }
    return ok ? 0 : 1;
}
