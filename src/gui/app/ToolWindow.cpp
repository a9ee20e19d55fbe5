#include "gui/app/ToolWindow.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QWidget>

namespace tiradex {

QWidget *ShowToolWindow(QWidget *owner, QWidget *window, const QSize &size)
{
    window->setAttribute(Qt::WA_DeleteOnClose);
    QMdiArea *area = nullptr;
    for (QWidget *w = owner; w && !area; w = w->parentWidget())
        area = qobject_cast<QMdiArea *>(w);
    if (area) {
        QMdiSubWindow *sub = area->addSubWindow(window);
        sub->setAttribute(Qt::WA_DeleteOnClose);
        sub->resize(size);
        // Centred over the area, like a dialog over its owner.
        const QSize room = area->viewport()->size();
        sub->move(qMax(0, (room.width() - sub->width()) / 2),
                  qMax(0, (room.height() - sub->height()) / 2));
        sub->show();
        sub->setFocus();
        window->setFocus();
        return sub;
    }
    // A window of its own must not be the owner's child: disabling the owner
    // would disable it as well.
    QObject::connect(owner, &QObject::destroyed, window, [window] { delete window; });
    window->resize(size);
    window->show();
    window->activateWindow();
    return window;
}

} // namespace tiradex
