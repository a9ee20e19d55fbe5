#include "gui/annotations/PhotoFrame.h"

#include "core/annotations/PhotoFit.h"

#include <QEvent>
#include <QLabel>
#include <QScreen>

namespace tiradex {

double ScreenDpi(const QWidget *widget)
{
    const QScreen *screen = widget ? widget->screen() : nullptr;
    return screen ? screen->logicalDotsPerInch() : 96.0;
}

PhotoFrame::PhotoFrame(double sideTwips, const QColor &colour, QWidget *parent)
    : QWidget(parent), m_sideTwips(sideTwips)
{
    setObjectName(QStringLiteral("Image1"));
    setAutoFillBackground(true);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, colour);
    setPalette(palette);
    const int side = qRound(TwipsToPixels(sideTwips, ScreenDpi(parent)));
    setFixedSize(side, side);
    Dessin1 = new QLabel(this);
    Dessin1->setObjectName(QStringLiteral("Dessin1"));
    Dessin1->setScaledContents(true);
    Dessin1->setCursor(Qt::PointingHandCursor);
    Dessin1->installEventFilter(this);
    clearPicture();
}

void PhotoFrame::showPicture(const QImage &picture)
{
    const double dpi = ScreenDpi(this);
    const QSizeF natural(PixelsToTwips(picture.width(), dpi), PixelsToTwips(picture.height(), dpi));
    const QSizeF box(m_sideTwips, m_sideTwips);
    const QSizeF fitted = FitBySteps(natural, box);
    const QPointF corner = CentreIn(fitted, box);
    const QRect place(qRound(TwipsToPixels(corner.x(), dpi)),
                      qRound(TwipsToPixels(corner.y(), dpi)),
                      qMax(1, qRound(TwipsToPixels(fitted.width(), dpi))),
                      qMax(1, qRound(TwipsToPixels(fitted.height(), dpi))));
    // Scaled once here rather than at every paint.
    Dessin1->setPixmap(QPixmap::fromImage(
        picture.scaled(place.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation)));
    Dessin1->setGeometry(place);
    Dessin1->show();
}

void PhotoFrame::clearPicture()
{
    Dessin1->hide();
    Dessin1->clear();
    Dessin1->setGeometry(rect());
}

bool PhotoFrame::hasPicture() const
{
    return !Dessin1->isHidden();
}

bool PhotoFrame::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == Dessin1 && event->type() == QEvent::MouseButtonRelease) {
        Q_EMIT clicked();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace tiradex
