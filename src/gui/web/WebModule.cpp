// The entry point of the web module, the one part of the program that links
// Qt WebEngine. The program loads the module only when the web window opens
// (gui/app/WebWindowLoader), so it starts without WebEngine.
#include "gui/web/frmBrowser.h"

#include <QQuickWindow>

namespace QtWebEngineCore {
// WebEngine's own start-up (shared OpenGL context for its compositor). A
// program that links WebEngine runs it when the application object is made;
// loaded later, the module runs it before its first window.
void initialize();
} // namespace QtWebEngineCore

namespace tiradex {

extern "C" Q_DECL_EXPORT QWidget *
tiradexCreateWebWindow(const QString &startAddress, const QString &searchAddress, QWidget *parent)
{
    static const bool started = [] {
        QQuickWindow::setGraphicsApi(QSGRendererInterface::OpenGLRhi);
        QtWebEngineCore::initialize();
        return true;
    }();
    Q_UNUSED(started);
    return new frmBrowser(startAddress, searchAddress, parent);
}

} // namespace tiradex
