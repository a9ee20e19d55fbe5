#include "gui/app/MDIMain.h"

#include "core/app/Module1.h"
#include "core/app/ShippedData.h"
#include "platform/QtClipboard.h"
#include "platform/QtDialogs.h"
#include "platform/QtDiskSpace.h"
#include "platform/audio/QtSoundSystem.h"
#include "platform/speech/FliteSynthesizer.h"

#include <QApplication>
#include <QScreen>
#include <QStandardPaths>

namespace tiradex {

} // namespace tiradex

using namespace tiradex;

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tiradex"));
    QApplication::setApplicationDisplayName(QStringLiteral("Tiradex"));

    Module1 state;
    QtDialogs dialogs;
    QtSoundSystem sound;
    QtClipboard clipboard;
    QtDiskSpace diskSpace;
    FliteSynthesizer speech;
    MDIMain frame(state, dialogs);
    PlatformServices services;
    services.sound = &sound;
    services.clipboard = &clipboard;
    services.diskSpace = &diskSpace;
    services.speech = &speech;
    frame.setServices(services);
    frame.Load(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation),
               FindShippedDataFolder(QCoreApplication::applicationDirPath()));
    if (const QScreen *screen = frame.screen())
        frame.resize(screen->availableSize());
    frame.showMaximized();
    return app.exec();
}
