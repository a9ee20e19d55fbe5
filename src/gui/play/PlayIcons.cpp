#include "gui/play/PlayIcons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

#include <functional>

namespace tiradex {

namespace {
using Painter = std::function<void(QPainter &)>;

// Renders a drawing made on a 32 x 32 grid at the usual icon sizes, so that
// the icon engine picks a crisp one for every device pixel ratio.
QIcon render(const Painter &paint)
{
    QIcon icon;
    for (int size : {16, 20, 24, 32, 40, 48, 64, 96}) {
        QPixmap pixmap(size, size);
        pixmap.fill(Qt::transparent);
        QPainter p(&pixmap);
        p.setRenderHint(QPainter::Antialiasing);
        p.scale(size / 32.0, size / 32.0);
        paint(p);
        p.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

const QColor Ink(0x33, 0x33, 0x33);

void closedBook(QPainter &p)
{
    p.setPen(QPen(Ink, 1.5));
    p.setBrush(QColor(0x8b, 0x1e, 0x2d)); // burgundy cover
    p.drawRoundedRect(QRectF(7, 3, 19, 26), 2, 2);
    p.setBrush(QColor(0x5c, 0x12, 0x1c)); // spine
    p.drawRect(QRectF(7, 3, 4, 26));
    p.setPen(QPen(QColor(0xe8, 0xc5, 0x6a), 1.5)); // title band
    p.drawLine(QPointF(14, 10), QPointF(23, 10));
    p.drawLine(QPointF(14, 14), QPointF(21, 14));
}

void openBook(QPainter &p)
{
    p.setPen(QPen(Ink, 1.5));
    p.setBrush(QColor(0xfb, 0xf6, 0xe4));
    QPainterPath left;
    left.moveTo(16, 8);
    left.cubicTo(12, 5, 6, 5, 2, 7);
    left.lineTo(2, 27);
    left.cubicTo(6, 25, 12, 25, 16, 28);
    left.closeSubpath();
    QPainterPath right;
    right.moveTo(16, 8);
    right.cubicTo(20, 5, 26, 5, 30, 7);
    right.lineTo(30, 27);
    right.cubicTo(26, 25, 20, 25, 16, 28);
    right.closeSubpath();
    p.drawPath(left);
    p.drawPath(right);
    p.setPen(QPen(QColor(0x1f, 0x5f, 0xa8), 1.2)); // lines of text
    for (int y = 12; y <= 21; y += 3) {
        p.drawLine(QPointF(5, y), QPointF(13, y));
        p.drawLine(QPointF(19, y), QPointF(27, y));
    }
}

void page(QPainter &p)
{
    p.setPen(QPen(Ink, 1.5));
    p.setBrush(Qt::white);
    QPainterPath sheet;
    sheet.moveTo(7, 3);
    sheet.lineTo(20, 3);
    sheet.lineTo(26, 9);
    sheet.lineTo(26, 29);
    sheet.lineTo(7, 29);
    sheet.closeSubpath();
    p.drawPath(sheet);
    p.drawPolyline(QList<QPointF>{{20, 3}, {20, 9}, {26, 9}});
    p.setPen(QPen(QColor(0x77, 0x77, 0x77), 1.2));
    for (int y = 13; y <= 25; y += 4)
        p.drawLine(QPointF(10, y), QPointF(23, y));
}

void dot(QPainter &p)
{
    p.setPen(QPen(QColor(0x80, 0, 0), 1.5));
    p.setBrush(QColor(0xd9, 0x1e, 0x1e));
    p.drawEllipse(QPointF(16, 16), 10, 10);
}
} // namespace

namespace PlayIcons {
QIcon treeImage(const QString &key)
{
    if (key == QLatin1String("kclose"))
        return render(closedBook);
    if (key == QLatin1String("kopen"))
        return render(openBook);
    if (key == QLatin1String("kfile"))
        return render(page);
    return QIcon();
}

QIcon openedSceneIcon()
{
    QIcon icon;
    const QIcon normal = treeImage(QStringLiteral("kfile"));
    const QIcon selected = treeImage(QStringLiteral("kopen"));
    for (const QSize &size : normal.availableSizes())
        icon.addPixmap(normal.pixmap(size), QIcon::Normal);
    for (const QSize &size : selected.availableSizes())
        icon.addPixmap(selected.pixmap(size), QIcon::Selected);
    return icon;
}

QIcon recordDot()
{
    return render(dot);
}
} // namespace PlayIcons

} // namespace tiradex
