#include "app/MDIMain.h"

#include "QtDialogs.h"
#include "app/Module1.h"
#include "app/ShippedData.h"
#include "audio/QtSoundSystem.h"

#include <QApplication>
#include <QScreen>
#include <QStandardPaths>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tiradex"));
    QApplication::setApplicationDisplayName(QStringLiteral("Tiradex"));

    Module1 state;
    QtDialogs dialogs;
    QtSoundSystem sound;
    MDIMain frame(state, dialogs);
    frame.setSoundSystem(&sound);
    frame.Load(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation),
               FindShippedDataFolder(QCoreApplication::applicationDirPath()));
    if (const QScreen *screen = frame.screen())
        frame.resize(screen->availableSize());
    frame.showMaximized();
    return app.exec();
}
